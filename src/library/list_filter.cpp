#include "library/list_filter.h"

#include "library/library_index.h"

namespace rw {
namespace {

std::string NoteCells(const ListRow& row) {
  return row[kPovColumn] + '\n' + row[kRatingColumn] + '\n' + row[kWebColumn] + '\n' +
         row[kDescriptionColumn];
}

}  // namespace

std::optional<QueryError> ListFilter::SetText(const std::string& text) {
  ParsedQuery parsed = ParseDemoQuery(text);
  if (parsed.error) return parsed.error;
  text_ = text;
  query_ = std::move(parsed.query);
  return std::nullopt;
}

void ListFilter::SetExtras(std::unordered_map<std::string, RowExtras> extras) {
  extras_ = std::move(extras);
  records_.clear();
}

bool ListFilter::Shows(const ListRow& row) {
  if (query_.terms.empty()) return true;
  std::string key = RowKey(row);
  std::string notes = NoteCells(row);
  auto found = records_.find(key);
  if (found == records_.end() || found->second.notes != notes) {
    RowExtras extras;
    if (const auto known = extras_.find(key); known != extras_.end()) {
      extras = known->second;
    } else {
      // A row the index does not hold: its own description line and the date it shows.
      extras.description = row[kDescriptionColumn];
      if (const std::optional<LocalDateTime> recorded =
              locale_.ParseDateTime(row[kRecordedColumn])) {
        extras.recorded = RecordedNumber(*recorded);
      }
    }
    found =
        records_
            .insert_or_assign(std::move(key), Entry{SearchRecordOf(row, extras), std::move(notes)})
            .first;
  }
  return Matches(query_, found->second.record);
}

}  // namespace rw
