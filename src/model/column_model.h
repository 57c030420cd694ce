#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "demo/demo_info.h"
#include "model/profile_file.h"

namespace rw {

inline constexpr int kColumnCount = DemoInfo::kFieldCount;
// The list control's width that fits header and contents.
inline constexpr int32_t kFitWidth = -2;
inline constexpr int32_t kUserColumnWidth = 90;

// Headers by column index; the index is the position of the value in a row.
inline constexpr const auto& kColumnHeaders = kDemoInfoCaptions;

// The first column index whose header is text; 0 for an unknown text.
int ColumnOfHeader(std::string_view text);
// The width a column gets when the chooser shows it.
int32_t ChooserWidth(int column);

// One list's columns: widths (0 hides a column) and display order (entry p is the column
// shown at position p), with the recorded sort column and the current direction.
struct ColumnLayout {
  std::array<int32_t, kColumnCount> widths{};
  std::array<int32_t, kColumnCount> order{};
  int32_t sortColumn = 0;
  bool sortAscending = false;

  bool operator==(const ColumnLayout&) const = default;
};

// "Demoname", "Size" and "Recorded" fitted, the hidden columns in front of them.
ColumnLayout BuiltInColumnLayout();
// What a collector reads first, in this order and fitted: "Demoname", "Size", "Recorded",
// "Map", "Playtime", "Gametype", "Mod", "Winner" and "Final Score"; the others hidden after them.
ColumnLayout FirstStartColumnLayout();

// Whether order holds every column exactly once.
bool IsColumnPermutation(const std::array<int32_t, kColumnCount>& order);

// The list keys of one section ("Demo List" or "Play List"); a missing key keeps the value
// layout already holds. Orders are taken as stored: the list control decides what an order
// that is not a permutation shows.
void LoadColumnLayout(const ProfileFile& file, std::string_view section, ColumnLayout& layout);
void SaveColumnLayout(ProfileFile& file, std::string_view section, const ColumnLayout& layout);

// A click on a column header: another column sorts ascending, the sort column again reverses.
// The sort that follows completes, so the column is recorded at once.
void ClickColumnHeader(ColumnLayout& layout, int column);

// One entry of the column chooser's check list.
struct ChooserEntry {
  std::string header;
  bool checked = false;

  bool operator==(const ChooserEntry&) const = default;
};

// Visible columns in display order, checked, then hidden ones in display order, unchecked.
std::vector<ChooserEntry> BuildChooserList(const ColumnLayout& layout);

// Widths and order from the check list: unchecked columns get 0, checked ones their chooser
// width (replacing dragged widths); hidden columns come first, each group in list order.
// "Demoname" stays visible even if a caller unchecked it. The sort is left alone.
void ApplyChooserList(const std::vector<ChooserEntry>& entries, ColumnLayout& layout);

// The chooser window's check list while it is open: moves, checks and the button states.
class ColumnChooser {
 public:
  explicit ColumnChooser(const ColumnLayout& layout) : entries_(BuildChooserList(layout)) {}

  const std::vector<ChooserEntry>& entries() const { return entries_; }
  int selected() const { return selected_; }  // -1 when nothing is selected
  bool applyEnabled() const { return applyEnabled_; }

  void Select(int index);
  void MoveUp();
  void MoveDown();
  void Show() { SetChecked(selected_, true); }
  void Hide() { SetChecked(selected_, false); }
  // "Demoname" cannot be unchecked; refused changes return false.
  bool SetChecked(int index, bool checked);

  bool canMoveUp() const { return selected_ > 0; }
  bool canMoveDown() const {
    return selected_ >= 0 && selected_ + 1 < static_cast<int>(entries_.size());
  }
  bool canShow() const { return HasSelection() && !entries_[selected_].checked; }
  bool canHide() const {
    return HasSelection() && entries_[selected_].checked &&
           entries_[selected_].header != kColumnHeaders[0];
  }

  // Applies to layout when there are unapplied changes; disables Apply.
  void Apply(ColumnLayout& layout);

 private:
  bool HasSelection() const {
    return selected_ >= 0 && selected_ < static_cast<int>(entries_.size());
  }

  std::vector<ChooserEntry> entries_;
  int selected_ = -1;
  bool applyEnabled_ = false;
};

}  // namespace rw
