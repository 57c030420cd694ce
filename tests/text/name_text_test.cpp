#include "text/name_text.h"

#include <gtest/gtest.h>

#include "text/utf8_to_windows_1252.h"

namespace rw {
namespace {

// Code points and their UTF-8 bytes as RFC 3629 gives them.
TEST(NameText, OnlyWellFormedUtf8IsTakenAsUtf8) {
  EXPECT_TRUE(IsUtf8("plain.dm_48"));
  EXPECT_TRUE(IsUtf8("b\xc3\xa4r \xd0\xb4\xd0\xb5\xd0\xbc\xd0\xbe \xe2\x82\xac \xf0\x9f\x8e\xae"));
  EXPECT_FALSE(IsUtf8("b\xe4r"));            // Windows-1252
  EXPECT_FALSE(IsUtf8("\xc0\xae"));          // overlong "."
  EXPECT_FALSE(IsUtf8("\xe0\x80\xae"));      // overlong
  EXPECT_FALSE(IsUtf8("\xed\xa0\x80"));      // a surrogate
  EXPECT_FALSE(IsUtf8("\xf4\x90\x80\x80"));  // above U+10FFFF
  EXPECT_FALSE(IsUtf8("\xc3"));              // cut off
  EXPECT_FALSE(IsUtf8("\xe2\x82"));          // cut off
  // Long texts: a bad byte anywhere among runs of ASCII.
  EXPECT_TRUE(
      IsUtf8("0123456789abcdef\xc3\xa4"
             "0123456789"));
  EXPECT_FALSE(
      IsUtf8("0123456789abcdef\xe4"
             "0123456789"));
  EXPECT_FALSE(IsUtf8("01234567\x80"));
  EXPECT_FALSE(IsUtf8("0123456789abcde\xff"));

  EXPECT_EQ(NameToUtf8("b\xc3\xa4r.dm_48"), "b\xc3\xa4r.dm_48");
  EXPECT_EQ(NameToUtf8("b\xe4r.dm_48"), "b\xc3\xa4r.dm_48");
  EXPECT_EQ(ZipNameToUtf8("\xc3\xa9", false), "\xc3\x83\xc2\xa9");  // U+00C3 U+00A9
  EXPECT_EQ(ZipNameToUtf8("\xc3\xa9", true), "\xc3\xa9");
  EXPECT_EQ(ZipNameToUtf8("\x80", true), "\xe2\x82\xac");  // the flag cannot make bytes UTF-8
}

TEST(NameText, CaseFoldsAsWindows1252FoldsItsLetters) {
  // A-Z; U+00C0..U+00DE but U+00D7; U+0160, U+0152, U+017D, U+0178.
  EXPECT_EQ(NameLowerText("AZ\xc3\x80\xc3\x9e\xc3\x97\xc5\xa0\xc5\x92\xc5\xbd\xc5\xb8"),
            "az\xc3\xa0\xc3\xbe\xc3\x97\xc5\xa1\xc5\x93\xc5\xbe\xc3\xbf");
  // Cyrillic is outside Windows-1252 and stays; bytes that are no UTF-8 stay.
  EXPECT_EQ(NameLowerText("\xd0\x94\xc9X"), "\xd0\x94\xc9x");
  EXPECT_EQ(NameLowerText("DEMO \xc3\x84\xe2\x82\xacX\xf0\x9f\x8e\xaeZ\xc3"),
            "demo \xc3\xa4\xe2\x82\xacx\xf0\x9f\x8e\xaez\xc3");
}

TEST(NameText, TypedTextBecomesWindows1252) {
  EXPECT_EQ(Utf8ToWindows1252("J\xc3\xbcrgen \xe2\x82\xac"), "J\xfcrgen \x80");
  EXPECT_EQ(Utf8ToWindows1252("\xd0\x94"), "?");
}

}  // namespace
}  // namespace rw
