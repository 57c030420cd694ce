#include "library/search_record.h"

#include "demo/time_text.h"
#include "library/search_text.h"

namespace rw {
namespace {

bool Contains(std::string_view text, const QueryTerm& term) {
  return text.find(term.text) != std::string_view::npos;
}

// The field holds the term's text: as a part of it, or as the whole of it.
bool Holds(std::string_view field, const QueryTerm& term) {
  return term.whole ? field == term.text : Contains(field, term);
}

bool HoldsPlayer(std::string_view players, const QueryTerm& term) {
  if (!term.whole) return Contains(players, term);
  size_t start = 0;
  while (start <= players.size()) {
    const size_t end = std::min(players.find('\n', start), players.size());
    if (players.substr(start, end - start) == term.text) return true;
    start = end + 1;
  }
  return false;
}

bool Compare(std::optional<int64_t> value, const QueryTerm& term) {
  if (!value) return false;
  switch (term.comparison) {
    case Comparison::kEqual:
      return *value == term.number;
    case Comparison::kLess:
      return *value < term.number;
    case Comparison::kAtMost:
      return *value <= term.number;
    case Comparison::kGreater:
      return *value > term.number;
    case Comparison::kAtLeast:
      return *value >= term.number;
  }
  return false;
}

bool TermHolds(const QueryTerm& term, const SearchRecord& record) {
  switch (term.field) {
    case QueryField::kWords:
      return Contains(record.name, term) || Contains(record.map, term) ||
             Contains(record.host, term) || Contains(record.players, term) ||
             Contains(record.mod, term) || Contains(record.winner, term) ||
             Contains(record.notes, term);
    case QueryField::kMap:
      return Holds(record.map, term);
    case QueryField::kPlayer:
      return HoldsPlayer(record.players, term);
    case QueryField::kMod:
      return Holds(record.mod, term);
    case QueryField::kType:
      return Holds(record.type, term);
    case QueryField::kHost:
      return Holds(record.host, term);
    case QueryField::kIn:
      return Holds(record.place, term);
    case QueryField::kProtocol:
      return Compare(record.protocol, term);
    case QueryField::kRating:
      return Compare(record.rating, term);
    case QueryField::kLength:
      return Compare(record.seconds, term);
    case QueryField::kAfter:
    case QueryField::kBefore:
      return Compare(record.recorded, term);
  }
  return false;
}

}  // namespace

std::optional<int64_t> NumberOfText(std::string_view text) {
  if (text.empty() || text.size() > 12) return std::nullopt;
  int64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

int64_t RecordedNumber(const LocalDateTime& t) {
  return ((((int64_t{t.year} * 100 + t.month) * 100 + t.day) * 100 + t.hour) * 100 + t.minute) *
             100 +
         t.second;
}

SearchRecord SearchRecordOf(const ListRow& row, const RowExtras& extras) {
  SearchRecord record;
  record.name = FoldedName(row[kDemonameColumn]);
  record.map = FoldedText(row[kMapColumn]);
  record.host = FoldedText(row[kHostnameColumn]);
  record.players = FoldedText(extras.players);
  record.mod = FoldedText(row[kModColumn]);
  record.winner = FoldedText(row[kWinnerColumn]);
  record.notes =
      FoldedUserText(row[kPovColumn] + '\n' + row[kWebColumn] + '\n' + extras.description);
  record.type = FoldedText(row[kGametypeColumn]);
  record.place = FoldedName(row[kLocationColumn] + '/' + row[kArchiveLocationColumn]);
  record.protocol = NumberOfText(row[kProtocolColumn]);
  record.rating = NumberOfText(row[kRatingColumn]).value_or(0);
  record.seconds = SecondsFromTime(row[kPlaytimeColumn]);
  record.recorded = extras.recorded;
  return record;
}

bool Matches(const DemoQuery& query, const SearchRecord& record) {
  for (const QueryTerm& term : query.terms) {
    // A text that folds to nothing is in every field.
    const bool holds =
        (term.text.empty() && term.field < QueryField::kProtocol) || TermHolds(term, record);
    if (holds == term.excluded) return false;
  }
  return true;
}

}  // namespace rw
