#include "library/user_data.h"

#include <array>

#include "demo/display_text.h"
#include "host/path_text.h"
#include "text/text_lines.h"
#include "text/user_text.h"

namespace rw {
namespace {

constexpr std::string_view kSaveErrorCaption = "RWT: File Save Error";
constexpr std::string_view kSaveErrorText = "User.ApplyButtonClick: ";

std::string ValueOrEmptyLine(const std::string& value) {
  return value.empty() ? std::string(kEmptyLine) : value;
}

std::string LineValue(const std::vector<std::string>& lines, size_t index) {
  if (index >= lines.size() || lines[index] == kEmptyLine) return {};
  return lines[index];
}

void ShowSaveError(Messages& messages, const std::string& path) {
  messages.Show(kSaveErrorCaption, std::string(kSaveErrorText) + path, MessageIcon::kError);
}

}  // namespace

std::string UserDataPath(const std::string& userDataFolder, std::string_view demoName) {
  return JoinPath(userDataFolder, std::string(demoName) + ".description");
}

bool HasRating(std::string_view rating) {
  return !rating.empty() && rating != "0";
}

bool IsAllEmpty(const UserData& data) {
  return data.POV.empty() && !HasRating(data.Rating) && data.Web.empty() &&
         data.Description.empty();
}

std::vector<std::string> UserDataLines(const UserData& data) {
  std::vector<std::string> lines = {ValueOrEmptyLine(data.POV),
                                    HasRating(data.Rating) ? data.Rating : std::string(kEmptyLine),
                                    ValueOrEmptyLine(data.Web)};
  lines.insert(lines.end(), data.Description.begin(), data.Description.end());
  return lines;
}

UserData UserDataFromLines(const std::vector<std::string>& lines) {
  UserData data;
  data.POV = LineValue(lines, 0);
  data.Rating = LineValue(lines, 1);
  data.Web = LineValue(lines, 2);
  if (lines.size() > 3) data.Description.assign(lines.begin() + 3, lines.end());
  return data;
}

UserInfo UserInfoFromLines(const std::vector<std::string>& lines) {
  return {StripColors(LineValue(lines, 0), TextForm::kUtf8), LineValue(lines, 1),
          LineValue(lines, 2), LineValue(lines, 3)};
}

std::optional<UserData> ReadUserData(FileSystem& files, const std::string& path) {
  const std::optional<std::string> bytes = files.ReadFile(path);
  if (!bytes) return std::nullopt;
  return UserDataFromLines(SplitLines(UserTextOfFile(*bytes)));
}

bool SaveUserData(FileSystem& files, Messages& messages, const std::string& path,
                  const UserData& data) {
  if (IsAllEmpty(data)) {
    if (!files.Exists(path) || files.DeleteFile(path).ok()) return true;
  } else if (files.WriteFileAtomic(path, UserTextFileBytes(JoinLines(UserDataLines(data))))) {
    return true;
  }
  ShowSaveError(messages, path);
  return false;
}

std::optional<WebLocationOutcome> SetSameWebLocation(FileSystem& files, Messages& messages,
                                                     const std::string& userDataFolder,
                                                     const std::vector<std::string>& demoNames) {
  const std::optional<std::string> answer =
      messages.Ask("Set Web Location", "Set Web Location for all selected demos", "http://");
  if (!answer || *answer == "http://") return std::nullopt;
  WebLocationOutcome outcome{*answer, std::vector<bool>(demoNames.size(), false)};
  for (size_t i = 0; i < demoNames.size(); ++i) {
    const std::string path = UserDataPath(userDataFolder, demoNames[i]);
    std::vector<std::string> lines;
    bool readable = true;
    if (files.Exists(path)) {
      const std::optional<std::string> bytes = files.ReadFile(path);
      readable = bytes.has_value();
      if (readable) lines = SplitLines(UserTextOfFile(*bytes));
    }
    // Lines missing from a short file written by something else count as EMPTY.
    if (lines.size() < 3) lines.resize(3, std::string(kEmptyLine));
    lines[2] = ValueOrEmptyLine(*answer);
    if (readable && files.WriteFileAtomic(path, UserTextFileBytes(JoinLines(lines)))) {
      outcome.updated[i] = true;
    } else {
      ShowSaveError(messages, path);
    }
  }
  return outcome;
}

std::vector<bool> ClearUserData(FileSystem& files, Messages& messages,
                                const std::string& userDataFolder,
                                const std::vector<std::string>& demoNames) {
  std::vector<bool> cleared(demoNames.size(), false);
  const std::string question = "Really delete all User Data for the " +
                               std::to_string(demoNames.size()) + " selected demos?";
  if (messages.Show("Clear User Data", question, MessageIcon::kQuestion,
                    MessageButtons::kYesNoDefaultNo) != MessageAnswer::kYes) {
    return cleared;
  }
  for (size_t i = 0; i < demoNames.size(); ++i) {
    const std::string path = UserDataPath(userDataFolder, demoNames[i]);
    // A file that stays keeps its notes on show.
    cleared[i] = files.Exists(path) && files.DeleteFile(path).ok();
  }
  return cleared;
}

}  // namespace rw
