#include <gtest/gtest.h>

#include "library/demo_row.h"
#include "library/parse_cache.h"
#include "library/scan_status.h"

namespace rw {
namespace {

class CommaLocale : public FixedLocale {
 public:
  char DecimalSeparator() const override { return ','; }
};

// A line whose fields 2 to 4 are given, the rest empty.
ListRow RowOf(const std::string& size, const std::string& time, const std::string& archive) {
  CacheFields fields;
  fields[0] = "a.dm3";
  fields[1] = size;
  fields[2] = time;
  fields[3] = archive;
  return RowFromCacheLine(BuildCacheLine(fields), "/d", {}, FixedLocale());
}

TEST(RowFromCacheLine, SizeInKilobytesRoundedHalfToEven) {
  EXPECT_EQ(RowOf("900", "0", "")[1], "1 KB");
  EXPECT_EQ(RowOf("512", "0", "")[1], "0 KB");
  EXPECT_EQ(RowOf("1536", "0", "")[1], "2 KB");
  EXPECT_EQ(RowOf("2560", "0", "")[1], "2 KB");
  EXPECT_EQ(RowOf("2561", "0", "")[1], "3 KB");
  EXPECT_EQ(RowOf("2657087", "0", "")[1], "2595 KB");
  EXPECT_EQ(RowOf("x", "0", "")[1], "x");
}

TEST(RowFromCacheLine, RecordedWithTheTimeLeftOutAtMidnight) {
  EXPECT_EQ(RowOf("1", "715360388", "")[2], "2001-05-03 17:04:08");
  // 2001-05-03 00:00:00
  EXPECT_EQ(RowOf("1", std::to_string(0x2AA30000), "")[2], "2001-05-03");
  // 2050-01-01 00:00:02, stored negative.
  EXPECT_EQ(RowOf("1", "-1943994367", "")[2], "2050-01-01 00:00:02");
  EXPECT_EQ(RowOf("1", "soon", "")[2], "soon");
}

TEST(RowFromCacheLine, ArchiveLocationIsTheFolderInsideTheArchive) {
  EXPECT_EQ(RowOf("1", "0", "")[3], "");
  EXPECT_EQ(RowOf("1", "0", "a.zip\\")[3], "");
  EXPECT_EQ(RowOf("1", "0", "a.zip\\x")[3], "x");
  EXPECT_EQ(RowOf("1", "0", "a.zip\\x\\y")[3], "x\\y");
}

TEST(RowFromCacheLine, ConvertsTheFirstColumnsAndAddsLocationAndNotes) {
  FixedLocale locale;
  CacheFields fields;
  fields[0] = "y.dm_48";
  fields[1] = "1536";
  fields[2] = "715360388";
  fields[3] = "a.zip\\x";
  for (size_t i = 4; i < fields.size(); ++i) fields[i] = "v" + std::to_string(i);
  const ListRow row = RowFromCacheLine(BuildCacheLine(fields), "/demos/a.zip",
                                       {"pov", "5", "http://x", "text"}, locale);
  EXPECT_EQ(row[0], "y.dm_48");
  EXPECT_EQ(row[1], "2 KB");
  EXPECT_EQ(row[2], "2001-05-03 17:04:08");
  EXPECT_EQ(row[3], "x");
  for (size_t i = 4; i <= 20; ++i) EXPECT_EQ(row[i], "v" + std::to_string(i));
  EXPECT_EQ(row[21], "/demos/a.zip");
  EXPECT_EQ(row[22], "pov");
  EXPECT_EQ(row[23], "5");
  EXPECT_EQ(row[24], "http://x");
  EXPECT_EQ(row[25], "text");
}

TEST(RowFromCacheLine, MalformedLinesStillGiveWholeRows) {
  FixedLocale locale;
  const ListRow shortRow = RowFromCacheLine(
      "a.dm3\x01"
      "2048\x01tail",
      "/d", {}, locale);
  EXPECT_EQ(shortRow[0], "a.dm3");
  EXPECT_EQ(shortRow[1], "2 KB");
  EXPECT_EQ(shortRow[2], "");
  EXPECT_EQ(shortRow[21], "/d");
  EXPECT_EQ(RowFromCacheLine("bare", "/d", {}, locale)[0], "bare");

  std::string longLine;
  for (int i = 0; i < 30; ++i) longLine += "x\x01";
  const ListRow longRow = RowFromCacheLine(longLine, "/d", {"p", "", "", ""}, locale);
  EXPECT_EQ(longRow[20], "x");
  EXPECT_EQ(longRow[21], "/d");
  EXPECT_EQ(longRow[22], "p");
}

TEST(ScanStatusText, ParsingAndSummaryLines) {
  EXPECT_EQ(ParsingText("/demos/a.dm3"), "Parsing /demos/a.dm3");
  EXPECT_EQ(ScanSummaryText(12, 530, 100, 26552080, 18753, FixedLocale()),
            "12 item(s) loaded in 0.53 sec. 100.00% read from cache. 25.32 MB. Playtime: "
            "05:12:33");
  EXPECT_EQ(ScanSummaryText(3, 1250, 100.0 / 3, 900, 1, CommaLocale()),
            "3 item(s) loaded in 1,25 sec. 33,33% read from cache. 0,88 KB. Playtime: 00:00:01");
  EXPECT_EQ(ScanSummaryText(0, 0, 0, 0, 0, FixedLocale()),
            "0 item(s) loaded in 0.00 sec. 0.00% read from cache. 0.00 KB. Playtime: 00:00:00");
}

}  // namespace
}  // namespace rw
