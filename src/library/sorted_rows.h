#pragma once

#include <functional>
#include <vector>

#include "host/locale.h"
#include "model/list_row.h"
#include "model/row_sink.h"

namespace rw {

// A list's rows in its sort order: the scan fills it, and re-sorting compares the texts of
// the sort column with the locale as the list views do. Rows alike there follow their names,
// then their locations, in the same direction, so a reversed sort reverses the list exactly. A
// filter puts the rows it does not show aside, so that every command works on the rows shown;
// they come back in their place.
class SortedRows : public RowSink {
 public:
  using Filter = std::function<bool(const ListRow&)>;

  SortedRows(const Locale& locale, int column, bool ascending)
      : locale_(locale), column_(column), ascending_(ascending) {}

  void Clear() override {
    rows_.clear();
    hidden_.clear();
  }
  void Append(ListRow row) override { rows_.push_back({std::move(row), false, nextOrder_++}); }
  size_t RowCount() const override { return rows_.size(); }
  void Reserve(size_t rows) override { rows_.reserve(rows); }
  // Sorts every row, those put aside too, and applies the filter again.
  void Resort() override;

  // Shows only the rows the filter accepts (every row without one); hidden rows lose their
  // selection. Whether the rows shown changed.
  bool SetFilter(Filter shows);
  // Applies the filter again, after the rows or what it reads changed.
  bool Refilter();
  bool filtered() const { return static_cast<bool>(filter_); }
  // The rows shown and those put aside.
  size_t TotalCount() const { return rows_.size() + hidden_.size(); }
  const RowList& hidden() const { return hidden_; }
  RowList& hidden() { return hidden_; }

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
  RowList hidden_;
  RowList spareShown_;
  RowList spareHidden_;
  Filter filter_;
  size_t nextOrder_ = 0;
};

}  // namespace rw
