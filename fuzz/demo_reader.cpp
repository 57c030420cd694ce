// GetFromDemo over arbitrary bytes. The bytes are served as the demo file through the file
// system seam, so no input touches the disk.
#include <cstddef>
#include <cstdint>
#include <string>

#include "demo/demo_reader.h"
#include "host/posix/posix_file_system.h"

namespace {

class DroppedMessages : public rw::Messages {
 public:
  rw::MessageAnswer Show(std::string_view, std::string_view, rw::MessageIcon,
                         rw::MessageButtons) override {
    ++shown;
    return rw::MessageAnswer::kOk;
  }
  std::optional<std::string> Ask(std::string_view, std::string_view, std::string_view) override {
    return std::nullopt;
  }
  std::optional<std::string> ChooseFolder(std::string_view, std::string_view) override {
    return std::nullopt;
  }
  int shown = 0;
};

class OneFile : public rw::PosixFileSystem {
 public:
  std::optional<std::string> ReadFile(const std::string&) override { return bytes; }
  std::optional<uint32_t> ModifiedDosTime(const std::string&) override { return 0x2A634B4Au; }
  std::string bytes;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static DroppedMessages messages;
  static rw::FixedLocale locale;
  static rw::AppState appState;
  static OneFile files;
  static rw::DemoReader reader(messages, locale, appState, files);

  files.bytes.assign(reinterpret_cast<const char*>(data), size);
  messages.shown = 0;
  const std::string result = reader.GetFromDemo("fuzz.dm3", "", true);
  if (result != "0" && result != "1") __builtin_trap();
  if (messages.shown > 1 || (messages.shown == 1 && result != "0")) __builtin_trap();
  if (reader.State().Players.size() > 64) __builtin_trap();
  // Every log line comes from at least one byte of the demo, a few fixed lines aside.
  if (reader.State().MatchLog.size() > size + 4) __builtin_trap();
  return 0;
}
