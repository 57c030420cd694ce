#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "library/demo_query.h"

namespace rw {

// One parameter of a compiled query: a text, or with isNumber a number.
struct SqlParameter {
  std::string text;
  int64_t number = 0;
  bool isNumber = false;
};

// A query as SQL over the index's tables: "demos d" (folder and numbers), "texts t" (the folded
// texts) and the FTS5 table "words w" over them (trigrams). Texts of three characters or more go
// through the FTS5 index, shorter ones and whole-text terms are compared row by row; both find
// what Matches finds in memory.
struct IndexQuery {
  std::string sql;
  std::vector<SqlParameter> parameters;  // in the order of the "?" in sql
};

// Selects columns for the demos of the folders in the table temp.scope (their ids) that match;
// joins are further tables, joined on d.id.
IndexQuery CompileQuery(const DemoQuery& query, std::string_view columns, std::string_view joins);

}  // namespace rw
