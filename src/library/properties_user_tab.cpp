#include "library/properties_user_tab.h"

#include <optional>
#include <vector>

#include "library/user_data.h"
#include "text/text_lines.h"
#include "text/user_text.h"

namespace rw {
namespace {

constexpr std::string_view kSamplePov = "^1S^2a^3m^4p^5l^6e ^7P^0l^1a^2y^3e^4r";
constexpr std::string_view kSampleRating = "666";
constexpr std::string_view kSampleDescription =
    "\r\nThis is a sample description.\r\n\r\nClick the 'Userdata' button to add your demo "
    "comments here.";

// An EMPTY line marks a value that is not set; it shows as nothing.
std::string Value(const std::vector<std::string>& lines, size_t index) {
  if (index >= lines.size() || lines[index] == kEmptyLine) return {};
  return lines[index];
}

UserTab Sample(const RandomBelow& random) {
  UserTab tab;
  tab.pov = kSamplePov;
  tab.rating = kSampleRating;
  tab.link = random(2) == 0 ? kSampleMailLink : kSampleWebLink;
  tab.description = kSampleDescription;
  tab.sample = true;
  return tab;
}

}  // namespace

UserTab LoadUserTab(FileSystem& files, Messages& messages, const std::string& path,
                    const RandomBelow& random) {
  if (!files.Exists(path)) return Sample(random);
  const std::optional<std::string> bytes = files.ReadFile(path);
  if (!bytes) {
    messages.Show("RWT Load File Error", "Prop.SetData: " + path, MessageIcon::kError);
    return {};
  }
  const std::vector<std::string> lines = SplitLines(UserTextOfFile(*bytes));
  UserTab tab;
  tab.pov = Value(lines, 0);
  tab.rating = Value(lines, 1);
  tab.link = Value(lines, 2);
  for (size_t i = 3; i < lines.size(); ++i) tab.description += lines[i] + "\n\r";
  return tab;
}

}  // namespace rw
