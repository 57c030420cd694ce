#include <gtest/gtest.h>

#include "library/demo_query.h"
#include "library/search_record.h"
#include "library/search_text.h"

namespace rw {
namespace {

QueryTerm Text(QueryField field, std::string text, bool excluded = false, bool whole = false) {
  QueryTerm term;
  term.field = field;
  term.text = std::move(text);
  term.excluded = excluded;
  term.whole = whole;
  return term;
}

QueryTerm Number(QueryField field, Comparison comparison, int64_t number, bool excluded = false) {
  QueryTerm term;
  term.field = field;
  term.comparison = comparison;
  term.number = number;
  term.excluded = excluded;
  return term;
}

TEST(DemoQueryTest, EveryKindOfTermParses) {
  const ParsedQuery parsed = ParseDemoQuery(
      "Fatal1ty \"Team  Arena\" -q3dm17 map:=Q3DM1 player:\"cK-fatal\" type:ctf type:capture "
      "-mod:osp host:Tourney in:\"My Demos\" host:=\"A  B\" proto:>=66 rating:4 -rating:<2 "
      "len:>10m "
      "len:<=1h30m len:1:30 after:2001-05-01 before:2001-06 before:2002 MAP:X");
  ASSERT_FALSE(parsed.error) << parsed.error->reason;
  const std::vector<QueryTerm> expected = {
      Text(QueryField::kWords, "fatal1ty"),
      Text(QueryField::kWords, "team  arena"),
      Text(QueryField::kWords, "q3dm17", true),
      Text(QueryField::kMap, "q3dm1", false, true),
      Text(QueryField::kPlayer, "ck-fatal"),
      Text(QueryField::kType, "capture the flag", false, true),
      Text(QueryField::kType, "capture"),
      Text(QueryField::kMod, "osp", true),
      Text(QueryField::kHost, "tourney"),
      Text(QueryField::kIn, "my demos"),
      Text(QueryField::kHost, "a  b", false, true),
      Number(QueryField::kProtocol, Comparison::kAtLeast, 66),
      Number(QueryField::kRating, Comparison::kEqual, 4),
      Number(QueryField::kRating, Comparison::kLess, 2, true),
      Number(QueryField::kLength, Comparison::kGreater, 600),
      Number(QueryField::kLength, Comparison::kAtMost, 5400),
      Number(QueryField::kLength, Comparison::kEqual, 90),
      Number(QueryField::kAfter, Comparison::kAtLeast, 20010501000000),
      Number(QueryField::kBefore, Comparison::kLess, 20010601000000),
      Number(QueryField::kBefore, Comparison::kLess, 20020101000000),
      Text(QueryField::kMap, "x"),
  };
  EXPECT_EQ(parsed.query.terms, expected);
  EXPECT_TRUE(ParseDemoQuery("   ").query.terms.empty());
  EXPECT_FALSE(ParseDemoQuery("   ").error);
}

TEST(DemoQueryTest, BadQueriesSayWhereAndWhy) {
  struct Case {
    const char* query;
    size_t column;
    const char* reason;
  };
  const Case cases[] = {
      {"rating:>=x", 10, "rating: needs a whole number"},
      {"map:q3dm7 \"open", 11, "no closing quote"},
      {"foo:bar", 1, "there is no field \"foo:\""},
      {"http://example.com", 1, "put a text with a colon in quotes"},
      {"a - b", 3, "leaves out what follows"},
      {"player:", 8, "player: needs a value"},
      {"map:=", 5, "map: needs a text after \"="},
      {"after:2001-13-01", 7, "after: needs a day"},
      {"before:01-05-2001", 8, "before: needs a day"},
      {"len:>ten", 6, "len: needs a play time"},
      {"len:1:75", 5, "len: needs a play time"},
      {"\"\"", 1, "an empty phrase"},
      // Columns count characters, not bytes.
      {"Ça été proto:", 14, "proto: needs a value"},
  };
  for (const Case& c : cases) {
    const ParsedQuery parsed = ParseDemoQuery(c.query);
    ASSERT_TRUE(parsed.error) << c.query;
    EXPECT_EQ(parsed.error->column, c.column) << c.query;
    EXPECT_NE(parsed.error->reason.find(c.reason), std::string::npos)
        << c.query << ": " << parsed.error->reason;
    EXPECT_TRUE(parsed.query.terms.empty()) << c.query;
  }
  EXPECT_EQ(QueryErrorText({7, "rating: needs a whole number"}),
            "Column 7: rating: needs a whole number");
}

TEST(DemoQueryTest, FoldingIgnoresCaseAccentsAndColourCodes) {
  EXPECT_EQ(FoldForSearch("STRASSE"), FoldForSearch("Straße"));
  EXPECT_EQ(FoldForSearch("Ça Été Ñandú"), "ca ete nandu");
  EXPECT_EQ(FoldForSearch("ФИНАЛ Ωμέγα"), "финал ωμεγα");
  // Windows-1252 bytes of "Zürich ^1Öl", colour code dropped.
  EXPECT_EQ(FoldedText("Z\xFCrich ^1\xD6l"), "zurich ol");
  EXPECT_EQ(FoldedText("^0cK^3-^7fatal^01^7ty"), "ck-fatal1ty");
  // A name that is not UTF-8 is Windows-1252.
  EXPECT_EQ(FoldedName("caf\xE9.dm3"), "cafe.dm3");
  EXPECT_EQ(FoldedName("caf\xC3\xA9.dm3"), "cafe.dm3");
}

TEST(DemoQueryTest, RecordsMatchAsTheTermsSay) {
  SearchRecord duel;
  duel.name = "final.dm_48";
  duel.map = "ztn3tourney1";
  duel.host = "cpl europe tourney #19";
  duel.players = "ck-fatal1ty\nc58|pele [pk]";
  duel.mod = "osp";
  duel.winner = "ck-fatal1ty";
  duel.notes = "\n\ngreat comeback";
  duel.type = "tournament";
  duel.place = "/demos/cpl.zip/finals";
  duel.protocol = 48;
  duel.rating = 5;
  duel.seconds = 14 * 60 + 50;
  duel.recorded = 20001218203000;
  SearchRecord unknown = duel;
  unknown.protocol.reset();
  unknown.recorded.reset();

  const auto matches = [](const char* query, const SearchRecord& record) {
    const ParsedQuery parsed = ParseDemoQuery(query);
    EXPECT_FALSE(parsed.error) << query;
    return Matches(parsed.query, record);
  };
  for (const char* query :
       {"", "FATAL", "comeback", "pele", "type:duel", "map:ztn3", "map:=ztn3tourney1",
        "player:=\"c58|pele [pk]\"", "in:cpl.zip", "proto:48", "rating:>=4", "len:>14m", "len:<15m",
        "after:2000-12-18", "before:2000-12-19", "-map:q3dm", "-proto:43", "\"europe tourney\"",
        "mod:osp host:cpl"}) {
    EXPECT_TRUE(matches(query, duel)) << query;
  }
  for (const char* query :
       {"q3dm7", "-fatal", "type:ctf", "map:=ztn3", "player:=pele", "in:q3", "proto:<48",
        "rating:<5", "len:>15m", "after:2000-12-19", "before:2000-12-18", "mod:baseq3",
        "fatal -pele", "\"tourney europe\""}) {
    EXPECT_FALSE(matches(query, duel)) << query;
  }
  // A value the demo does not have satisfies no comparison, and so every exclusion.
  EXPECT_FALSE(matches("proto:>0", unknown));
  EXPECT_TRUE(matches("-proto:>0", unknown));
  EXPECT_FALSE(matches("after:1980", unknown));
}

}  // namespace
}  // namespace rw
