#include "model/selection_status.h"

#include <charconv>
#include <utility>

#include "demo/display_text.h"
#include "demo/time_text.h"

namespace rw {

int64_t RowKilobytes(const ListRow& row) {
  const std::string& size = row[kSizeColumn];
  if (size.size() <= 3) return 0;
  int64_t kilobytes = 0;
  const char* end = size.data() + size.size() - 3;
  const auto [stop, error] = std::from_chars(size.data(), end, kilobytes);
  return error == std::errc() && stop == end ? kilobytes : 0;
}

int64_t RowSeconds(const ListRow& row) {
  return SecondsFromTime(row[kPlaytimeColumn]);
}

std::string SelectionLine(size_t selectedCount, int64_t kilobytes, int64_t seconds,
                          const Locale& locale) {
  const uint64_t bytes = kilobytes > 0 ? static_cast<uint64_t>(kilobytes) * 1024 : 0;
  const uint32_t time = seconds > 0 ? static_cast<uint32_t>(seconds) : 0;
  return std::to_string(selectedCount) + " item(s) selected. " + FormatSize(bytes, 2, locale) +
         ". Playtime: " + FormatSeconds(time) + ".";
}

void SelectionSums::RowChanged(const ListRow& row, bool selected, size_t selectedCount) {
  count_ = selectedCount;
  if (selectedCount == 0) {
    Clear();
    return;
  }
  const int64_t sign = selected ? 1 : -1;
  kilobytes_ += sign * RowKilobytes(row);
  seconds_ += sign * RowSeconds(row);
}

void SelectionSums::Recount(const RowList& list) {
  Clear();
  for (const ListItem& item : list) {
    if (!item.selected) continue;
    ++count_;
    kilobytes_ += RowKilobytes(item.columns);
    seconds_ += RowSeconds(item.columns);
  }
}

void SelectionSums::Clear() {
  count_ = 0;
  kilobytes_ = 0;
  seconds_ = 0;
}

StatusPanels::StatusPanels(const Locale& locale)
    : locale_(locale), panel2_(SelectionLine(0, 0, 0, locale)) {}

void StatusPanels::ListingDone(std::string summary) {
  demoSums_.Clear();
  summary_ = std::move(summary);
  remembered_ = summary_;
  panel1_ = summary_;
}

void StatusPanels::DemoRowChanged(const ListRow& row, bool selected, size_t selectedCount) {
  demoSums_.RowChanged(row, selected, selectedCount);
  ShowDemoSums();
}

void StatusPanels::PlayRowChanged(const ListRow& row, bool selected, size_t selectedCount) {
  playSums_.RowChanged(row, selected, selectedCount);
  ShowPlaySums();
}

void StatusPanels::DemoRowsShown(const RowList& demoList) {
  demoSums_.Recount(demoList);
  ShowDemoSums();
}

void StatusPanels::PlayRowsShown(const RowList& playList) {
  playSums_.Recount(playList);
  ShowPlaySums();
}

void StatusPanels::DemoListFiltered(std::optional<std::pair<size_t, size_t>> shownOfTotal) {
  filtered_ = shownOfTotal ? std::to_string(shownOfTotal->first) + " of " +
                                 std::to_string(shownOfTotal->second) + " item(s)"
                           : std::string();
  ShowDemoSums();
}

void StatusPanels::ShowDemoSums() {
  remembered_ = demoSums_.count() == 0 ? (filtered_.empty() ? summary_ : filtered_)
                                       : SelectionLine(demoSums_.count(), demoSums_.kilobytes(),
                                                       demoSums_.seconds(), locale_);
  panel1_ = remembered_;
}

void StatusPanels::ShowPlaySums() {
  panel2_ = SelectionLine(playSums_.count(), playSums_.kilobytes(), playSums_.seconds(), locale_);
}

void StatusPanels::RowsDropped(const RowList& playList) {
  int64_t kilobytes = 0;
  int64_t seconds = 0;
  for (const ListItem& item : playList) {
    kilobytes += RowKilobytes(item.columns);
    seconds += RowSeconds(item.columns);
  }
  panel2_ = SelectionLine(SelectedCount(playList), kilobytes, seconds, locale_);
}

}  // namespace rw
