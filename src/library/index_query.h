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

// A query as SQL over the index's tables: "demos d" (numbers, raw texts) and the FTS5 table
// "words w" (the folded texts, trigram-indexed). Texts of three characters or more go through
// the FTS5 index, shorter ones and whole-text terms are compared row by row; both find what
// Matches finds in memory.
struct IndexQuery {
  std::string sql;
  std::vector<SqlParameter> parameters;  // in the order of the "?" in sql
};

// Selects columns (of d) for the demos of the folders in the table temp.scope that match.
IndexQuery CompileQuery(const DemoQuery& query, std::string_view columns);

}  // namespace rw
