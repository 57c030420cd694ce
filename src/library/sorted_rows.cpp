#include "library/sorted_rows.h"

#include <algorithm>
#include <numeric>

#include "library/row_compare.h"

namespace rw {

namespace {

void MoveAll(RowList& to, RowList& from) {
  to.insert(to.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
  from.clear();
}

}  // namespace

void SortedRows::Resort() {
  if (column_ < 0 || column_ >= static_cast<int>(kListColumnCount)) return;
  const auto column = static_cast<size_t>(column_);
  MoveAll(rows_, hidden_);
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
  for (const size_t position : order) {
    sorted.push_back(std::move(rows_[position]));
    sorted.back().order = sorted.size() - 1;
  }
  rows_.swap(sorted);
  nextOrder_ = rows_.size();
  Refilter();
}

bool SortedRows::SetFilter(Filter shows) {
  filter_ = std::move(shows);
  const bool changed = Refilter();
  // Without a filter there is nothing to keep room for.
  if (!filter_) {
    spareShown_ = {};
    spareHidden_ = {};
  }
  return changed;
}

bool SortedRows::Refilter() {
  if (hidden_.empty() && !filter_) return false;
  std::vector<size_t> before;
  before.reserve(rows_.size());
  for (const ListItem& item : rows_) before.push_back(item.order);
  // Every row in its place in the sort order, each moved once.
  std::vector<ListItem*> all;
  all.reserve(TotalCount());
  for (RowList* list : {&rows_, &hidden_}) {
    for (ListItem& item : *list) all.push_back(&item);
  }
  std::sort(all.begin(), all.end(),
            [](const ListItem* a, const ListItem* b) { return a->order < b->order; });
  // The spare lists keep their room from one filtering to the next: a keystroke in the filter
  // box then moves rows without asking for memory.
  spareShown_.clear();
  spareHidden_.clear();
  for (ListItem* item : all) {
    if (!filter_ || filter_(item->columns)) {
      spareShown_.push_back(std::move(*item));
    } else {
      item->selected = false;
      spareHidden_.push_back(std::move(*item));
    }
  }
  rows_.swap(spareShown_);
  hidden_.swap(spareHidden_);
  spareShown_.clear();
  spareHidden_.clear();
  return !std::equal(before.begin(), before.end(), rows_.begin(), rows_.end(),
                     [](size_t order, const ListItem& item) { return order == item.order; });
}

}  // namespace rw
