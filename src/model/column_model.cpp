#include "model/column_model.h"

#include <algorithm>
#include <utility>

namespace rw {
namespace {

constexpr int kFittedColumns = 21;  // 0 to 20 fit their contents, the user columns get 90

std::string WidthKey(int column) {
  return "Column" + std::to_string(column) + "_Width";
}

std::string OrderKey(int position) {
  return "Column" + std::to_string(position) + "_Order";
}

}  // namespace

int ColumnOfHeader(std::string_view text) {
  for (int column = 0; column < kColumnCount; ++column) {
    if (kColumnHeaders[column] == text) return column;
  }
  return 0;
}

int32_t ChooserWidth(int column) {
  return column < kFittedColumns ? kFitWidth : kUserColumnWidth;
}

ColumnLayout BuiltInColumnLayout() {
  ColumnLayout layout;
  for (int column = 0; column < 3; ++column) layout.widths[column] = kFitWidth;
  for (int position = 0; position < kColumnCount; ++position) {
    layout.order[position] = (position + 3) % kColumnCount;
  }
  return layout;
}

ColumnLayout FirstStartColumnLayout() {
  ColumnLayout layout = BuiltInColumnLayout();
  // Demoname, Size, Recorded, Map, Playtime, Gametype, Mod, Winner, Final Score.
  constexpr std::array<int32_t, 9> kShown = {0, 1, 2, 4, 5, 7, 8, 18, 20};
  size_t position = 0;
  for (const int32_t column : kShown) {
    layout.widths[column] = kFitWidth;
    layout.order[position++] = column;
  }
  for (int32_t column = 0; column < kColumnCount; ++column) {
    if (std::find(kShown.begin(), kShown.end(), column) == kShown.end()) {
      layout.order[position++] = column;
    }
  }
  return layout;
}

bool IsColumnPermutation(const std::array<int32_t, kColumnCount>& order) {
  std::array<bool, kColumnCount> seen{};
  for (const int32_t column : order) {
    if (column < 0 || column >= kColumnCount || seen[column]) return false;
    seen[column] = true;
  }
  return true;
}

void LoadColumnLayout(const ProfileFile& file, std::string_view section, ColumnLayout& layout) {
  layout.sortColumn = file.ReadInteger(section, "SortColumn", layout.sortColumn);
  layout.sortAscending = file.ReadBool(section, "SortAscending", layout.sortAscending);
  for (int i = 0; i < kColumnCount; ++i) {
    layout.widths[i] = file.ReadInteger(section, WidthKey(i), layout.widths[i]);
    layout.order[i] = file.ReadInteger(section, OrderKey(i), layout.order[i]);
  }
}

void SaveColumnLayout(ProfileFile& file, std::string_view section, const ColumnLayout& layout) {
  file.WriteInteger(section, "SortColumn", layout.sortColumn);
  file.WriteBool(section, "SortAscending", layout.sortAscending);
  for (int i = 0; i < kColumnCount; ++i) {
    file.WriteInteger(section, WidthKey(i), layout.widths[i]);
    file.WriteInteger(section, OrderKey(i), layout.order[i]);
  }
}

void ClickColumnHeader(ColumnLayout& layout, int column) {
  layout.sortAscending = column == layout.sortColumn ? !layout.sortAscending : true;
  layout.sortColumn = column;
}

std::vector<ChooserEntry> BuildChooserList(const ColumnLayout& layout) {
  // A stored order that is no permutation still gives every column exactly once, so the
  // chooser repairs such a layout when it applies.
  std::vector<int32_t> columns;
  std::array<bool, kColumnCount> listed{};
  for (const int32_t column : layout.order) {
    if (column < 0 || column >= kColumnCount || listed[column]) continue;
    listed[column] = true;
    columns.push_back(column);
  }
  for (int column = 0; column < kColumnCount; ++column) {
    if (!listed[column]) columns.push_back(column);
  }
  std::vector<ChooserEntry> visible;
  std::vector<ChooserEntry> hidden;
  for (const int32_t column : columns) {
    const bool shown = layout.widths[column] != 0;
    (shown ? visible : hidden).push_back({std::string(kColumnHeaders[column]), shown});
  }
  visible.insert(visible.end(), hidden.begin(), hidden.end());
  return visible;
}

void ApplyChooserList(const std::vector<ChooserEntry>& entries, ColumnLayout& layout) {
  std::vector<int32_t> hidden;
  std::vector<int32_t> visible;
  for (const ChooserEntry& entry : entries) {
    const int column = ColumnOfHeader(entry.header);
    const bool shown = entry.checked || column == 0;
    layout.widths[column] = shown ? ChooserWidth(column) : 0;
    (shown ? visible : hidden).push_back(column);
  }
  hidden.insert(hidden.end(), visible.begin(), visible.end());
  for (size_t position = 0; position < hidden.size() && position < layout.order.size();
       ++position) {
    layout.order[position] = hidden[position];
  }
}

void ColumnChooser::Select(int index) {
  selected_ = index >= 0 && index < static_cast<int>(entries_.size()) ? index : -1;
}

void ColumnChooser::MoveUp() {
  if (!canMoveUp()) return;
  std::swap(entries_[selected_], entries_[selected_ - 1]);
  --selected_;
  applyEnabled_ = true;
}

void ColumnChooser::MoveDown() {
  if (!canMoveDown()) return;
  std::swap(entries_[selected_], entries_[selected_ + 1]);
  ++selected_;
  applyEnabled_ = true;
}

bool ColumnChooser::SetChecked(int index, bool checked) {
  if (index < 0 || index >= static_cast<int>(entries_.size())) return false;
  ChooserEntry& entry = entries_[index];
  if (!checked && entry.header == kColumnHeaders[0]) return false;
  if (entry.checked == checked) return true;
  entry.checked = checked;
  applyEnabled_ = true;
  return true;
}

void ColumnChooser::Apply(ColumnLayout& layout) {
  if (!applyEnabled_) return;
  ApplyChooserList(entries_, layout);
  applyEnabled_ = false;
}

}  // namespace rw
