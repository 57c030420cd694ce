#include "library/user_data_editor.h"

#include <algorithm>
#include <utility>

#include "host/path_text.h"
#include "model/list_rules.h"
#include "text/user_text.h"

namespace rw {
namespace {

std::optional<size_t> FirstRowNamed(const RowList& list, const std::string& name) {
  for (size_t i = 0; i < list.size(); ++i) {
    if (list[i].columns[kDemonameColumn] == name) return i;
  }
  return std::nullopt;
}

}  // namespace

DemoLocation LocationOfRow(const ListRow& row) {
  return {row[kLocationColumn], IsArchiveRow(row)};
}

std::string FolderOfLocation(const DemoLocation& location) {
  std::string_view folder = location.path;
  if (location.archive) {
    size_t nameStart = folder.size();
    while (nameStart > 0 && !IsPathSeparator(folder[nameStart - 1])) --nameStart;
    folder = folder.substr(0, nameStart);
  }
  if (folder.size() > 1 && IsPathSeparator(folder.back())) folder.remove_suffix(1);
  return std::string(folder);
}

UserDataEditor::UserDataEditor(FileSystem& files, Messages& messages, std::string userDataFolder)
    : files_(files), messages_(messages), userDataFolder_(std::move(userDataFolder)) {}

void UserDataEditor::Fill(std::optional<RowRef> row, std::string demoName, DemoLocation location,
                          const std::vector<TPlayer>& players) {
  row_ = row;
  demoName_ = std::move(demoName);
  location_ = std::move(location);
  data_ = UserData{};
  data_.Rating.assign(1, '0');  // assign() sidesteps a false GCC 12 -Wrestrict report
  povEntries_ = {std::string(kNoPovEntry)};
  for (const TPlayer& player : players) {
    if (!player.Name.empty() && player.Team < kTeamSpectator) povEntries_.push_back(player.Name);
  }
  povSelection_.reset();
  caption_ = "Edit User Data of " + demoName_;
  if (std::optional<UserData> stored =
          ReadUserData(files_, UserDataPath(userDataFolder_, demoName_))) {
    const auto found = std::find_if(
        povEntries_.begin() + 1, povEntries_.end(),
        [&](const std::string& entry) { return Windows1252ToUserText(entry) == stored->POV; });
    if (!stored->POV.empty() && found != povEntries_.end()) {
      povSelection_ = static_cast<size_t>(found - povEntries_.begin());
    }
    if (!stored->Rating.empty()) data_.Rating = stored->Rating;
    data_.Web = stored->Web;
    data_.Description = stored->Description;
  }
  data_.POV = povSelection_ ? Windows1252ToUserText(povEntries_[*povSelection_]) : std::string();
  applyEnabled_ = false;
  RecolourWeb();
}

void UserDataEditor::ChoosePov(size_t entry) {
  if (entry >= povEntries_.size()) return;
  const std::optional<size_t> chosen = entry == 0 ? std::nullopt : std::optional<size_t>(entry);
  if (chosen == povSelection_) return;
  povSelection_ = chosen;
  data_.POV = chosen ? Windows1252ToUserText(povEntries_[*chosen]) : std::string();
  applyEnabled_ = true;
}

bool UserDataEditor::SetRating(std::string text) {
  if (text.size() > 3 ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return false;
  }
  if (text != data_.Rating) {
    data_.Rating = std::move(text);
    applyEnabled_ = true;
  }
  return true;
}

void UserDataEditor::SetWeb(std::string text) {
  if (text != data_.Web) {
    data_.Web = std::move(text);
    applyEnabled_ = true;
  }
  RecolourWeb();
}

void UserDataEditor::SetDescription(std::vector<std::string> lines) {
  if (lines != data_.Description) {
    data_.Description = std::move(lines);
    applyEnabled_ = true;
  }
}

UserDataEditor::Saved UserDataEditor::Apply(const std::string& selectedTreePath,
                                            const RowList& demoList, const RowList& playList) {
  Saved saved;
  saved.written = SaveUserData(files_, messages_, UserDataPath(userDataFolder_, demoName_), data_);
  saved.columns = UserInfoFromLines(UserDataLines(data_));
  if (FolderOfLocation(location_) == selectedTreePath) {
    const RowList& rememberedList = row_ && row_->list == ListKind::kPlayList ? playList : demoList;
    // A list refilled since the editor opened no longer holds the remembered row there.
    if (row_ && row_->index < rememberedList.size() &&
        rememberedList[row_->index].columns[kDemonameColumn] == demoName_) {
      saved.row = row_;
    } else if (std::optional<size_t> index = FirstRowNamed(demoList, demoName_)) {
      saved.row = RowRef{ListKind::kDemoList, *index};
    } else if (std::optional<size_t> index = FirstRowNamed(playList, demoName_)) {
      saved.row = RowRef{ListKind::kPlayList, *index};
    }
  }
  RecolourWeb();
  // Notes that could not be saved stay ready for another try.
  applyEnabled_ = !saved.written;
  return saved;
}

void UserDataEditor::RecolourWeb() {
  webColor_ =
      !data_.Web.empty() && !IsWebLink(data_.Web) ? WebTextColor::kGrey : WebTextColor::kBlack;
}

}  // namespace rw
