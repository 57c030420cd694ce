#include "model/demo_file_commands.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "host/fake/fake_host.h"
#include "support/test_files.h"

namespace rw {
namespace {

using test::TempDir;
using test::WriteBytes;

class DemoFileTest : public ::testing::Test {
 protected:
  ListRow Demo(const std::string& name, const std::string& protocol) {
    WriteBytes(dir.Join(name), "demo " + name);
    ListRow row;
    row[kDemonameColumn] = name;
    row[kLocationColumn] = dir.path();
    row[kProtocolColumn] = protocol;
    row[kModColumn] = "baseq3";
    return row;
  }
  bool Exists(const std::string& name) const { return std::filesystem::exists(dir.Join(name)); }

  TempDir dir;
  FakeFileSystem files;
  FakeMessages messages;
};

TEST_F(DemoFileTest, RenamingAddsTheExtensionOfTheDemosGeneration) {
  EXPECT_EQ(RenameDemoFile(files, messages, Demo("old.dm3", "43"), "final"), "final.dm3");
  EXPECT_TRUE(Exists("final.dm3"));
  EXPECT_FALSE(Exists("old.dm3"));
  EXPECT_FALSE(Exists("final"));

  EXPECT_EQ(RenameDemoFile(files, messages, Demo("old.dm_48", "48"), "final"), "final.dm_48");
  EXPECT_TRUE(Exists("final.dm_48"));
  EXPECT_FALSE(Exists("old.dm_48"));

  // Already carrying it, in any case.
  EXPECT_EQ(RenameDemoFile(files, messages, Demo("b.dm3", "43"), "Cup.DM3"), "Cup.DM3");
  EXPECT_TRUE(Exists("Cup.DM3"));
  // Protocol 46 gets no extension.
  EXPECT_EQ(RenameDemoFile(files, messages, Demo("c.dm3", "46"), "third"), "third");
  // Later demos keep their own: 67 its own, a 68 client on a server giving 71 the file's, one
  // that could not be read the one it had.
  EXPECT_EQ(RenameDemoFile(files, messages, Demo("d.dm_67", "67"), "duel"), "duel.dm_67");
  EXPECT_EQ(RenameDemoFile(files, messages, Demo("e.DM_68", "71"), "run"), "run.dm_68");
  EXPECT_EQ(RenameDemoFile(files, messages, Demo("f.dm_91", "N/A"), "ql"), "ql.dm_91");
  EXPECT_TRUE(Exists("duel.dm_67") && Exists("run.dm_68") && Exists("ql.dm_91"));
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(DemoFileTest, BlanksAndUmlautsAreRefusedAndTheFileKeepsItsName) {
  const ListRow row = Demo("old.dm3", "43");
  EXPECT_EQ(RenameDemoFile(files, messages, row, "my final.dm3"), "old.dm3");
  EXPECT_EQ(RenameDemoFile(files, messages, row, "my final"), "old.dm3");
  EXPECT_EQ(RenameDemoFile(files, messages, row, "sp\xE4t.dm3"), "old.dm3");
  EXPECT_EQ(RenameDemoFile(files, messages, row, "gro\xDF"), "old.dm3");
  EXPECT_TRUE(Exists("old.dm3"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
  ASSERT_EQ(messages.shown.size(), 4u);
  for (const FakeMessages::Shown& shown : messages.shown) {
    EXPECT_EQ(shown.caption, "Rename error");
    EXPECT_EQ(shown.text, "Demonames with spaces and some special chars are not allowed");
    EXPECT_EQ(shown.icon, MessageIcon::kError);
  }
  // Capital umlauts are not among them.
  EXPECT_EQ(RenameDemoFile(files, messages, row, "\xC4rger.dm3"), "\xC4rger.dm3");
}

TEST_F(DemoFileTest, ARenameToATakenNameSaysSoAndKeepsTheOldName) {
  const ListRow row = Demo("old.dm3", "43");
  Demo("taken.dm3", "43");
  EXPECT_EQ(RenameDemoFile(files, messages, row, "taken.dm3"), "old.dm3");
  // The first rename works, the second one meets an existing file: all is put back.
  EXPECT_EQ(RenameDemoFile(files, messages, row, "taken"), "old.dm3");
  EXPECT_TRUE(Exists("old.dm3"));
  EXPECT_FALSE(Exists("taken"));
  EXPECT_EQ(RenameDemoFile(files, messages, row, "../up.dm3"), "old.dm3");
  ASSERT_EQ(messages.shown.size(), 3u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(messages.shown[i].caption, "Rename error");
    EXPECT_EQ(messages.shown[i].text, "The name taken.dm3 is already taken in\r\n" + dir.path());
  }
  EXPECT_EQ(messages.shown[2].text, "Your OS has denied the renaming");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

TEST_F(DemoFileTest, DeleteWithoutATrashSaysSoAndDeletesForGood) {
  RowList list = {ListItem{Demo("a.dm3", "43"), true}, ListItem{Demo("b.dm3", "43"), false},
                  ListItem{Demo("c.dm3", "43"), true}};
  list[2].columns[kDemonameColumn] = "gone.dm3";  // a file that no longer exists
  EXPECT_FALSE(DeleteSelectedDemos(files, messages, list, dir.path()));
  EXPECT_EQ(list.size(), 3u);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].caption, "Really Delete Demo Files ?");
  EXPECT_EQ(messages.shown[0].text,
            "Really delete the 2 selected file(s) from\r\n" + dir.path() +
                " ?\r\nThis drive has no trash: they are deleted for good.");
  EXPECT_EQ(messages.shown[0].buttons, MessageButtons::kYesNoDefaultNo);

  messages.answers.push_back(MessageAnswer::kYes);
  EXPECT_TRUE(DeleteSelectedDemos(files, messages, list, dir.path()));
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].columns[kDemonameColumn], "b.dm3");
  EXPECT_FALSE(Exists("a.dm3"));
  EXPECT_TRUE(Exists("b.dm3"));
  EXPECT_TRUE(Exists("c.dm3"));
}

TEST_F(DemoFileTest, DeleteMovesToTheTrashAndAFileThatStaysKeepsItsRow) {
  TempDir home;
  FakeFileSystem withTrash(FreedesktopTrash(home.Join("Trash"), false, ::getuid()));
  RowList list = {ListItem{Demo("a.dm3", "43"), true}, ListItem{Demo("b.dm3", "43"), true},
                  ListItem{Demo("c.dm3", "43"), false}};
  withTrash.failRenames.push_back(dir.Join("b.dm3"));
  messages.answers.push_back(MessageAnswer::kYes);
  EXPECT_TRUE(DeleteSelectedDemos(withTrash, messages, list, dir.path()));
  EXPECT_EQ(messages.shown[0].text, "Really delete the 2 selected file(s) from\r\n" + dir.path() +
                                        " ?\r\nThey go to the trash.");
  EXPECT_FALSE(Exists("a.dm3"));
  EXPECT_EQ(test::ReadBytes(home.Join("Trash/files/a.dm3")), "demo a.dm3");
  EXPECT_TRUE(std::filesystem::exists(home.Join("Trash/info/a.dm3.trashinfo")));
  EXPECT_TRUE(Exists("b.dm3"));
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].columns[kDemonameColumn], "b.dm3");
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[1].caption, "Delete Error");
  EXPECT_EQ(messages.shown[1].text, "Could not move to the trash:\r\n" + dir.Join("b.dm3"));
}

