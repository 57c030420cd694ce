#include "library/sorted_rows.h"

#include <algorithm>
#include <numeric>

#include "library/row_compare.h"

namespace rw {

void SortedRows::Resort() {
  if (column_ < 0 || column_ >= static_cast<int>(kListColumnCount)) return;
  const auto column = static_cast<size_t>(column_);
  // Sorting positions and moving each row once is much cheaper than moving 26 texts at
  // every step of the sort.
  std::vector<size_t> order(rows_.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    const ListRow& x = rows_[a].columns;
    const ListRow& y = rows_[b].columns;
    int order = CompareRowTexts(x[column], y[column], locale_);
    // Rows alike in the sort column take a fixed order, never the order the folder was read
    // in: by name, then where they lie.
    for (const size_t tie : {kDemonameColumn, kLocationColumn, kArchiveLocationColumn}) {
      if (order == 0) order = CompareRowTexts(x[tie], y[tie], locale_);
    }
    for (const size_t tie : {kDemonameColumn, kLocationColumn, kArchiveLocationColumn}) {
      if (order == 0) order = x[tie].compare(y[tie]);
    }
    return ascending_ ? order < 0 : order > 0;
  });
  RowList sorted;
  sorted.reserve(rows_.size());
  for (const size_t position : order) sorted.push_back(std::move(rows_[position]));
  rows_.swap(sorted);
}

}  // namespace rw
