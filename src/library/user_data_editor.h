#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "demo/demo_read_state.h"
#include "host/file_system.h"
#include "host/messages.h"
#include "library/user_data.h"
#include "model/list_row.h"

namespace rw {

enum class ListKind { kDemoList, kPlayList };

// A row of one of the two lists.
struct RowRef {
  ListKind list = ListKind::kDemoList;
  size_t index = 0;
  bool operator==(const RowRef&) const = default;
};

// A row's "Location" and what it names: a folder, or an archive file in a folder. Known
// from the row, never guessed from the text (a folder may be named "cup.2004").
struct DemoLocation {
  std::string path;
  bool archive = false;
};
DemoLocation LocationOfRow(const ListRow& row);

enum class WebTextColor { kBlack, kGrey };  // grey is red, green and blue 128

inline constexpr std::string_view kNoPovEntry = "<<NO POV ENTRY>>";

// The user data editor without its window: what it shows, what the user changed, and what a
// save writes and which list row then shows it.
class UserDataEditor {
 public:
  UserDataEditor(FileSystem& files, Messages& messages, std::string userDataFolder);

  // Loads the notes of demoName; row is the list row the editor was opened from, when known,
  // location where that row's demo lies, players the table of the demo read last.
  void Fill(std::optional<RowRef> row, std::string demoName, DemoLocation location,
            const std::vector<TPlayer>& players);

  const std::string& caption() const { return caption_; }
  const std::string& demoName() const { return demoName_; }
  // "<<NO POV ENTRY>>", then the names (colour codes kept, Windows-1252 as the demo gives
  // them) of the players who can have a view.
  const std::vector<std::string>& povEntries() const { return povEntries_; }
  std::optional<size_t> povSelection() const { return povSelection_; }
  // The values in UTF-8, as typed.
  const std::string& rating() const { return data_.Rating; }
  const std::string& web() const { return data_.Web; }
  const std::vector<std::string>& description() const { return data_.Description; }
  WebTextColor webColor() const { return webColor_; }
  bool applyEnabled() const { return applyEnabled_; }

  // Entry 0, "<<NO POV ENTRY>>", clears the point of view.
  void ChoosePov(size_t entry);
  // The rating box takes at most three digits; anything else is refused.
  bool SetRating(std::string text);
  void SetWeb(std::string text);
  void FocusWeb() { webColor_ = WebTextColor::kBlack; }
  void SetDescription(std::vector<std::string> lines);

  struct Saved {
    bool written = false;
    UserInfo columns;           // what the row shows now
    std::optional<RowRef> row;  // the row to show it in; none when the demo lies elsewhere
  };
  // "&Apply": writes the file (or deletes it when all is empty) and tells which row to update.
  // selectedTreePath is the folder the demo list shows.
  Saved Apply(const std::string& selectedTreePath, const RowList& demoList,
              const RowList& playList);

 private:
  void RecolourWeb();

  FileSystem& files_;
  Messages& messages_;
  std::string userDataFolder_;
  std::optional<RowRef> row_;
  std::string demoName_;
  DemoLocation location_;
  std::string caption_;
  std::vector<std::string> povEntries_;
  std::optional<size_t> povSelection_;
  UserData data_;
  WebTextColor webColor_ = WebTextColor::kBlack;
  bool applyEnabled_ = false;
};

// The folder the demo lies in: the location itself, or the folder of its archive.
std::string FolderOfLocation(const DemoLocation& location);

}  // namespace rw
