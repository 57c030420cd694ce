#pragma once

#include <cstddef>
#include <optional>
#include <set>
#include <string>

#include "model/folder_tree_commands.h"
#include "model/list_row.h"

namespace rw {

enum class DragCursor { kSingleItem, kMultipleItems };
DragCursor DragCursorFor(const RowList& source);

// Whether the play list accepts a drop, from either list: every selected demo-list row must
// be playable.
bool PlayListAcceptsDrop(const RowList& demoList);

// Demo list to play list ("Move to Playlist" with no target): copies the selected demo-list
// rows, in list order, before the target row or at the end, selected. Returns the first
// selected play-list row, to be scrolled into view.
std::optional<size_t> CopyToPlayList(const RowList& demoList, RowList& playList,
                                     std::optional<size_t> target);

// The properties window's "Playlist" with its add image: the demo goes to the end of the play
// list as its only selected row.
void AppendToPlayList(RowList& playList, const ListRow& row);

// Play list onto itself: moves the one selected row to the target row's place. Nothing
// happens unless exactly one row is selected and there is a target.
bool ReorderPlayList(RowList& playList, std::optional<size_t> target);

// Play list to demo list ("Remove from Playlist"): the selected rows leave the play list.
void RemoveSelected(RowList& playList);

// Demo list onto a folder of the tree: the images of the selected rows, and the selection as
// moving the demos takes it.
std::set<int> SelectedImages(const RowList& demoList);

class RowListSelection : public DemoListSelection {
 public:
  explicit RowListSelection(RowList& demoList) : list_(demoList) {}
  bool HasSelection() const override;
  std::string FirstSelectedLocation() const override;
  std::string FirstSelectedName() const override;
  void RemoveFirstSelected() override;
  bool Empty() const override { return list_.empty(); }

 private:
  RowList::iterator FirstSelected() const;
  RowList& list_;
};

}  // namespace rw
