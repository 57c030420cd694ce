#include "library/sorted_rows.h"

#include <algorithm>

#include "library/row_compare.h"

namespace rw {

void SortedRows::Resort() {
  if (column_ < 0 || column_ >= static_cast<int>(kListColumnCount)) return;
  const auto column = static_cast<size_t>(column_);
  std::stable_sort(rows_.begin(), rows_.end(), [&](const ListItem& a, const ListItem& b) {
    return CompareRowTexts(a.columns[column], b.columns[column], locale_, ascending_) < 0;
  });
}

}  // namespace rw
