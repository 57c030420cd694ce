#include "library/index_query.h"

namespace rw {
namespace {

// The FTS5 trigram index finds texts of at least three characters.
constexpr size_t kIndexedCharacters = 3;

size_t Characters(std::string_view utf8) {
  size_t count = 0;
  for (const char c : utf8) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  return count;
}

// The columns of "words" a text term looks in.
std::vector<std::string_view> ColumnsOf(QueryField field) {
  switch (field) {
    case QueryField::kWords:
      return {"name", "map", "host", "players", "mod", "winner", "notes"};
    case QueryField::kMap:
      return {"map"};
    case QueryField::kPlayer:
      return {"players"};
    case QueryField::kMod:
      return {"mod"};
    case QueryField::kType:
      return {"type"};
    case QueryField::kHost:
      return {"host"};
    case QueryField::kIn:
      return {"place"};
    default:
      return {};
  }
}

std::string_view NumberColumn(QueryField field) {
  switch (field) {
    case QueryField::kProtocol:
      return "d.protocol";
    case QueryField::kRating:
      return "d.rating";
    case QueryField::kLength:
      return "d.seconds";
    default:
      return "d.recorded";
  }
}

std::string_view Operator(Comparison comparison) {
  switch (comparison) {
    case Comparison::kLess:
      return "<";
    case Comparison::kAtMost:
      return "<=";
    case Comparison::kGreater:
      return ">";
    case Comparison::kAtLeast:
      return ">=";
    default:
      return "=";
  }
}

// "{map host} : "text"", the text as one FTS5 phrase.
std::string MatchPhrase(const QueryTerm& term) {
  std::string phrase = "{";
  for (const std::string_view column : ColumnsOf(term.field)) {
    if (phrase.size() > 1) phrase += ' ';
    phrase += column;
  }
  phrase += "} : \"";
  for (const char c : term.text) {
    phrase += c;
    if (c == '"') phrase += '"';
  }
  return phrase + "\"";
}

class Compiler {
 public:
  IndexQuery Run(const DemoQuery& query, std::string_view columns, std::string_view joins) {
    for (const QueryTerm& term : query.terms) Add(term);
    IndexQuery compiled;
    std::vector<SqlParameter> parameters;
    std::string match;
    for (const std::string& phrase : positives_) {
      match += match.empty() ? "(" : " AND ";
      match += phrase;
    }
    std::string where = "d.folder IN (SELECT id FROM temp.scope)";
    if (!match.empty()) {
      match += ")";
      for (const std::string& phrase : negatives_) match += " NOT (" + phrase + ")";
      where += " AND w.words MATCH ?";
      parameters.push_back({match});
    } else {
      for (const std::string& phrase : negatives_) {
        where += " AND d.id NOT IN (SELECT rowid FROM words WHERE words MATCH ?)";
        parameters.push_back({phrase});
      }
    }
    for (const std::string& condition : conditions_) where += " AND " + condition;
    parameters.insert(parameters.end(), rowParameters_.begin(), rowParameters_.end());
    compiled.sql =
        "SELECT " + std::string(columns) +
        (match.empty() ? " FROM demos d" : " FROM words w JOIN demos d ON d.id = w.rowid") +
        (readsTexts_ ? " JOIN texts t ON t.id = d.id " : " ") + std::string(joins) + " WHERE " +
        where;
    compiled.parameters = std::move(parameters);
    return compiled;
  }

 private:
  void Add(const QueryTerm& term) {
    if (term.field >= QueryField::kProtocol) {
      conditions_.push_back(std::string(term.excluded ? "NOT " : "") + "coalesce(" +
                            std::string(NumberColumn(term.field)) + " " +
                            std::string(Operator(term.comparison)) + " ?, 0)");
      rowParameters_.push_back({{}, term.number, true});
      return;
    }
    // A text that folds to nothing is in every field.
    if (term.text.empty()) {
      if (term.excluded) conditions_.push_back("0");
      return;
    }
    const bool indexed = Characters(term.text) >= kIndexedCharacters;
    if (indexed && !term.whole) {
      (term.excluded ? negatives_ : positives_).push_back(MatchPhrase(term));
      return;
    }
    // Whole texts contain themselves: the full-text index narrows the rows the comparison looks
    // at, unless an index of the texts themselves finds them.
    const bool textIndexed = term.field == QueryField::kMap || term.field == QueryField::kType;
    if (indexed && !term.excluded && !(term.whole && textIndexed)) {
      positives_.push_back(MatchPhrase(term));
    }
    readsTexts_ = true;
    std::string condition;
    if (term.whole && term.field == QueryField::kPlayer) {
      condition = "instr(char(10) || t.players || char(10), ?) > 0";
      rowParameters_.push_back({"\n" + term.text + "\n"});
    } else {
      for (const std::string_view column : ColumnsOf(term.field)) {
        if (!condition.empty()) condition += " OR ";
        condition += term.whole ? "t." + std::string(column) + " = ?"
                                : "instr(t." + std::string(column) + ", ?) > 0";
        rowParameters_.push_back({term.text});
      }
    }
    conditions_.push_back(std::string(term.excluded ? "NOT " : "") + "(" + condition + ")");
  }

  std::vector<std::string> positives_;
  std::vector<std::string> negatives_;
  std::vector<std::string> conditions_;
  std::vector<SqlParameter> rowParameters_;
  bool readsTexts_ = false;
};

}  // namespace

IndexQuery CompileQuery(const DemoQuery& query, std::string_view columns, std::string_view joins) {
  return Compiler().Run(query, columns, joins);
}

}  // namespace rw
