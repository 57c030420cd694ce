#pragma once

#include <vector>

#include "host/locale.h"
#include "model/list_row.h"
#include "model/row_sink.h"

namespace rw {

// A list's rows in its sort order: the scan fills it, and re-sorting compares the texts of
// the sort column with the locale as the list views do. Rows alike there follow their names,
// then their locations, in the same direction, so a reversed sort reverses the list exactly.
class SortedRows : public RowSink {
 public:
  SortedRows(const Locale& locale, int column, bool ascending)
      : locale_(locale), column_(column), ascending_(ascending) {}

  void Clear() override { rows_.clear(); }
  void Append(ListRow row) override { rows_.push_back({std::move(row), false}); }
  size_t RowCount() const override { return rows_.size(); }
  void Reserve(size_t rows) override { rows_.reserve(rows); }
  void Resort() override;

  void SetSort(int column, bool ascending) {
    column_ = column;
    ascending_ = ascending;
  }
  const RowList& rows() const { return rows_; }
  RowList& rows() { return rows_; }

 private:
  const Locale& locale_;
  int column_;
  bool ascending_;
  RowList rows_;
};

}  // namespace rw
