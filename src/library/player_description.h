#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/file_system.h"
#include "host/messages.h"

namespace rw {

// The file of the description of every player whose name gives the same safe file name.
std::string PlayerDescriptionPath(const std::string& playerFolder, std::string_view playerName);

// The description's lines, in UTF-8 as typed (the file keeps Windows-1252 while every
// character fits it); none when there is no file. A file that cannot be read shows
// "PlayerDescr.SetPlayerData: " and the path.
std::vector<std::string> LoadPlayerDescription(FileSystem& files, Messages& messages,
                                               const std::string& path);

// Writes the lines, or deletes the file when there are none. A failure keeps the old file and
// shows "Could not save: " and the path.
bool SavePlayerDescription(FileSystem& files, Messages& messages, const std::string& path,
                           const std::vector<std::string>& lines);

// The description part of the player description window without the window.
class PlayerDescriptionEditor {
 public:
  PlayerDescriptionEditor(FileSystem& files, Messages& messages, std::string playerFolder);

  // Shows the description of the player of that name; an unsaved text is dropped.
  void Load(std::string playerName);
  const std::string& playerName() const { return playerName_; }
  const std::vector<std::string>& lines() const { return lines_; }
  bool applyEnabled() const { return applyEnabled_; }

  void SetLines(std::vector<std::string> lines);
  // "&Apply": saves and disables itself.
  bool Apply();

 private:
  FileSystem& files_;
  Messages& messages_;
  std::string playerFolder_;
  std::string playerName_;
  std::vector<std::string> lines_;
  bool applyEnabled_ = false;
};

}  // namespace rw
