#include "playback/console_text.h"

namespace rw {
namespace {

bool IsControl(unsigned char c) {
  return c < 0x20 || c == 0x7f;
}

bool StartsComment(std::string_view text, std::size_t index) {
  return text[index] == '/' && index + 1 < text.size() &&
         (text[index + 1] == '/' || text[index + 1] == '*');
}

}  // namespace

bool IsConsoleWord(std::string_view text) {
  if (text.empty()) return false;
  for (std::size_t index = 0; index < text.size(); ++index) {
    const auto c = static_cast<unsigned char>(text[index]);
    if (c <= 0x20 || c >= 0x7f || c == '"' || c == ';' || StartsComment(text, index)) {
      return false;
    }
  }
  return true;
}

std::string ConsoleText(std::string_view text) {
  std::string kept;
  for (const char c : text) {
    if (!IsControl(static_cast<unsigned char>(c)) && c != '"' && c != ';') kept += c;
  }
  // Dropping a slash never joins two others: the one before it would have gone too.
  std::string shown;
  for (std::size_t index = 0; index < kept.size(); ++index) {
    if (!StartsComment(kept, index)) shown += kept[index];
  }
  return shown;
}

}  // namespace rw
