#include "demo/info_text.h"

#include "text/windows_1252.h"

namespace rw {
namespace {

// Walks the key and value items of an info text. A value counts only when a backslash ends
// it, so the last value of a text without a final backslash reads as empty.
template <typename KeyEquals>
bool FindItem(std::string_view text, KeyEquals keyEquals, std::string_view& value) {
  size_t pos = (!text.empty() && text.front() == '\\') ? 1 : 0;
  while (pos <= text.size()) {
    const size_t keyEnd = text.find('\\', pos);
    if (keyEnd == std::string_view::npos) return false;
    const std::string_view key = text.substr(pos, keyEnd - pos);
    const size_t valueEnd = text.find('\\', keyEnd + 1);
    if (keyEquals(key)) {
      value = valueEnd == std::string_view::npos ? std::string_view()
                                                 : text.substr(keyEnd + 1, valueEnd - keyEnd - 1);
      return true;
    }
    if (valueEnd == std::string_view::npos) return false;
    pos = valueEnd + 1;
  }
  return false;
}

}  // namespace

std::string GetInfoValueFrom(std::string_view key, std::string_view info) {
  std::string_view value;
  const bool found = FindItem(
      info, [key](std::string_view item) { return EqualsIgnoringAnsiCase(item, key); }, value);
  return found ? std::string(value) : std::string("N/A");
}

std::string ServerProtocolFrom(std::string_view info) {
  std::string protocol = GetInfoValueFrom("protocol", info);
  return protocol == "N/A" ? GetInfoValueFrom("com_protocol", info) : protocol;
}

std::string GetPlayerValue(std::string_view playerString, std::string_view key) {
  // The string is wrapped in backslashes first, so its last value counts too.
  const std::string wrapped = "\\" + std::string(playerString) + "\\";
  std::string_view value;
  const bool found = FindItem(
      wrapped, [key](std::string_view item) { return item == key; }, value);
  return found ? std::string(value) : std::string();
}

}  // namespace rw
