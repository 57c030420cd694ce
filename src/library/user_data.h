#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "demo/user_info.h"
#include "host/file_system.h"
#include "host/messages.h"
#include "text/web_link.h"

namespace rw {

// A line holding only this byte marks a value that is not set.
inline constexpr std::string_view kEmptyLine = "\x01";

// The user's four notes on a demo, in UTF-8 as typed; the file keeps Windows-1252 while every
// character fits it.
struct UserData {
  std::string POV;  // colour codes kept
  std::string Rating;
  std::string Web;
  std::vector<std::string> Description;
};

// The file of the notes of every demo named demoName.
std::string UserDataPath(const std::string& userDataFolder, std::string_view demoName);

// A rating of "0" or nothing means the demo is not rated.
bool HasRating(std::string_view rating);
bool IsAllEmpty(const UserData& data);
// The file's lines: POV, rating and web (each EMPTY when not set), then the description.
std::vector<std::string> UserDataLines(const UserData& data);
// The values as the editor loads them; lines missing from a short file count as EMPTY.
UserData UserDataFromLines(const std::vector<std::string>& lines);
// The cells a list row shows for the file's lines: a missing or EMPTY line gives "".
UserInfo UserInfoFromLines(const std::vector<std::string>& lines);

// The notes for the editor: nullopt when there is no file or it cannot be read.
std::optional<UserData> ReadUserData(FileSystem& files, const std::string& path);

// Writes the notes, or deletes the file when every value is empty. A failure keeps the old
// file and shows "User.ApplyButtonClick: " and the path; the result says whether it worked.
bool SaveUserData(FileSystem& files, Messages& messages, const std::string& path,
                  const UserData& data);

// "Set the same Web Location for selected demos" for the selected demos' names: asks for the
// link and writes it as line 3 of each demo's file. nullopt when the user stopped; otherwise
// the link and, per demo, whether its row now shows it.
struct WebLocationOutcome {
  std::string web;
  std::vector<bool> updated;
};
std::optional<WebLocationOutcome> SetSameWebLocation(FileSystem& files, Messages& messages,
                                                     const std::string& userDataFolder,
                                                     const std::vector<std::string>& demoNames);

// "Clear complete User Data for selected demos": asks, then deletes the files. Per demo,
// whether its row's user-data cells are to be emptied; all false when the user said No.
std::vector<bool> ClearUserData(FileSystem& files, Messages& messages,
                                const std::string& userDataFolder,
                                const std::vector<std::string>& demoNames);

}  // namespace rw
