#include "playback/play_list_file.h"

#include <algorithm>
#include <filesystem>
#include <limits>

#include "archive/member_path.h"
#include "demo/time_text.h"
#include "host/path_separator.h"
#include "model/list_rules.h"
#include "text/text_lines.h"

namespace rw {
namespace {

constexpr std::string_view kLineBreak = "\r\n";
constexpr std::string_view kHeaderMark = "RWT Play List";

// What ScanDemos would take for a folder listing: it would refill the demo list and rewrite
// a parse cache instead of adding one entry.
bool IsFolderListing(std::string_view line) {
  return line.find("*.") != std::string_view::npos;
}

bool IsAbsolutePath(std::string_view path) {
#ifdef _WIN32
  return path.starts_with('\\') || (path.size() >= 3 && path[1] == ':' && path[2] == '\\');
#else
  return path.starts_with('/');
#endif
}

// A line is a demo file's path, or 0x01, the archive's path, "\\" and the member's name. A
// line written by hand may name its demo relative to the play list file, wherever the program
// runs from.
ScanEntry EntryOfLine(const std::string& line, const std::filesystem::path& listFolder) {
  const bool archive = line.starts_with('\x01');
  std::string path = archive ? line.substr(1) : line;
  std::string member;
  if (archive) {
    // The archive's path and the member's name split as a member path does.
    MemberPath split = SplitMemberPath(path);
    member = std::move(split.name);
    path = std::move(split.folder);
  }
  if (!path.empty() && !IsAbsolutePath(path) && !listFolder.empty()) {
    path = (listFolder / path).lexically_normal().string();
  }
  return archive ? ScanEntry::ArchiveMembers(path, member) : ScanEntry::DemoFile(path);
}

}  // namespace

std::string PlayListEntryLine(const ListRow& row) {
  const std::string& location = row[kLocationColumn];
  const std::string& name = row[kDemonameColumn];
  // An unreadable plain file keeps the plain form, so it is looked at again on loading.
  if (!IsArchiveRow(row)) return location + kPathSeparator + name;
  return '\x01' + location + "\\" + name;
}

std::string PlayListFileText(const RowList& playList) {
  std::string text(kPlayListHeader);
  text += kLineBreak;
  for (const ListItem& item : playList) {
    text += PlayListEntryLine(item.columns);
    text += kLineBreak;
  }
  return text;
}

bool SavePlayList(FileSystem& files, Messages& messages, const std::string& path,
                  const RowList& playList) {
  if (files.WriteFileAtomic(path, PlayListFileText(playList))) return true;
  messages.Show("RWT: File Save Error", "Could not save the play list " + path,
                MessageIcon::kError);
  return false;
}

PlayListLoad LoadPlayList(const std::string& path, ScanContext& context, Messages& messages) {
  PlayListLoad result;
  const std::optional<std::string> text = context.files.ReadFile(path);
  if (!text) {
    messages.Show("RWT Load File Error", "Could not read " + path, MessageIcon::kError);
    return result;
  }
  const std::vector<std::string> lines = SplitLines(*text);
  if (lines.empty() || lines[0].find(kHeaderMark) == std::string::npos) {
    messages.Show("Load Playlist Error",
                  "This is not a Reelwright Play List !\r\nTry to save a Play List and then "
                  "reload it.",
                  MessageIcon::kInformation);
    return result;
  }
  result.loaded = true;
  context.playList.Clear();
  const std::filesystem::path listFolder = std::filesystem::path(path).parent_path();
  // A list of a whole folder would otherwise list the folder and load its cache once a line.
  ScanMemo memo;
  for (size_t index = 1; index < lines.size(); ++index) {
    if (IsFolderListing(lines[index])) continue;
    result.totalSeconds += ScanDemos(EntryOfLine(lines[index], listFolder), context, memo);
  }
  result.entries = context.playList.RowCount();
  const auto shownSeconds = static_cast<uint32_t>(
      std::min<uint64_t>(result.totalSeconds, std::numeric_limits<uint32_t>::max()));
  result.statusText =
      std::to_string(result.entries) + " Items. Total length: " + FormatSeconds(shownSeconds);
  result.nameLabel = result.entries > 0 ? path : std::string(kPlayListCorrupted);
  return result;
}

}  // namespace rw
