#include "playback/console_text.h"

#include <gtest/gtest.h>

namespace rw {
namespace {

// What ioquake3's command buffer and tokenizer act on: blanks and control characters end a
// word, '"' opens a quote, ';' ends a command, "//" and "/*" open comments.
TEST(ConsoleText, OnlyPlainPrintableWordsPlayAsTheyAre) {
  for (const char* word : {"rwttmp00.dm_48", "cup/final.dm_48", "SUB\\Q3DM6", "a*b/c", "x*/y"}) {
    EXPECT_TRUE(IsConsoleWord(word)) << word;
  }
  for (const char* word : {"", "a b.dm_48", "a;b.dm_48", "q\"uote.dm_48", "a//b", "a/*b",
                           "tab\t.dm3", "nl\n.dm3", "del\x7f.dm3", "b\xe4r.dm_48"}) {
    EXPECT_FALSE(IsConsoleWord(word)) << word;
  }
}

TEST(ConsoleText, DropsWhatTheConsoleWouldActOn) {
  EXPECT_EQ(ConsoleText("a;set rwtpwned 1;b.dm_48"), "aset rwtpwned 1b.dm_48");
  EXPECT_EQ(ConsoleText("q\"uote.dm_48"), "quote.dm_48");
  EXPECT_EQ(ConsoleText("line\r\nquit\x01\x1f\x7f.dm3"), "linequit.dm3");
  EXPECT_EQ(ConsoleText("x/*y*/z//w.dm_48"), "x*y*/z/w.dm_48");
  // A comment opened only once the characters between are gone is closed too.
  EXPECT_EQ(ConsoleText("a/;/b/\"*c"), "a/b*c");
  EXPECT_EQ(ConsoleText("///"), "/");
  // Blanks, colour codes and letters beyond ASCII show as they are.
  EXPECT_EQ(ConsoleText("^1first one b\xe4r.dm_48"), "^1first one b\xe4r.dm_48");
}

}  // namespace
}  // namespace rw
