#pragma once

#include <cstddef>
#include <vector>

#include "model/row_sink.h"

namespace rw {

// The columns the list rules read by name.
enum ListColumn : size_t {
  kDemonameColumn = 0,
  kSizeColumn = 1,
  kRecordedColumn = 2,
  kArchiveLocationColumn = 3,
  kMapColumn = 4,
  kPlaytimeColumn = 5,
  kGametypeColumn = 7,
  kModColumn = 8,
  kHostnameColumn = 9,
  kProtocolColumn = 13,
  kWinnerColumn = 18,
  kLocationColumn = 21,
  kPovColumn = 22,
  kRatingColumn = 23,
  kWebColumn = 24,
  kDescriptionColumn = 25,
};

// A row as a list holds it, with its selection and its place in the list's sort order, which
// brings it back where it was when a filter stops hiding it.
struct ListItem {
  ListRow columns;
  bool selected = false;
  size_t order = 0;
};

// Either list, top to bottom.
using RowList = std::vector<ListItem>;

inline size_t SelectedCount(const RowList& list) {
  size_t count = 0;
  for (const ListItem& item : list) count += item.selected ? 1 : 0;
  return count;
}

}  // namespace rw
