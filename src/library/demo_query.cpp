#include "library/demo_query.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <utility>

#include "library/search_text.h"

namespace rw {
namespace {

struct FieldName {
  std::string_view name;
  QueryField field;
};

constexpr std::array<FieldName, 11> kFields = {{
    {"map", QueryField::kMap},
    {"player", QueryField::kPlayer},
    {"mod", QueryField::kMod},
    {"type", QueryField::kType},
    {"host", QueryField::kHost},
    {"in", QueryField::kIn},
    {"proto", QueryField::kProtocol},
    {"rating", QueryField::kRating},
    {"after", QueryField::kAfter},
    {"before", QueryField::kBefore},
    {"len", QueryField::kLength},
}};

// The short names players use for the game types, and the type each names.
constexpr std::array<std::pair<std::string_view, std::string_view>, 9> kTypeShortForms = {{
    {"ffa", "free for all"},
    {"duel", "tournament"},
    {"1v1", "tournament"},
    {"tourney", "tournament"},
    {"sp", "singleplayer"},
    {"tdm", "team deathmatch"},
    {"ctf", "capture the flag"},
    {"1fctf", "one flag ctf"},
    {"oneflag", "one flag ctf"},
}};

bool IsBlank(char c) {
  return c == ' ';
}

bool IsAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
  return lower;
}

std::optional<int64_t> WholeNumber(std::string_view text) {
  if (text.empty() || text.size() > 12) return std::nullopt;
  int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 0) return std::nullopt;
  return value;
}

// Seconds of "90s", "10m", "1h30m", "2h", a bare number of minutes, or "1:30:00" / "10:00".
std::optional<int64_t> Duration(std::string_view text) {
  if (text.find(':') != std::string_view::npos) {
    int64_t seconds = 0;
    int parts = 0;
    size_t start = 0;
    while (start <= text.size()) {
      const size_t colon = std::min(text.find(':', start), text.size());
      const std::optional<int64_t> part = WholeNumber(text.substr(start, colon - start));
      if (!part || ++parts > 3 || (parts > 1 && *part > 59)) return std::nullopt;
      seconds = seconds * 60 + *part;
      start = colon + 1;
    }
    return parts >= 2 ? std::optional<int64_t>(seconds) : std::nullopt;
  }
  if (const std::optional<int64_t> minutes = WholeNumber(text)) return *minutes * 60;
  int64_t seconds = 0;
  size_t at = 0;
  while (at < text.size()) {
    size_t digits = at;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') ++digits;
    const std::optional<int64_t> amount = WholeNumber(text.substr(at, digits - at));
    if (!amount || digits == text.size()) return std::nullopt;
    const char unit = static_cast<char>(text[digits] | 0x20);
    if (unit == 'h') {
      seconds += *amount * 3600;
    } else if (unit == 'm') {
      seconds += *amount * 60;
    } else if (unit == 's') {
      seconds += *amount;
    } else {
      return std::nullopt;
    }
    at = digits + 1;
  }
  return seconds;
}

// YYYY, YYYY-MM or YYYY-MM-DD as the first moment of that period, YYYYMMDDhhmmss.
std::optional<int64_t> DayStart(std::string_view text) {
  int64_t parts[3] = {0, 1, 1};
  const size_t widths[3] = {4, 2, 2};
  size_t at = 0;
  for (int part = 0; part < 3; ++part) {
    if (part > 0) {
      if (at == text.size()) break;
      if (text[at] != '-') return std::nullopt;
      ++at;
    }
    const std::string_view digits = text.substr(at, widths[part]);
    const std::optional<int64_t> value = WholeNumber(digits);
    if (digits.size() != widths[part] || !value) return std::nullopt;
    parts[part] = *value;
    at += widths[part];
  }
  if (at != text.size() || parts[1] < 1 || parts[1] > 12 || parts[2] < 1 || parts[2] > 31) {
    return std::nullopt;
  }
  return ((parts[0] * 100 + parts[1]) * 100 + parts[2]) * 1000000;
}

class Parser {
 public:
  // Control characters, which no one types, count as blanks.
  explicit Parser(std::string_view query) : text_(query), query_(text_) {
    for (char& c : text_) c = static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
  }

  ParsedQuery Run() {
    ParsedQuery parsed;
    while (true) {
      while (at_ < query_.size() && IsBlank(query_[at_])) ++at_;
      if (at_ == query_.size()) break;
      if (!Term(parsed.query)) {
        parsed.query.terms.clear();
        parsed.error = error_;
        break;
      }
    }
    return parsed;
  }

 private:
  bool Fail(size_t at, std::string reason) {
    size_t column = 1;
    for (size_t i = 0; i < at && i < query_.size(); ++i) {
      // Continuation bytes of UTF-8 belong to the character before them.
      if ((static_cast<unsigned char>(query_[i]) & 0xC0) != 0x80) ++column;
    }
    error_ = {column, std::move(reason)};
    return false;
  }

  // A phrase in double quotes; at_ is on the opening quote.
  std::optional<std::string_view> Phrase() {
    const size_t open = at_;
    const size_t close = query_.find('"', open + 1);
    if (close == std::string_view::npos) {
      Fail(open, "the phrase that starts here has no closing quote");
      return std::nullopt;
    }
    at_ = close + 1;
    if (close == open + 1) {
      Fail(open, "an empty phrase finds nothing");
      return std::nullopt;
    }
    return query_.substr(open + 1, close - open - 1);
  }

