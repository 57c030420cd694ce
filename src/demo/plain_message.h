#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "demo/read_session.h"

namespace rw {

// The operations of a message of plain bytes (protocols up to 48): every operation starts on a
// byte, integers are little-endian, texts end with a NUL. Reads stay before the message's end
// and throw ParsingError{field} past it.
class PlainMessage {
 public:
  // A message in session.block from start to end; the header of the session's protocol is
  // skipped.
  PlainMessage(const ReadSession& session, size_t start, size_t end);

  // Operation 8 is not an end of message here but an unknown operation.
  static constexpr bool kEndOperation = false;

  bool HasMore() const { return pos_ < end_; }
  uint8_t Byte(const char* field);
  uint16_t Short(const char* field);
  uint32_t Long(const char* field);
  // Passes over 4 bytes unread; a read after them finds the end.
  void SkipLong(const char*) { pos_ += 4; }
  // The text up to its NUL, which is passed over.
  std::string_view Text(const char* field);
  std::string_view CommandText(uint32_t, bool, const char* field) { return Text(field); }
  // A snapshot's server time, after the bytes the protocol puts before it.
  uint32_t ServerTime(const char* field);

 private:
  std::string_view block_;
  size_t pos_;
  size_t end_;
  int snapshotTimeSkip_;
};

}  // namespace rw
