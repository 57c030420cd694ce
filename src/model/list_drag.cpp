#include "model/list_drag.h"

#include <algorithm>
#include <iterator>

#include "model/list_rules.h"

namespace rw {

DragCursor DragCursorFor(const RowList& source) {
  return SelectedCount(source) > 1 ? DragCursor::kMultipleItems : DragCursor::kSingleItem;
}

bool PlayListAcceptsDrop(const RowList& demoList) {
  return AllSelectedPlayable(demoList);
}

std::optional<size_t> CopyToPlayList(const RowList& demoList, RowList& playList,
                                     std::optional<size_t> target) {
  RowList copies;
  for (const ListItem& item : demoList) {
    if (item.selected) copies.push_back(item);
  }
  const size_t at = target && *target < playList.size() ? *target : playList.size();
  playList.insert(playList.begin() + static_cast<std::ptrdiff_t>(at), copies.begin(), copies.end());
  const auto first = std::find_if(playList.begin(), playList.end(),
                                  [](const ListItem& item) { return item.selected; });
  if (first == playList.end()) return std::nullopt;
  return static_cast<size_t>(std::distance(playList.begin(), first));
}

bool ReorderPlayList(RowList& playList, std::optional<size_t> target) {
  if (SelectedCount(playList) != 1 || !target || *target >= playList.size()) return false;
  const auto selected = std::find_if(playList.begin(), playList.end(),
                                     [](const ListItem& item) { return item.selected; });
  const size_t from = static_cast<size_t>(std::distance(playList.begin(), selected));
  const ListItem moved = *selected;
  // Up (or onto itself) it takes the target's place; down it goes just after the target.
  const size_t to = *target <= from ? *target : *target + 1;
  playList.insert(playList.begin() + static_cast<std::ptrdiff_t>(to), moved);
  const size_t old = to <= from ? from + 1 : from;
  playList.erase(playList.begin() + static_cast<std::ptrdiff_t>(old));
  return true;
}

void AppendToPlayList(RowList& playList, const ListRow& row) {
  for (ListItem& item : playList) item.selected = false;
  playList.push_back(ListItem{row, true});
}

void RemoveSelected(RowList& playList) {
  std::erase_if(playList, [](const ListItem& item) { return item.selected; });
}

std::set<int> SelectedImages(const RowList& demoList) {
  std::set<int> images;
  for (const ListItem& item : demoList) {
    if (item.selected) images.insert(RowImage(item.columns));
  }
  return images;
}

RowList::iterator RowListSelection::FirstSelected() const {
  return std::find_if(list_.begin(), list_.end(),
                      [](const ListItem& item) { return item.selected; });
}

bool RowListSelection::HasSelection() const {
  return FirstSelected() != list_.end();
}

std::string RowListSelection::FirstSelectedLocation() const {
  const auto first = FirstSelected();
  return first != list_.end() ? first->columns[kLocationColumn] : std::string();
}

std::string RowListSelection::FirstSelectedName() const {
  const auto first = FirstSelected();
  return first != list_.end() ? first->columns[kDemonameColumn] : std::string();
}

void RowListSelection::RemoveFirstSelected() {
  const auto first = FirstSelected();
  if (first != list_.end()) list_.erase(first);
}

}  // namespace rw
