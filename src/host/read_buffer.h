#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

namespace rw {

// Storage for the bytes of one file or archive member at a time, kept for the next one and
// never cleared: a reader of many demos then allocates, and the system zero-fills, only for
// the largest of them.
class ReadBuffer {
 public:
  char* data() { return bytes_.get(); }
  size_t size() const { return size_; }
  size_t capacity() const { return capacity_; }
  std::string_view view() const { return {bytes_.get(), size_}; }

  // Room for at least capacity bytes, keeping the first size(); the bytes beyond are undefined.
  void Reserve(size_t capacity) {
    if (capacity <= capacity_) return;
    std::unique_ptr<char[]> larger(new char[capacity]);
    if (size_ > 0) std::memcpy(larger.get(), bytes_.get(), size_);
    bytes_ = std::move(larger);
    capacity_ = capacity;
  }
  // How many of the bytes hold data; at most capacity().
  void SetSize(size_t size) { size_ = size; }
  // Gives the memory back, when one large file should not keep it.
  void Release() {
    bytes_.reset();
    capacity_ = 0;
    size_ = 0;
  }

 private:
  std::unique_ptr<char[]> bytes_;
  size_t capacity_ = 0;
  size_t size_ = 0;
};

}  // namespace rw
