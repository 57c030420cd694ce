#include "library/folder_branch_scan.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "host/fake/fake_host.h"
#include "library/folder_has_demos.h"
#include "support/test_files.h"
#include "support/zip_writer.h"

namespace rw {
namespace {

namespace fs = std::filesystem;

constexpr FolderColours kColours{0x000000, 0x808080};

class FolderBranchScanTest : public ::testing::Test {
 protected:
  FolderBranchScanTest() : tree(locale), context{files, kColours, dir.Join("game"), {}} {
    context.showPath = [this](const std::string& path) { shownPaths.push_back(path); };
  }

  void Touch(const std::string& relative, std::string_view bytes = "x") {
    test::WriteBytes(dir.Join(relative), bytes);
  }

  FixedLocale locale;
  FolderTree tree;
  FakeFileSystem files;
  test::TempDir dir;
  BranchContext context;
  std::vector<std::string> shownPaths;
};

TEST_F(FolderBranchScanTest, DemoFilesAndArchivesWithDemoMembersMakeADemoFolder) {
  Touch("plain/a.DM3");
  Touch("new/b.dm_48");
  Touch("zipped/pack.zip", test::ZipBytes({{"sub/deep/x.dm_48", "d"}}));
  Touch("other/pack.pk3", test::ZipBytes({{"notes.dmx", "d"}, {"readme.txt", "r"}}));
  Touch("other/.dm3-like.txt");
  fs::create_directories(dir.Join("other/folder.dm3"));
  Touch("nothing/readme.txt");
  EXPECT_TRUE(FolderHasDemos(files, dir.Join("plain")));
  EXPECT_TRUE(FolderHasDemos(files, dir.Join("new")));
  EXPECT_TRUE(FolderHasDemos(files, dir.Join("zipped")));
  EXPECT_TRUE(FolderHasDemos(files, dir.Join("other")));  // the folder named *.dm3 counts
  fs::remove(dir.Join("other/folder.dm3"));
  EXPECT_FALSE(FolderHasDemos(files, dir.Join("other")));  // notes.dmx is not a demo
  EXPECT_FALSE(FolderHasDemos(files, dir.Join("nothing")));
  EXPECT_FALSE(FolderHasDemos(files, dir.Join("missing")));
}

TEST_F(FolderBranchScanTest, SelfExtractingArchivesCountOnlyWhenTheyAreArchives) {
  Touch("sfx/setup.exe", test::ZipBytes({{"x.dm3", "d"}}, test::ExecutableStub(512)));
  Touch("program/tool.exe", test::ExecutableStub(512) + "no zip here");
  EXPECT_TRUE(FolderHasDemos(files, dir.Join("sfx")));
  EXPECT_FALSE(FolderHasDemos(files, dir.Join("program")));
}

TEST_F(FolderBranchScanTest, BranchesAreBuiltColouredAndExpandedTowardsDemos) {
  Touch("root/b/deep/found.dm3");
  Touch("root/a/readme.txt");
  fs::create_directories(dir.Join("root/c"));
  fs::create_directories(dir.Join("root/.hidden/x"));
  FolderNode& root = AddBranch(tree, dir.Join("root") + "/", context);
  EXPECT_EQ(root.text, dir.Join("root"));
  EXPECT_EQ(tree.selected(), &root);
  EXPECT_EQ(root.colour, kColours.nonDemo);
  ASSERT_EQ(root.children.size(), 3u);
  FolderNode& a = *root.children[0];
  FolderNode& b = *root.children[1];
  EXPECT_EQ(a.text, "a");
  EXPECT_EQ(b.text, "b");
  EXPECT_EQ(root.children[2]->text, "c");
  ASSERT_EQ(b.children.size(), 1u);
  FolderNode& deep = *b.children[0];
  EXPECT_EQ(deep.colour, kColours.demo);
  EXPECT_EQ(deep.image, 2);
  EXPECT_TRUE(b.expanded);
  EXPECT_TRUE(root.expanded);
  EXPECT_FALSE(a.expanded);
  EXPECT_EQ(b.colour, kColours.nonDemo);
  EXPECT_NE(std::find(shownPaths.begin(), shownPaths.end(), dir.Join("root/b/deep")),
            shownPaths.end());
}

TEST_F(FolderBranchScanTest, ALinkBackUpTheTreeDoesNotLoop) {
  fs::create_directories(dir.Join("root/sub"));
  fs::create_directory_symlink(dir.Join("root"), dir.Join("root/sub/back"));
  FolderNode& root = AddBranch(tree, dir.Join("root"), context);
  EXPECT_LT(tree.FlatOrder().size(), 5u);
  EXPECT_EQ(root.children.size(), 1u);
}

TEST_F(FolderBranchScanTest, RescanKeepsTheBranchPlaceAndReselectsTheOldNode) {
  fs::create_directories(dir.Join("a"));
  fs::create_directories(dir.Join("b/keep"));
  fs::create_directories(dir.Join("c"));
  AddBranch(tree, dir.Join("a"), context);
  FolderNode& b = AddBranch(tree, dir.Join("b"), context);
  AddBranch(tree, dir.Join("c"), context);
  tree.Select(b.children[0].get());
  Touch("b/new/x.dm3");
  FolderNode* selected = RescanBranch(tree, context);
  ASSERT_EQ(tree.roots().size(), 3u);
  EXPECT_EQ(tree.roots()[1]->text, dir.Join("b"));
  ASSERT_NE(selected, nullptr);
  EXPECT_EQ(NodePath(*selected), dir.Join("b/keep"));
  ASSERT_EQ(tree.roots()[1]->children.size(), 2u);
  EXPECT_EQ(tree.roots()[1]->children[0]->text, "keep");
  EXPECT_EQ(tree.roots()[1]->children[1]->colour, kColours.demo);

  fs::remove_all(dir.Join("b/keep"));
  selected = RescanBranch(tree, context);
  EXPECT_EQ(selected, tree.roots()[1].get());
}

}  // namespace
}  // namespace rw
