#include <gtest/gtest.h>

#include "host/fake/fake_host.h"
#include "host/icu_locale.h"
#include "library/parse_cache.h"
#include "support/test_files.h"

namespace rw {
namespace {

const std::string kSep(1, '\x01');

CacheFields SampleFields() {
  CacheFields fields;
  for (size_t i = 0; i < fields.size(); ++i) fields[i] = "f" + std::to_string(i + 1);
  return fields;
}

TEST(CacheLine, EveryFieldIsFollowedBySeparator) {
  const std::string line = BuildCacheLine(SampleFields());
  std::string expected;
  for (int i = 1; i <= 21; ++i) expected += "f" + std::to_string(i) + kSep;
  EXPECT_EQ(line, expected);
}

TEST(CacheLine, BytesThatWouldSplitTheLineBecomeBlanks) {
  CacheFields fields = SampleFields();
  fields[9] = "my\x01host\r\nname";
  fields[4] = "q3dm\n7";
  const std::string line = BuildCacheLine(fields);
  EXPECT_EQ(std::count(line.begin(), line.end(), '\x01'), 21);
  EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
  EXPECT_NE(line.find(kSep + "my host  name" + kSep), std::string::npos);
  EXPECT_NE(line.find(kSep + "q3dm 7" + kSep), std::string::npos);
}

TEST(LookupKey, JoinsTheFirstFourFieldsWithoutClosingSeparator) {
  // 2001-05-03 17:04:08 packed: date 0x2AA3, time 0x8884.
  EXPECT_EQ(LookupKey("a.dm3", 1234, 0x2AA38884, ""),
            "a.dm3" + kSep + "1234" + kSep + "715360388" + kSep);
  // Dates from 2044 on have the top bit set and are written as negative numbers.
  EXPECT_EQ(LookupKey("y.dm_48", 7, 0x8C210000, "a.zip\\x"),
            "y.dm_48" + kSep + "7" + kSep + "-1943994368" + kSep + "a.zip\\x");
  EXPECT_EQ(LookupKey("b\x01.dm3", 1, 0, ""), "b .dm3" + kSep + "1" + kSep + "0" + kSep);
}

std::string Line(std::string_view name, std::string_view size, std::string_view time,
                 std::string_view archive, std::string_view rest = "map") {
  return std::string(name) + kSep + std::string(size) + kSep + std::string(time) + kSep +
         std::string(archive) + kSep + std::string(rest) + kSep;
}

TEST(FindCachedLine, FindsALineWhoseKeyMatchesIgnoringCase) {
  FixedLocale locale;
  const std::vector<std::string> lines = {
      Line("a.dm3", "1", "5", ""),           Line("b.dm3", "2", "5", "", "first"),
      Line("B.DM3", "2", "5", "", "second"), Line("b.dm3", "2", "6", ""),
      Line("c.dm_48", "3", "5", "z.zip\\"),
  };
  const std::string key = LookupKey("B.dm3", 2, 5, "");
  // The search ends at the first equal line it meets: here the middle one.
  ASSERT_EQ(FindCachedLine(lines, key, locale), 2u);
  EXPECT_EQ(FindCachedLine(std::vector<std::string>(lines.begin(), lines.begin() + 2), key, locale),
            1u);
  EXPECT_EQ(FindCachedLine(lines, LookupKey("c.dm_48", 3, 5, "z.zip\\"), locale), 4u);
  EXPECT_EQ(FindCachedLine(lines, LookupKey("a.dm3", 1, 5, ""), locale), 0u);
  // Size, time and archive location are part of the key.
  EXPECT_FALSE(FindCachedLine(lines, LookupKey("b.dm3", 3, 5, ""), locale));
  EXPECT_FALSE(FindCachedLine(lines, LookupKey("c.dm_48", 3, 5, "z.zip\\x"), locale));
  EXPECT_FALSE(FindCachedLine({}, key, locale));
}

TEST(FindCachedLine, ShortLinesAndDisorderOnlyMiss) {
  FixedLocale locale;
  // With fewer than four separators the prefix is the line less its last character.
  const std::vector<std::string> shortLines = {"a" + kSep + "1" + kSep + "2" + kSep + "x"};
  EXPECT_EQ(FindCachedLine(shortLines, "a" + kSep + "1" + kSep + "2" + kSep, locale), 0u);
  EXPECT_FALSE(FindCachedLine({"", kSep}, LookupKey("a.dm3", 1, 1, ""), locale));
  const std::vector<std::string> unsorted = {
      Line("z.dm3", "1", "1", ""), Line("m.dm3", "1", "1", ""), Line("a.dm3", "1", "1", "")};
  EXPECT_EQ(FindCachedLine(unsorted, LookupKey("m.dm3", 1, 1, ""), locale), 1u);
  EXPECT_FALSE(FindCachedLine(unsorted, LookupKey("a.dm3", 1, 1, ""), locale));
}

TEST(NewParseCache, KeepsLinesSortedWithoutCaseDuplicates) {
  FixedLocale locale;
  NewParseCache cache(locale);
  cache.Add(Line("b.dm3", "1", "1", ""));
  cache.Add(Line("A.dm3", "1", "1", ""));
  cache.Add(Line("a.DM3", "1", "1", ""));
  cache.Add(Line("c.dm3", "1", "1", ""));
  ASSERT_EQ(cache.lines().size(), 3u);
  EXPECT_EQ(cache.lines()[0], Line("A.dm3", "1", "1", ""));
  EXPECT_EQ(cache.lines()[2], Line("c.dm3", "1", "1", ""));
  EXPECT_EQ(cache.FileText(), Line("A.dm3", "1", "1", "") + "\r\n" + Line("b.dm3", "1", "1", "") +
                                  "\r\n" + Line("c.dm3", "1", "1", "") + "\r\n");
}

// Under a collation, accents and case weigh only after the letters of the whole text; lines
// still order by their keys, so that every line written is found again.
TEST(NewParseCache, UnderTheUsersCollationEveryLineIsFoundByItsKey) {
  const IcuLocale locale("C", "C");
  NewParseCache cache(locale);
  const std::vector<std::string> names = {"d\xc3\xa9mo.dm3",
                                          "demo.dm3",
                                          "_x.dm_48",
                                          "9.dm_48",
                                          "Beta.dm_48",
                                          "alpha.dm_48",
                                          "a\x01"
                                          "b.dm3"};
  for (size_t i = 0; i < names.size(); ++i) {
    // The text after the key runs against the keys' order.
    cache.Add(BuildCacheLine({names[i], "1", "5", "", std::string(1, static_cast<char>('a' + i))}));
  }
  const std::vector<std::string>& lines = cache.lines();
  ASSERT_EQ(lines.size(), names.size());
  for (const std::string& name : names) {
    const std::optional<size_t> found = FindCachedLine(lines, LookupKey(name, 1, 5, ""), locale);
    ASSERT_TRUE(found) << name;
    EXPECT_EQ(lines[*found].substr(0, lines[*found].find(kSep)), CleanCacheField(name));
  }
}

// A cache written before in byte order: a lookup finds its own line or misses, never another.
TEST(FindCachedLine, ACacheInAnotherOrderOnlyMisses) {
  const IcuLocale locale("C", "C");
  const std::vector<std::string> names = {"9.dm_48", "Beta.dm_48", "_x.dm_48", "alpha.dm_48",
                                          "charlie.dm_48"};
  std::vector<std::string> lines;
  for (const std::string& name : names) lines.push_back(Line(name, "1", "5", ""));
  size_t hits = 0;
  for (const std::string& name : names) {
    const std::optional<size_t> found = FindCachedLine(lines, LookupKey(name, 1, 5, ""), locale);
    if (!found) continue;
    ++hits;
    EXPECT_EQ(lines[*found], Line(name, "1", "5", ""));
  }
  EXPECT_GT(hits, 0u);
}

// The finder answers every key as the binary search does, through its hash where the lines
// are in order, and tells whether a cache is in the order the scan writes.
TEST(CachedLineFinder, FindsWhatTheSearchFindsInAnyCache) {
  const IcuLocale locale("C", "C");
  NewParseCache written(locale);
  for (const char* name :
       {"b.dm3", "A.dm3", "d\xc3\xa9mo.dm3", "demo.dm3", "_x.dm_48", "a\xe4.dm3"}) {
    written.Add(Line(name, "1", "5", ""));
  }
  written.Add(Line("a.DM3", "1", "5", "", "other"));
  const std::vector<std::string> sorted = written.lines();
  const std::vector<std::string> caseTwins = {Line("a.dm3", "1", "5", ""),
                                              Line("b.dm3", "2", "5", "", "first"),
                                              Line("B.DM3", "2", "5", "", "second")};
  const std::vector<std::string> twinLines = {Line("a.dm3", "1", "5", ""),
                                              Line("A.DM3", "1", "5", "")};
  const std::vector<std::string> unsorted = {
      Line("m.dm3", "1", "1", ""), Line("a.dm3", "1", "1", ""), Line("z.dm3", "1", "1", "")};
  const std::vector<std::string> keys = {
      LookupKey("b.dm3", 1, 5, ""),         LookupKey("B.DM3", 2, 5, ""),
      LookupKey("a.dm3", 1, 5, ""),         LookupKey("A.DM3", 1, 5, ""),
      LookupKey("DEMO.dm3", 1, 5, ""),      LookupKey("d\xc9mo.dm3", 1, 5, ""),
      LookupKey("a\xc3\x84.dm3", 1, 5, ""), LookupKey("m.dm3", 1, 1, ""),
      LookupKey("a.dm3", 1, 1, ""),         LookupKey("z.dm3", 1, 1, ""),
      LookupKey("c.dm3", 1, 5, ""),         LookupKey("a.dm3", 1, 6, "")};
  for (const std::vector<std::string>* lines : {&sorted, &caseTwins, &twinLines, &unsorted}) {
    const CachedLineFinder finder(*lines, locale);
    for (const std::string& key : keys) {
      EXPECT_EQ(finder.Find(key), FindCachedLine(*lines, key, locale)) << (*lines)[0] << key;
    }
  }
  // The name in upper case, in UTF-8 as the line has it; Windows-1252 bytes are another text.
  const std::optional<size_t> found =
      CachedLineFinder(sorted, locale).Find(LookupKey("D\xc3\x89MO.DM3", 1, 5, ""));
  ASSERT_TRUE(found);
  EXPECT_EQ(sorted[*found], Line("d\xc3\xa9mo.dm3", "1", "5", ""));
  EXPECT_FALSE(CachedLineFinder(sorted, locale).Find(LookupKey("D\xc9MO.DM3", 1, 5, "")));
  EXPECT_EQ(CachedLineFinder(caseTwins, locale).Find(LookupKey("b.dm3", 2, 5, "")), 1u);
  EXPECT_FALSE(CachedLineFinder(unsorted, locale).Find(LookupKey("m.dm3", 1, 1, "")));

  EXPECT_TRUE(CachedLineFinder(sorted, locale).strictlyOrdered());
  EXPECT_TRUE(CachedLineFinder(caseTwins, locale).strictlyOrdered());
  EXPECT_FALSE(CachedLineFinder(twinLines, locale).strictlyOrdered());
  EXPECT_FALSE(CachedLineFinder(unsorted, locale).strictlyOrdered());
}

// Lines of an ordered cache, ordered by their place there, sort and drop duplicates as the
// same lines compared by text do.
TEST(NewParseCache, LinesOfAnOrderedCacheSortAsTheirTexts) {
  const IcuLocale locale("C", "C");
  const std::vector<std::string> old = {Line("a.dm3", "1", "5", ""), Line("b.dm3", "1", "5", ""),
                                        Line("B.dm3", "1", "6", ""), Line("c.dm3", "1", "5", "")};
  ASSERT_TRUE(CachedLineFinder(old, locale).strictlyOrdered());
  NewParseCache byPlace(locale);
  NewParseCache byText(locale);
  for (const size_t i : {3, 0, 2, 0}) {
    byPlace.Add(old[i], i);
    byText.Add(old[i]);
  }
  byPlace.Add(Line("A.DM3", "1", "5", "", "new"));
  byText.Add(Line("A.DM3", "1", "5", "", "new"));
  byPlace.Add(Line("bb.dm3", "1", "5", ""));
  byText.Add(Line("bb.dm3", "1", "5", ""));
  EXPECT_EQ(byPlace.FileText(), byText.FileText());
  EXPECT_EQ(byPlace.lines(), (std::vector<std::string>{
                                 Line("a.dm3", "1", "5", ""), Line("A.DM3", "1", "5", "", "new"),
                                 Line("B.dm3", "1", "6", ""), Line("bb.dm3", "1", "5", ""),
                                 Line("c.dm3", "1", "5", "")}));
}

TEST(ParseCacheFile, IsWrittenWholeAndHiddenAndKeptWhenWritingFails) {
  test::TempDir dir;
  FakeFileSystem files;
  FixedLocale locale;
  const std::string path = dir.Join("rwt_scan");
  EXPECT_TRUE(LoadParseCache(files, path).lines.empty());

  NewParseCache cache(locale);
  cache.Add(Line("a.dm3", "1", "1", ""));
  WriteParseCache(files, path, cache, "");
  EXPECT_EQ(test::ReadBytes(path), Line("a.dm3", "1", "1", "") + "\r\n");
  EXPECT_EQ(files.hidden, std::vector<std::string>{path});
  const OldParseCache old = LoadParseCache(files, path);
  EXPECT_EQ(old.lines, std::vector<std::string>{Line("a.dm3", "1", "1", "")});
  EXPECT_EQ(old.text, Line("a.dm3", "1", "1", "") + "\r\n");

  // The same text again is not written, but the file stays hidden.
  files.failWrites.push_back(path);
  WriteParseCache(files, path, cache, old.text);
  EXPECT_EQ(files.hidden.size(), 2u);

  NewParseCache next(locale);
  next.Add(Line("b.dm3", "1", "1", ""));
  WriteParseCache(files, path, next, old.text);
  EXPECT_EQ(test::ReadBytes(path), Line("a.dm3", "1", "1", "") + "\r\n");
}

}  // namespace
}  // namespace rw
