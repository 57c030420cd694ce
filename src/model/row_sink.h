#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace rw {

// One row of the demo list or the play list: the texts of its 26 columns, "Demoname" first.
inline constexpr size_t kListColumnCount = 26;
using ListRow = std::array<std::string, kListColumnCount>;

// A list the folder scan fills: the demo list is emptied and re-sorted by the scan, the play
// list only gets rows appended.
class RowSink {
 public:
  virtual ~RowSink() = default;
  virtual void Clear() = 0;
  virtual void Append(ListRow row) = 0;
  virtual size_t RowCount() const = 0;
  // Room for this many rows, when the list can make it ahead.
  virtual void Reserve(size_t) {}
  // Sorts by the list's current sort column and direction.
  virtual void Resort() = 0;
};

// A list that keeps no rows, only their count: for scans whose rows are not shown.
class CountingRows : public RowSink {
 public:
  void Clear() override { rows = 0; }
  void Append(ListRow) override { ++rows; }
  size_t RowCount() const override { return rows; }
  void Resort() override {}
  size_t rows = 0;
};

}  // namespace rw
