#pragma once

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "library/scan_sources.h"

namespace rw {

// One demo a scan has to read: a file, or a member of archive.
struct DemoToRead {
  std::string path;
  std::string archive;
};

// Reads the demos of one scan on worker threads, each with a reader of its own, taking them in
// order, and hands each read over to the scan's thread when it asks for it.
class ScanWorkers {
 public:
  // At most threads workers, each with a reader from sources; none when sources gives none.
  ScanWorkers(ScanSources& sources, std::vector<DemoToRead> demos, size_t threads);
  // No demo is started after this; the ones being read are waited for.
  ~ScanWorkers();
  ScanWorkers(const ScanWorkers&) = delete;
  ScanWorkers& operator=(const ScanWorkers&) = delete;

  bool running() const { return !threads_.empty(); }
  // The read of demos[index]. While it is not done, keepWaiting is called about every 50 ms on
  // the calling thread; when it returns false, nothing is handed over.
  std::optional<DemoRead> Take(size_t index, const std::function<bool()>& keepWaiting);

 private:
  void Work(WorkerReader& reader);

  const std::vector<DemoToRead> demos_;
  std::vector<std::optional<DemoRead>> reads_;
  std::vector<std::unique_ptr<WorkerReader>> readers_;
  std::mutex lock_;
  std::condition_variable readDone_;
  size_t next_ = 0;
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace rw
