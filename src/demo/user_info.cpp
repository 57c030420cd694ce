#include "demo/user_info.h"

#include <optional>
#include <string_view>
#include <vector>

#include "demo/display_text.h"

namespace rw {
namespace {

// Lines end at a carriage return, a line feed or both; a final line break adds no line.
std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t i = 0;
  while (i < text.size()) {
    const size_t start = i;
    while (i < text.size() && text[i] != '\r' && text[i] != '\n') ++i;
    lines.emplace_back(text.substr(start, i - start));
    if (i < text.size() && text[i] == '\r') ++i;
    if (i < text.size() && text[i] == '\n') ++i;
  }
  return lines;
}

// The not-set marker of the file reads as an empty value.
std::string LineValue(const std::vector<std::string>& lines, size_t index) {
  if (index >= lines.size() || lines[index] == "\x01") return {};
  return lines[index];
}

}  // namespace

UserInfo GetUserInfo(FileSystem& files, const std::string& path, Messages& messages) {
  UserInfo info;
  if (!files.Exists(path)) return info;
  std::vector<std::string> lines;
  if (std::optional<std::string> text = files.ReadFile(path)) {
    lines = SplitLines(*text);
  } else {
    messages.Show("RWT Load File Error", "Parsing.GetUserInfo: " + path, MessageIcon::kError);
  }
  info.POV = StripColors(LineValue(lines, 0));
  info.Rating = LineValue(lines, 1);
  info.Web = LineValue(lines, 2);
  info.Description = LineValue(lines, 3);
  return info;
}

}  // namespace rw
