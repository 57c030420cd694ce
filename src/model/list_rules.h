#pragma once

#include <optional>
#include <string>

#include "model/list_row.h"

namespace rw {

// The picture of a row: 0 to 3 for a plain file, a .pk3, a .zip or an .exe archive whose demo
// was read, 4 to 7 for the same when the demo's mod is unknown ("N/A").
int RowImage(const ListRow& row);
// The picture the lists draw: RowImage, but 8 to 11 in place of 0 to 3 for a demo of the
// generations since 1.30 (protocols 66 to 68), which the old versions of the game cannot play.
int RowPicture(const ListRow& row);
bool IsPlayable(const ListRow& row);
bool IsArchiveRow(const ListRow& row);

// Whether every selected row is playable (true for an empty selection).
bool AllSelectedPlayable(const RowList& list);

struct DemoListMenuState {
  bool playIt = false;
  bool moveToPlaylist = false;
  bool deleteFiles = false;  // "Delete.."
  bool rename = false;
  bool editUserData = false;
  bool setWebLocation = false;
  bool clearUserData = false;
  bool selectAll = false;
  bool properties = false;
};
DemoListMenuState DemoListMenu(const RowList& demoList, bool readOnly);

struct PlayListMenuState {
  bool playIt = false;
  bool removeFromPlaylist = false;
  bool editUserData = false;
  bool selectAll = false;
  bool properties = false;
};
PlayListMenuState PlayListMenu(const RowList& playList);

// "Play it" beside the demo list.
bool PlayItButtonEnabled(const RowList& demoList);
// "Save Play List", "Play Current List" and "Play Current List & exit".
bool PlayListButtonsEnabled(const RowList& playList);

// Whether an in-place edit of the name may start on this demo-list row.
bool CanEditName(const ListRow& row, bool readOnly);

// What the pointer over a demo-list cell does, and what status panel 1 then shows.
enum class PointerAction { kNone, kOpenLink, kOpenEditor };
struct PointerHint {
  PointerAction action = PointerAction::kNone;
  std::string status;
};
// row is null when the pointer is over no row.
PointerHint PointerOverDemoList(const ListRow* row, size_t column,
                                const std::string& rememberedStatus);

// The editor field that a click on a user-data column focuses; none for other columns.
enum class UserDataField { kPointOfView, kRating, kWeb, kDescription };
std::optional<UserDataField> FieldOfColumn(size_t column);

}  // namespace rw
