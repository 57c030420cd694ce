#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rw {

// What one term of a search looks at. Free words look at the name, map, host, players, mod,
// winner and notes of a demo.
enum class QueryField {
  kWords,
  kMap,
  kPlayer,
  kMod,
  kType,
  kHost,
  kIn,
  kProtocol,
  kRating,
  kAfter,
  kBefore,
  kLength,
};

enum class Comparison { kEqual, kLess, kAtMost, kGreater, kAtLeast };

// One term: a word, a phrase or a field. Text terms hold the folded text (see search_text.h)
// that the field contains, or with whole the text the field equals (a player: one of the
// players). Number terms compare: the protocol, the rating (0 when not rated), the play time
// in seconds, or the recording time as the number YYYYMMDDhhmmss.
struct QueryTerm {
  QueryField field = QueryField::kWords;
  bool excluded = false;
  std::string text;
  bool whole = false;
  Comparison comparison = Comparison::kEqual;
  int64_t number = 0;

  bool operator==(const QueryTerm&) const = default;
};

// Every term must hold (an excluded one must not); no terms match every demo.
struct DemoQuery {
  std::vector<QueryTerm> terms;
};

// Where a query stops parsing (the 1-based character of the query) and why.
struct QueryError {
  size_t column = 1;
  std::string reason;
};

struct ParsedQuery {
  DemoQuery query;
  std::optional<QueryError> error;  // when set, query is empty
};

// The one query language of the filter box, Find Demos and "reelwright-cli find" (UTF-8):
//   fatal1ty "team arena"     free words and phrases
//   -word  -map:q3dm17        a term the demo must not match
//   map: player: mod: host: in:   text a field contains; "=" for the whole text (map:=q3dm1)
//   type:ctf                  game type; ffa, duel, tdm, ctf ... name one type exactly
//   proto:68 rating:>=4 len:>10m  numbers with =, <, <=, >, >= (len: 90s, 10m, 1h30m, 1:30:00)
//   after:2001-05-01 before:2001-06   recorded on or after, or before, a day (month, year)
ParsedQuery ParseDemoQuery(std::string_view query);

// "Column 7: rating: needs a number, as in rating:>=4"
std::string QueryErrorText(const QueryError& error);

}  // namespace rw