  std::string_view Word() {
    const size_t start = at_;
    while (at_ < query_.size() && !IsBlank(query_[at_]) && query_[at_] != '"') ++at_;
    return query_.substr(start, at_ - start);
  }

  bool Term(DemoQuery& query) {
    const size_t start = at_;
    QueryTerm term;
    if (query_[at_] == '-') {
      ++at_;
      if (at_ == query_.size() || IsBlank(query_[at_])) {
        return Fail(start, "\"-\" leaves out what follows it, as in -q3dm17");
      }
      term.excluded = true;
    }
    if (query_[at_] == '"') {
      const std::optional<std::string_view> phrase = Phrase();
      if (!phrase) return false;
      term.text = FoldForSearch(*phrase);
      query.terms.push_back(std::move(term));
      return true;
    }
    const size_t wordStart = at_;
    size_t name = at_;
    while (name < query_.size() && IsAsciiLetter(query_[name])) ++name;
    if (name == at_ || name == query_.size() || query_[name] != ':') {
      term.text = FoldForSearch(Word());
      query.terms.push_back(std::move(term));
      return true;
    }
    const std::string fieldName = AsciiLower(query_.substr(at_, name - at_));
    const auto known = std::find_if(kFields.begin(), kFields.end(),
                                    [&](const FieldName& f) { return f.name == fieldName; });
    if (known == kFields.end()) {
      return Fail(wordStart, "there is no field \"" + fieldName +
                                 ":\" (fields: map, player, mod, type, host, in, proto, rating, "
                                 "after, before, len); put a text with a colon in quotes");
    }
    term.field = known->field;
    at_ = name + 1;
    const size_t valueStart = at_;
    std::string value;
    // "=" may stand before a phrase too: map:="my map".
    const bool equalsPhrase =
        at_ + 1 < query_.size() && query_[at_] == '=' && query_[at_ + 1] == '"';
    if (equalsPhrase) {
      ++at_;
      value = "=";
    }
    if (at_ < query_.size() && query_[at_] == '"') {
      const std::optional<std::string_view> phrase = Phrase();
      if (!phrase) return false;
      value += *phrase;
    } else {
      value = Word();
    }
    if (value.empty()) return Fail(valueStart, fieldName + ": needs a value");
    if (!Value(term, fieldName, value, valueStart)) return false;
    query.terms.push_back(std::move(term));
    return true;
  }

  bool Value(QueryTerm& term, const std::string& fieldName, std::string_view value,
             size_t valueStart) {
    const bool numeric = term.field == QueryField::kProtocol || term.field == QueryField::kRating ||
                         term.field == QueryField::kLength;
    const bool date = term.field == QueryField::kAfter || term.field == QueryField::kBefore;
    if (!numeric && !date) {
      if (value[0] == '=') {
        term.whole = true;
        value.remove_prefix(1);
        if (value.empty()) return Fail(valueStart, fieldName + ": needs a text after \"=\"");
      }
      term.text = FoldForSearch(value);
      if (term.field == QueryField::kType && !term.whole) {
        for (const auto& [shortForm, type] : kTypeShortForms) {
          if (term.text == shortForm) {
            term.text = type;
            term.whole = true;
          }
        }
      }
      return true;
    }
    if (date) {
      const std::optional<int64_t> start = DayStart(value);
      if (!start) {
        return Fail(valueStart, fieldName +
                                    ": needs a day as 2001-05-03 (or a month 2001-05, "
                                    "or a year 2001)");
      }
      term.comparison = term.field == QueryField::kAfter ? Comparison::kAtLeast : Comparison::kLess;
      term.number = *start;
      return true;
    }
    static constexpr std::array<std::pair<std::string_view, Comparison>, 5> kOperators = {{
        {">=", Comparison::kAtLeast},
        {"<=", Comparison::kAtMost},
        {">", Comparison::kGreater},
        {"<", Comparison::kLess},
        {"=", Comparison::kEqual},
    }};
    for (const auto& [text, comparison] : kOperators) {
      if (value.starts_with(text)) {
        term.comparison = comparison;
        value.remove_prefix(text.size());
        valueStart += text.size();
        break;
      }
    }
    const std::optional<int64_t> number =
        term.field == QueryField::kLength ? Duration(value) : WholeNumber(value);
    if (!number) {
      return Fail(valueStart, term.field == QueryField::kLength
                                  ? "len: needs a play time, as in len:>10m, len:<90s or "
                                    "len:>=1h30m"
                                  : fieldName + ": needs a whole number, as in " + fieldName +
                                        (term.field == QueryField::kRating ? ":>=4" : ":68"));
    }
    term.number = *number;
    return true;
  }

  std::string text_;
  std::string_view query_;
  size_t at_ = 0;
  QueryError error_;
};

}  // namespace

ParsedQuery ParseDemoQuery(std::string_view query) {
  return Parser(query).Run();
}

std::string QueryErrorText(const QueryError& error) {
  return "Column " + std::to_string(error.column) + ": " + error.reason;
}

}  // namespace rw
