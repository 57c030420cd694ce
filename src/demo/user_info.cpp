#include "demo/user_info.h"

#include <optional>
#include <string_view>
#include <vector>

#include "demo/display_text.h"
#include "text/text_lines.h"
#include "text/user_text.h"

namespace rw {
namespace {

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
    lines = SplitLines(UserTextOfFile(*text));
  } else {
    messages.Show("RWT Load File Error", "Parsing.GetUserInfo: " + path, MessageIcon::kError);
  }
  info.POV = StripColors(LineValue(lines, 0), TextForm::kUtf8);
  info.Rating = LineValue(lines, 1);
  info.Web = LineValue(lines, 2);
  info.Description = LineValue(lines, 3);
  return info;
}

}  // namespace rw
