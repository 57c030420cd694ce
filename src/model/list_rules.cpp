#include "model/list_rules.h"

#include "demo/demo_generation.h"
#include "text/web_link.h"
#include "text/windows_1252.h"

namespace rw {
namespace {

// Exactly one selected row, or none.
const ListRow* SoleSelected(const RowList& list) {
  const ListRow* found = nullptr;
  for (const ListItem& item : list) {
    if (!item.selected) continue;
    if (found != nullptr) return nullptr;
    found = &item.columns;
  }
  return found;
}

bool AnySelectedHasImage(const RowList& list, int low, int high) {
  for (const ListItem& item : list) {
    if (!item.selected) continue;
    const int image = RowImage(item.columns);
    if (image >= low && image <= high) return true;
  }
  return false;
}

}  // namespace

int RowImage(const ListRow& row) {
  const std::string location = AnsiLowerText(row[kLocationColumn]);
  int image = 0;
  if (location.ends_with(".pk3")) {
    image = 1;
  } else if (location.ends_with(".zip")) {
    image = 2;
  } else if (location.ends_with(".exe")) {
    image = 3;
  }
  // The mod text of a demo that could not be read is the lower-case "n/a".
  if (EqualsIgnoringAnsiCase(row[kModColumn], "N/A")) image += 4;
  return image;
}

int RowPicture(const ListRow& row) {
  const int image = RowImage(row);
  const bool later =
      GenerationOfListedDemo(row[kProtocolColumn], row[kDemonameColumn]) == DemoGeneration::k132;
  return image < 4 && later ? image + 8 : image;
}

bool IsPlayable(const ListRow& row) {
  return RowImage(row) < 4 && IsPlayableDemo(row[kProtocolColumn], row[kDemonameColumn]);
}

bool IsArchiveRow(const ListRow& row) {
  const int image = RowImage(row);
  return image != 0 && image != 4;
}

bool AllSelectedPlayable(const RowList& list) {
  for (const ListItem& item : list) {
    if (item.selected && !IsPlayable(item.columns)) return false;
  }
  return true;
}

DemoListMenuState DemoListMenu(const RowList& demoList, bool readOnly) {
  const size_t selected = SelectedCount(demoList);
  const ListRow* sole = SoleSelected(demoList);
  DemoListMenuState state;
  state.playIt = sole != nullptr && IsPlayable(*sole);
  state.moveToPlaylist = selected > 0 && AllSelectedPlayable(demoList);
  state.deleteFiles = !readOnly && selected > 0 && !AnySelectedHasImage(demoList, 1, 3);
  state.rename = !readOnly && sole != nullptr && (RowImage(*sole) == 0 || RowImage(*sole) >= 4);
  state.editUserData = sole != nullptr;
  state.setWebLocation = selected > 0;
  state.clearUserData = selected > 0;
  state.selectAll = !demoList.empty();
  state.properties = sole != nullptr;
  return state;
}

PlayListMenuState PlayListMenu(const RowList& playList) {
  const ListRow* sole = SoleSelected(playList);
  PlayListMenuState state;
  state.playIt = sole != nullptr && RowImage(*sole) < 4;
  state.removeFromPlaylist = SelectedCount(playList) > 0;
  state.editUserData = sole != nullptr;
  state.selectAll = !playList.empty();
  state.properties = sole != nullptr;
  return state;
}

bool PlayItButtonEnabled(const RowList& demoList) {
  const ListRow* sole = SoleSelected(demoList);
  return sole != nullptr && IsPlayable(*sole);
}

bool PlayListButtonsEnabled(const RowList& playList) {
  return !playList.empty();
}

bool CanEditName(const ListRow& row, bool readOnly) {
  const int image = RowImage(row);
  return !readOnly && (image == 0 || image >= 4);
}

PointerHint PointerOverDemoList(const ListRow* row, size_t column,
                                const std::string& rememberedStatus) {
  if (row != nullptr && column == kWebColumn && IsWebLink((*row)[kWebColumn])) {
    return {PointerAction::kOpenLink, "Web action: " + (*row)[kWebColumn]};
  }
  if (row != nullptr && FieldOfColumn(column)) {
    return {PointerAction::kOpenEditor, "Edit User Data of " + (*row)[kDemonameColumn]};
  }
  return {PointerAction::kNone, rememberedStatus};
}

std::optional<UserDataField> FieldOfColumn(size_t column) {
  switch (column) {
    case kPovColumn:
      return UserDataField::kPointOfView;
    case kRatingColumn:
      return UserDataField::kRating;
    case kWebColumn:
      return UserDataField::kWeb;
    case kDescriptionColumn:
      return UserDataField::kDescription;
    default:
      return std::nullopt;
  }
}

}  // namespace rw
