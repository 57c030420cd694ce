#include "text/user_text.h"

#include <gtest/gtest.h>

namespace rw {
namespace {

// UTF-8 as RFC 3629 writes it: "Great final — naïve €", and the Windows-1252 bytes that
// `iconv -f UTF-8 -t WINDOWS-1252` makes of it.
const std::string kLatin = "Great final \xe2\x80\x94 na\xc3\xafve \xe2\x82\xac";
const std::string kLatinBytes = "Great final \x97 na\xefve \x80";

TEST(UserText, TextThatFitsWindows1252KeepsTheOldFileFormat) {
  EXPECT_EQ(UserTextFileBytes(kLatin), kLatinBytes);
  EXPECT_EQ(UserTextOfFile(kLatinBytes), kLatin);
  EXPECT_EQ(UserTextToWindows1252(kLatin), kLatinBytes);

  // Every byte of an old file, the five the code page leaves undefined too, is written back
  // as it was read.
  std::string every;
  for (int b = 0; b < 256; ++b) every += static_cast<char>(b);
  EXPECT_EQ(UserTextFileBytes(UserTextOfFile(every)), every);
}

TEST(UserText, OtherTextIsUtf8AfterAByteOrderMark) {
  // Привет, 決勝 and U+1F3AE (a video game) in UTF-8.
  for (const std::string text :
       {"Great final \xe2\x80\x94 \xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82, na\xc3\xafve",
        "\xe6\xb1\xba\xe5\x8b\x9d", "rail \xf0\x9f\x8e\xae"}) {
    EXPECT_EQ(UserTextToWindows1252(text), std::nullopt) << text;
    const std::string bytes = UserTextFileBytes(text);
    EXPECT_EQ(bytes, "\xef\xbb\xbf" + text);
    EXPECT_EQ(UserTextOfFile(bytes), text);
  }
  // Bytes that are no UTF-8 at all are kept too.
  EXPECT_EQ(UserTextOfFile(UserTextFileBytes("a\xff")), "a\xff");
}

}  // namespace
}  // namespace rw
