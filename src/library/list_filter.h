#pragma once

#include <functional>
#include <optional>
#include <string>
#include <unordered_map>

#include "host/locale.h"
#include "library/demo_query.h"
#include "library/search_record.h"
#include "model/list_row.h"

namespace rw {

// The demo list's filter box: a query over the list's rows and what the library index knows
// of them besides (players, whole descriptions, recording times). The records a query reads
// are made once per row and kept while the row's notes stay as they were.
class ListFilter {
 public:
  explicit ListFilter(const Locale& locale) : locale_(locale) {}

  // A new text; an error leaves the filter as it was.
  std::optional<QueryError> SetText(const std::string& text);
  const std::string& text() const { return text_; }
  bool active() const { return !query_.terms.empty(); }

  // What the index knows of the listed folder's rows, by RowKey; the records are made anew.
  void SetExtras(std::unordered_map<std::string, RowExtras> extras);
  bool Shows(const ListRow& row);

 private:
  struct Entry {
    SearchRecord record;
    std::string notes;  // the row's four note cells when the record was made
  };

  const Locale& locale_;
  std::string text_;
  DemoQuery query_;
  std::unordered_map<std::string, RowExtras> extras_;
  std::unordered_map<std::string, Entry> records_;
};

}  // namespace rw
