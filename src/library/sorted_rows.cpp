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
    return CompareRowTexts(rows_[a].columns[column], rows_[b].columns[column], locale_,
                           ascending_) < 0;
  });
  RowList sorted;
  sorted.reserve(rows_.size());
  for (const size_t position : order) sorted.push_back(std::move(rows_[position]));
  rows_.swap(sorted);
}

}  // namespace rw
