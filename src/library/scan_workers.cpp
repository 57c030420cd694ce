#include "library/scan_workers.h"

#include <algorithm>
#include <chrono>
#include <system_error>

namespace rw {

ScanWorkers::ScanWorkers(ScanSources& sources, std::vector<DemoToRead> demos, size_t threads)
    : demos_(std::move(demos)), reads_(demos_.size()) {
  for (size_t i = 0; i < std::min(threads, demos_.size()); ++i) {
    std::unique_ptr<WorkerReader> reader = sources.NewWorkerReader();
    if (!reader) break;
    readers_.push_back(std::move(reader));
  }
  for (const std::unique_ptr<WorkerReader>& reader : readers_) {
    try {
      threads_.emplace_back([this, worker = reader.get()] { Work(*worker); });
    } catch (const std::system_error&) {
      // The threads there are read every demo; with none, the scan's thread reads them.
      break;
    }
  }
}

ScanWorkers::~ScanWorkers() {
  {
    const std::lock_guard<std::mutex> hold(lock_);
    stopping_ = true;
  }
  for (std::thread& thread : threads_) thread.join();
}

void ScanWorkers::Work(WorkerReader& reader) {
  for (;;) {
    size_t index = 0;
    {
      const std::lock_guard<std::mutex> hold(lock_);
      if (stopping_ || next_ == demos_.size()) return;
      index = next_++;
    }
    DemoRead read = reader.Read(demos_[index].path, demos_[index].archive);
    {
      const std::lock_guard<std::mutex> hold(lock_);
      reads_[index] = std::move(read);
    }
    readDone_.notify_all();
  }
}

std::optional<DemoRead> ScanWorkers::Take(size_t index, const std::function<bool()>& keepWaiting) {
  constexpr auto kServeEvery = std::chrono::milliseconds(50);
  std::unique_lock<std::mutex> hold(lock_);
  auto serveAt = std::chrono::steady_clock::now() + kServeEvery;
  while (!reads_[index]) {
    // Other demos finishing meanwhile do not put the window's turn off.
    if (readDone_.wait_until(hold, serveAt) == std::cv_status::timeout) {
      // Served without the lock, so that the workers go on meanwhile.
      hold.unlock();
      const bool wait = keepWaiting();
      hold.lock();
      if (!wait) return std::nullopt;
      serveAt = std::chrono::steady_clock::now() + kServeEvery;
    }
  }
  std::optional<DemoRead> read = std::move(reads_[index]);
  reads_[index].reset();
  return read;
}

}  // namespace rw
