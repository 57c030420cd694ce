#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "host/locale.h"
#include "model/list_row.h"
#include "model/list_rules.h"

namespace rw {

// A row's "Size" in kilobytes ("123 KB" gives 123) and its "Playtime" in seconds.
int64_t RowKilobytes(const ListRow& row);
int64_t RowSeconds(const ListRow& row);

// "3 item(s) selected. 600.00 KB. Playtime: 00:06:00."
std::string SelectionLine(size_t selectedCount, int64_t kilobytes, int64_t seconds,
                          const Locale& locale);

// The size and time sums of one list's selection, kept one row at a time.
class SelectionSums {
 public:
  // A row gained or lost its selection; selectedCount is the list's count afterwards.
  void RowChanged(const ListRow& row, bool selected, size_t selectedCount);
  // The sums of the list's selected rows, counted afresh.
  void Recount(const RowList& list);
  void Clear();
  size_t count() const { return count_; }
  int64_t kilobytes() const { return kilobytes_; }
  int64_t seconds() const { return seconds_; }

 private:
  size_t count_ = 0;
  int64_t kilobytes_ = 0;
  int64_t seconds_ = 0;
};

// What the status bar panels under the demo list (1) and the play list (2) show.
class StatusPanels {
 public:
  explicit StatusPanels(const Locale& locale);

  // A folder listing put its summary line up.
  void ListingDone(std::string summary);
  void DemoRowChanged(const ListRow& row, bool selected, size_t selectedCount);
  void PlayRowChanged(const ListRow& row, bool selected, size_t selectedCount);
  // A list was shown afresh: its panel counts its selected rows again.
  void DemoRowsShown(const RowList& demoList);
  void PlayRowsShown(const RowList& playList);
  // Rows were dropped into the play list: its selected count with the totals of all its rows.
  void RowsDropped(const RowList& playList);
  // The filter box hides rows: "12 of 345 item(s)" stands in for the listing summary; nullopt
  // when every row is shown.
  void DemoListFiltered(std::optional<std::pair<size_t, size_t>> shownOfTotal);
  // The pointer moved over the demo list.
  void PointerMoved(const PointerHint& hint) { panel1_ = hint.status; }

  const std::string& panel1() const { return panel1_; }
  const std::string& panel2() const { return panel2_; }
  // Where panel 1 returns after a pointer hint.
  const std::string& rememberedStatus() const { return remembered_; }

 private:
  void ShowDemoSums();
  void ShowPlaySums();

  const Locale& locale_;
  SelectionSums demoSums_;
  SelectionSums playSums_;
  std::string summary_;
  std::string filtered_;
  std::string remembered_;
  std::string panel1_;
  std::string panel2_;
};

}  // namespace rw