TEST_F(DemoFileTest, PropertiesOpenOnlyForOneRowWhoseFileIsThere) {
  AppState app;
  RowList list = {ListItem{Demo("a.dm3", "43"), true}, ListItem{Demo("b.dm3", "43"), false}};
  EXPECT_EQ(RowForProperties(files, messages, list, app), std::optional<size_t>(0));
  app.RaiseBusy();
  EXPECT_EQ(RowForProperties(files, messages, list, app), std::nullopt);
  app.LowerBusy();
  list[1].selected = true;
  EXPECT_EQ(RowForProperties(files, messages, list, app), std::nullopt);
  EXPECT_TRUE(messages.shown.empty());

  list[0].selected = false;
  std::filesystem::remove(dir.Join("b.dm3"));
  EXPECT_EQ(RowForProperties(files, messages, list, app), std::nullopt);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].caption, "File not more available");
  EXPECT_EQ(messages.shown[0].text, "File not found: " + dir.Join("b.dm3"));
  EXPECT_EQ(messages.shown[0].icon, MessageIcon::kInformation);

  // An archive row needs its archive.
  list[1].columns[kLocationColumn] = dir.Join("pack.zip");
  EXPECT_EQ(RowForProperties(files, messages, list, app), std::nullopt);
  WriteBytes(dir.Join("pack.zip"), "PK");
  EXPECT_EQ(RowForProperties(files, messages, list, app), std::optional<size_t>(1));
}

TEST(DemoSource, ArchiveMembersAreReadFromTheirArchive) {
  ListRow row;
  row[kDemonameColumn] = "final.dm_48";
  row[kLocationColumn] = "/demos";
  row[kModColumn] = "baseq3";
  EXPECT_EQ(DemoSourceOf(row), (DemoSource{"/demos/final.dm_48", ""}));
  row[kLocationColumn] = "/demos/cup.zip";
  EXPECT_EQ(DemoSourceOf(row), (DemoSource{"final.dm_48", "/demos/cup.zip"}));
  row[kArchiveLocationColumn] = "demos\\day1";
  EXPECT_EQ(DemoSourceOf(row), (DemoSource{"demos\\day1\\final.dm_48", "/demos/cup.zip"}));
}

}  // namespace
}  // namespace rw
