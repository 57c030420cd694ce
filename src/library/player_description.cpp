#include "library/player_description.h"

#include <utility>

#include "demo/display_text.h"
#include "host/path_text.h"
#include "library/user_data.h"
#include "text/text_lines.h"
#include "text/user_text.h"

namespace rw {

std::string PlayerDescriptionPath(const std::string& playerFolder, std::string_view playerName) {
  return JoinPath(playerFolder, SafeFileName(playerName) + ".description");
}

std::vector<std::string> LoadPlayerDescription(FileSystem& files, Messages& messages,
                                               const std::string& path) {
  if (!files.Exists(path)) return {};
  const std::optional<std::string> bytes = files.ReadFile(path);
  if (!bytes) {
    messages.Show("RWT Load File Error", "PlayerDescr.SetPlayerData: " + path, MessageIcon::kError);
    return {};
  }
  return SplitLines(UserTextOfFile(*bytes));
}

bool SavePlayerDescription(FileSystem& files, Messages& messages, const std::string& path,
                           const std::vector<std::string>& lines) {
  if (lines.empty()) {
    if (!files.Exists(path) || files.DeleteFile(path).ok()) return true;
  } else if (files.WriteFileAtomic(path, UserTextFileBytes(JoinLines(lines)))) {
    return true;
  }
  messages.Show("RWT: File Save Error", "Could not save: " + path, MessageIcon::kError);
  return false;
}

PlayerDescriptionEditor::PlayerDescriptionEditor(FileSystem& files, Messages& messages,
                                                 std::string playerFolder)
    : files_(files), messages_(messages), playerFolder_(std::move(playerFolder)) {}

void PlayerDescriptionEditor::Load(std::string playerName) {
  playerName_ = std::move(playerName);
  lines_ =
      LoadPlayerDescription(files_, messages_, PlayerDescriptionPath(playerFolder_, playerName_));
  applyEnabled_ = false;
}

void PlayerDescriptionEditor::SetLines(std::vector<std::string> lines) {
  if (lines == lines_) return;
  lines_ = std::move(lines);
  applyEnabled_ = true;
}

bool PlayerDescriptionEditor::Apply() {
  const bool saved = SavePlayerDescription(
      files_, messages_, PlayerDescriptionPath(playerFolder_, playerName_), lines_);
  // A text that could not be saved stays ready for another try.
  applyEnabled_ = !saved;
  return saved;
}

}  // namespace rw
