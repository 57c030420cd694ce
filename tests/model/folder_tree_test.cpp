#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "host/fake/fake_host.h"
#include "model/folder_tree.h"
#include "model/folder_tree_commands.h"
#include "model/folder_tree_file.h"
#include "support/test_files.h"

namespace rw {
namespace {

namespace fs = std::filesystem;

constexpr FolderColours kColours{0x000000, 0x808080};

class FolderTreeTest : public ::testing::Test {
 protected:
  FolderTreeTest() : tree(locale) {}

  FolderNode* AddBranch(const std::string& path) {
    fs::create_directories(path);
    return tree.AddTopLevel(path, kColours.nonDemo);
  }

  FixedLocale locale;
  FolderTree tree;
  FakeFileSystem files;
  FakeMessages messages;
  test::TempDir dir;
};

TEST_F(FolderTreeTest, LevelsStayOrderedAndPathsJoinNodeTexts) {
  FolderNode* root = tree.AddTopLevel(dir.path(), kColours.demo);
  tree.AddChild(*root, "b", kColours.demo);
  FolderNode* a = tree.AddChild(*root, "a", kColours.demo);
  FolderNode* deep = tree.AddChild(*a, "x", kColours.demo);
  tree.AddChild(*root, "B", kColours.demo);
  ASSERT_EQ(root->children.size(), 3u);
  EXPECT_EQ(root->children[0]->text, "B");  // case-sensitive collation
  EXPECT_EQ(root->children[1]->text, "a");
  EXPECT_EQ(root->children[2]->text, "b");
  EXPECT_EQ(NodePath(*deep), dir.path() + "/a/x");
  EXPECT_EQ(ParentPath(NodePath(*deep)), dir.path() + "/a");
  EXPECT_EQ(ParentPath("C:"), "C:");
  EXPECT_EQ(&BranchRoot(*deep), root);
  EXPECT_EQ(tree.FindNodeByPath(dir.path() + "/a/x"), deep);
  EXPECT_EQ(tree.FindNodeByPath(dir.path() + "/A/x"), nullptr);
  const std::vector<FolderNode*> flat = tree.FlatOrder();
  ASSERT_EQ(flat.size(), 5u);
  EXPECT_EQ(flat[2], a);
  EXPECT_EQ(flat[3], deep);
}

TEST_F(FolderTreeTest, NewFolderNamesCountUpAndDifferInsideTheGameFolder) {
  FolderNode* root = AddBranch(dir.Join("elsewhere"));
  fs::create_directories(dir.Join("elsewhere/New Demo Folder"));
  fs::create_directories(dir.Join("elsewhere/new demo folder (2)"));
  tree.Select(root);
  FolderNode* created = NewFolder(tree, dir.Join("game"), kColours, files);
  ASSERT_NE(created, nullptr);
  EXPECT_EQ(created->text, "New Demo Folder (3)");
  EXPECT_TRUE(fs::is_directory(dir.Join("elsewhere/New Demo Folder (3)")));
  EXPECT_EQ(tree.selected(), created);
  EXPECT_TRUE(root->expanded);
  EXPECT_EQ(created->colour, kColours.nonDemo);

  FolderNode* game = AddBranch(dir.Join("game"));
  tree.Select(game);
  EXPECT_EQ(NewFolder(tree, dir.Join("game"), kColours, files)->text, "NewDemoFolder");
  tree.Select(game);
  EXPECT_EQ(NewFolder(tree, dir.Join("game"), kColours, files)->text, "NewDemoFolder(2)");
}

TEST_F(FolderTreeTest, RenameRefusesBlanksInsideTheGameFolderOnly) {
  FolderNode* game = AddBranch(dir.Join("game"));
  fs::create_directories(dir.Join("game/old"));
  FolderNode* inside = tree.AddChild(*game, "old", kColours.nonDemo);
  EXPECT_FALSE(RenameFolder(tree, *inside, "my demos", dir.Join("game"), files, messages));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].caption, "Rename Folder Problem");
  EXPECT_EQ(messages.shown[0].text, "Don't use spaces and special chars here!");
  EXPECT_EQ(inside->text, "old");
  EXPECT_TRUE(fs::is_directory(dir.Join("game/old")));

  FolderNode* other = AddBranch(dir.Join("other"));
  fs::create_directories(dir.Join("other/old"));
  FolderNode* outside = tree.AddChild(*other, "old", kColours.nonDemo);
  const std::optional<FolderMove> move =
      RenameFolder(tree, *outside, "my demos", dir.Join("game"), files, messages);
  ASSERT_TRUE(move);
  EXPECT_EQ(move->from, dir.Join("other/old"));
  EXPECT_EQ(move->to, dir.Join("other/my demos"));
  EXPECT_EQ(outside->text, "my demos");
  EXPECT_TRUE(fs::is_directory(dir.Join("other/my demos")));

  files.failRenames.push_back(dir.Join("other/my demos"));
  EXPECT_FALSE(RenameFolder(tree, *outside, "x", dir.Join("game"), files, messages));
  EXPECT_EQ(messages.shown.back().text, "Your OS has not allowed the new foldername!");
  EXPECT_EQ(outside->text, "my demos");
}

TEST_F(FolderTreeTest, RenamedNodesOfEveryLevelKeepFullPathsForTheirSubTrees) {
  FolderNode* branch = AddBranch(dir.Join("branch"));
  fs::create_directories(dir.Join("branch/cup/final"));
  FolderNode* cup = tree.AddChild(*branch, "cup", kColours.demo);
  FolderNode* final = tree.AddChild(*cup, "final", kColours.demo);
  tree.AddTopLevel(dir.Join("m"), kColours.nonDemo);

  // A top-level node renamed by its name alone keeps a full path.
  const std::optional<FolderMove> top = RenameFolder(tree, *branch, "z.2004", "", files, messages);
  ASSERT_TRUE(top);
  EXPECT_EQ(top->from, dir.Join("branch"));
  EXPECT_EQ(top->to, dir.Join("z.2004"));
  EXPECT_EQ(branch->text, dir.Join("z.2004"));
  EXPECT_EQ(NodePath(*final), dir.Join("z.2004/cup/final"));
  EXPECT_TRUE(fs::is_directory(dir.Join("z.2004/cup/final")));
  EXPECT_EQ(tree.roots().back().get(), branch);  // re-sorted among the top-level nodes

  // The full form with the same parent, as the edit field shows it, is taken as well.
  ASSERT_TRUE(RenameFolder(tree, *branch, dir.Join("a") + "/", "", files, messages));
  EXPECT_EQ(branch->text, dir.Join("a"));
  EXPECT_EQ(tree.roots().front().get(), branch);
  EXPECT_EQ(tree.FindNodeByPath(dir.Join("a/cup/final")), final);

  ASSERT_TRUE(RenameFolder(tree, *cup, "league", "", files, messages));
  EXPECT_EQ(cup->text, "league");
  EXPECT_EQ(NodePath(*final), dir.Join("a/league/final"));
  EXPECT_TRUE(fs::is_directory(dir.Join("a/league/final")));

  // Names that would move the folder elsewhere are refused before the disk is touched.
  for (const std::string& refused : {dir.path() + "x/a", std::string("x/y"), std::string(".."),
                                     std::string("/"), dir.Join("other/a")}) {
    messages.shown.clear();
    EXPECT_FALSE(RenameFolder(tree, *branch, refused, "", files, messages)) << refused;
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Your OS has not allowed the new foldername!");
  }
  EXPECT_FALSE(RenameFolder(tree, *cup, dir.Join("a/x"), "", files, messages));
  EXPECT_EQ(branch->text, dir.Join("a"));
  EXPECT_EQ(cup->text, "league");
  EXPECT_TRUE(fs::is_directory(dir.Join("a/league/final")));

  // The tree file keeps the full paths.
  FolderTree loaded(locale);
  ASSERT_TRUE(LoadFolderTree(SaveFolderTree(tree), loaded));
  ASSERT_EQ(loaded.roots().size(), 2u);
  EXPECT_EQ(loaded.roots()[0]->text, dir.Join("a"));
  EXPECT_NE(loaded.FindNodeByPath(dir.Join("a/league/final")), nullptr);
}

TEST_F(FolderTreeTest, TheCurrentFolderAndItsRowsFollowARenamedFolder) {
  FolderNode* branch = AddBranch(dir.Join("branch"));
  fs::create_directories(dir.Join("branch/cup"));
  FolderNode* cup = tree.AddChild(*branch, "cup", kColours.demo);
  AppState state;
  state.SetCurrentFolder(dir.Join("branch/cup"));
  const auto row = [](std::string location) {
    ListItem item;
    item.columns[kLocationColumn] = std::move(location);
    return item;
  };
  RowList demoList = {row(dir.Join("branch/cup")), row(dir.Join("branch/cup/pack.zip"))};
  RowList playList = {row(dir.Join("branch/cup")), row(dir.Join("branches/cup")),
                      row(dir.Join("other/branch/cup")), row(dir.Join("branch"))};

  const std::optional<FolderMove> move =
      RenameFolder(tree, *branch, "renamed", "", files, messages);
  ASSERT_TRUE(move);
  FollowFolderMove(*move, state, demoList, playList);
  EXPECT_EQ(state.currentFolder(), dir.Join("renamed/cup"));
  EXPECT_EQ(state.currentFolder(), NodePath(*cup));
  EXPECT_EQ(demoList[0].columns[kLocationColumn], dir.Join("renamed/cup"));
  EXPECT_EQ(demoList[1].columns[kLocationColumn], dir.Join("renamed/cup/pack.zip"));
  EXPECT_EQ(playList[0].columns[kLocationColumn], dir.Join("renamed/cup"));
  EXPECT_EQ(playList[1].columns[kLocationColumn], dir.Join("branches/cup"));
  EXPECT_EQ(playList[2].columns[kLocationColumn], dir.Join("other/branch/cup"));
  EXPECT_EQ(playList[3].columns[kLocationColumn], dir.Join("renamed"));
  // Whole names only: a folder "cu" beside it moves nothing of "cup".
  FollowFolderMove({dir.Join("renamed/cu"), dir.Join("x")}, state, demoList, playList);
  EXPECT_EQ(state.currentFolder(), dir.Join("renamed/cup"));
  EXPECT_EQ(demoList[1].columns[kLocationColumn], dir.Join("renamed/cup/pack.zip"));
}

TEST_F(FolderTreeTest, CuttingNonDemoFoldersPrunesNestedOnesButKeepsDemoFolders) {
  FolderNode* root = tree.AddTopLevel(dir.path(), kColours.nonDemo);
  FolderNode* empty = tree.AddChild(*root, "empty", kColours.nonDemo);
  tree.AddChild(*tree.AddChild(*empty, "inner", kColours.nonDemo), "innermost", kColours.nonDemo);
  FolderNode* demos = tree.AddChild(*root, "demos", kColours.demo);
  tree.AddChild(*demos, "nothing", kColours.nonDemo);
  FolderNode* keeper = tree.AddChild(*root, "keeper", kColours.nonDemo);
  tree.AddChild(*keeper, "has demos", kColours.demo);
  tree.Select(demos);
  CutNonDemoFolders(tree, kColours);
  ASSERT_EQ(root->children.size(), 2u);
  EXPECT_EQ(root->children[0]->text, "demos");
  EXPECT_TRUE(root->children[0]->children.empty());
  EXPECT_EQ(root->children[1]->text, "keeper");
  EXPECT_EQ(root->children[1]->children.size(), 1u);
}

TEST_F(FolderTreeTest, FolderColoursStayApartAndRecolourTheirNodes) {
  FolderNode* root = tree.AddTopLevel(dir.path(), kColours.demo);
  FolderNode* plain = tree.AddChild(*root, "plain", kColours.nonDemo);
  FolderColours colours = kColours;
  EXPECT_FALSE(ChangeFolderColour(tree, colours, true, kColours.nonDemo));
  EXPECT_EQ(colours.demo, kColours.demo);
  EXPECT_TRUE(ChangeFolderColour(tree, colours, false, 0x0000FF));
  EXPECT_EQ(colours.nonDemo, 0x0000FFu);
  EXPECT_EQ(plain->colour, 0x0000FFu);
  EXPECT_EQ(root->colour, kColours.demo);
}

TEST_F(FolderTreeTest, ReadOnlyModeCdRomsAndReadOnlyMountsRefuseDiskChanges) {
  FolderNode* root = AddBranch(dir.Join("branch"));
  tree.Select(root);
  const TreeMenuState writable = TreeMenuStateFor(root, false, files);
  EXPECT_TRUE(writable.newFolder);
  EXPECT_TRUE(writable.removeFromDisk);
  EXPECT_TRUE(writable.rename);
  EXPECT_TRUE(CanEditFolderName(*root, false, files));
  const TreeMenuState readOnly = TreeMenuStateFor(root, true, files);
  EXPECT_FALSE(readOnly.newFolder || readOnly.removeFromDisk || readOnly.rename);
  tree.AddChild(*root, "child", kColours.nonDemo);
  EXPECT_FALSE(TreeMenuStateFor(root, false, files).removeFromDisk);
  EXPECT_FALSE(CanEditFolderName(*root, true, files));

  // A folder's drive is the mount it lies on, not the root of all paths.
  FolderNode* mounted = AddBranch(dir.Join("mnt/disc/sub"));
  FolderNode* beside = AddBranch(dir.Join("mnt/disc2"));
  files.mounts = {dir.Join("mnt/disc")};
  files.readOnlyDrives = {dir.Join("mnt/disc")};
  const TreeMenuState onReadOnly = TreeMenuStateFor(mounted, false, files);
  EXPECT_FALSE(onReadOnly.newFolder || onReadOnly.removeFromDisk || onReadOnly.rename);
  EXPECT_FALSE(CanEditFolderName(*mounted, false, files));
  EXPECT_FALSE(CanDropDemosOnNode(mounted, tree, false, true, {0}, files));
  EXPECT_TRUE(TreeMenuStateFor(beside, false, files).newFolder);
  EXPECT_TRUE(CanEditFolderName(*beside, false, files));
  files.readOnlyDrives.clear();
  files.driveKinds[dir.Join("mnt/disc")] = DriveKind::kCdRom;
  EXPECT_FALSE(CanEditFolderName(*mounted, false, files));
  EXPECT_FALSE(TreeMenuStateFor(mounted, false, files).newFolder);
  EXPECT_FALSE(CanDropDemosOnNode(mounted, tree, false, true, {0}, files));
  files.driveKinds.clear();
  EXPECT_TRUE(CanDropDemosOnNode(mounted, tree, false, true, {0}, files));
  // A drive that cannot be queried offers no disk commands.
  FolderNode* nowhere = tree.AddTopLevel("no such folder", kColours.nonDemo);
  EXPECT_FALSE(TreeMenuStateFor(nowhere, false, files).newFolder);

  FolderNode* target = AddBranch(dir.Join("target"));
  EXPECT_TRUE(CanDropDemosOnNode(target, tree, false, true, {0, 4}, files));
  EXPECT_FALSE(CanDropDemosOnNode(target, tree, true, true, {0}, files));
  EXPECT_FALSE(CanDropDemosOnNode(target, tree, false, false, {0}, files));
  EXPECT_FALSE(CanDropDemosOnNode(target, tree, false, true, {0, 2}, files));
  EXPECT_FALSE(CanDropDemosOnNode(root, tree, false, true, {0}, files));
}

TEST_F(FolderTreeTest, RemovingAFolderFromDiskAsksAndNeedsAnEmptyFolder) {
  FolderNode* root = AddBranch(dir.Join("branch"));
  fs::create_directories(dir.Join("branch/full"));
  test::WriteBytes(dir.Join("branch/full/x.dm3"), "x");
  FolderNode* full = tree.AddChild(*root, "full", kColours.demo);
  fs::create_directories(dir.Join("branch/empty"));
  FolderNode* empty = tree.AddChild(*root, "empty", kColours.nonDemo);

  EXPECT_FALSE(RemoveFolderFromDisk(tree, *empty, files, messages));  // answered No
  EXPECT_EQ(messages.shown.back().caption, "Really Delete Folder ?");
  EXPECT_EQ(messages.shown.back().text,
            "Really delete " + dir.Join("branch/empty") + " ?\r\nThe folder must be empty!");
  messages.answers = {MessageAnswer::kYes, MessageAnswer::kYes};
  EXPECT_EQ(RemoveFolderFromDisk(tree, *full, files, messages),
            "Error removing folder " + dir.Join("branch/full"));
  EXPECT_EQ(root->children.size(), 2u);
  EXPECT_EQ(RemoveFolderFromDisk(tree, *empty, files, messages),
            dir.Join("branch/empty") + " successfull removed");
  EXPECT_FALSE(fs::exists(dir.Join("branch/empty")));
  EXPECT_EQ(root->children.size(), 1u);
}

class FakeDemoList : public DemoListSelection {
 public:
  bool HasSelection() const override { return !selected.empty(); }
  std::string FirstSelectedLocation() const override { return location; }
  std::string FirstSelectedName() const override { return selected.front(); }
  void RemoveFirstSelected() override {
    selected.erase(selected.begin());
    --rows;
  }
  bool Empty() const override { return rows == 0; }

  std::string location;
  std::vector<std::string> selected;
  int rows = 0;
};

TEST_F(FolderTreeTest, MovingTheLastDemosOutRecoloursBothFolders) {
  FolderNode* source = AddBranch(dir.Join("source"));
  FolderNode* target = AddBranch(dir.Join("target"));
  source->colour = kColours.demo;
  tree.Select(source);
  test::WriteBytes(dir.Join("source/a.dm3"), "new a");
  test::WriteBytes(dir.Join("source/b.dm3"), "b");
  test::WriteBytes(dir.Join("target/a.dm3"), "old a");
  FakeDemoList list;
  list.location = dir.Join("source");
  list.selected = {"a.dm3", "b.dm3"};
  list.rows = 2;
  messages.answers = {MessageAnswer::kYes};
  MoveDemosOntoNode(tree, *target, list, kColours, files, messages);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].caption, "File already exists");
  EXPECT_EQ(messages.shown[0].text, "Overwrite file ?\r\n" + dir.Join("target/a.dm3"));
  EXPECT_EQ(test::ReadBytes(dir.Join("target/a.dm3")), "new a");
  EXPECT_EQ(test::ReadBytes(dir.Join("target/b.dm3")), "b");
  EXPECT_FALSE(fs::exists(dir.Join("source/a.dm3")));
  EXPECT_EQ(source->colour, kColours.nonDemo);
  EXPECT_EQ(target->colour, kColours.demo);
}

TEST_F(FolderTreeTest, AFailedMoveStopsWithTheErrorAndLosesNoDemo) {
  FolderNode* source = AddBranch(dir.Join("source"));
  FolderNode* target = AddBranch(dir.Join("target"));
  source->colour = kColours.demo;
  tree.Select(source);
  test::WriteBytes(dir.Join("source/a.dm3"), "a");
  test::WriteBytes(dir.Join("source/b.dm3"), "b");
  files.failRenames.push_back(dir.Join("source/b.dm3"));
  FakeDemoList list;
  list.location = dir.Join("source");
  list.selected = {"a.dm3", "b.dm3"};
  list.rows = 2;
  MoveDemosOntoNode(tree, *target, list, kColours, files, messages);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].caption, "ERROR");
  EXPECT_TRUE(messages.shown[0].text.starts_with("An Error occured while moving files\r\nError: "));
  EXPECT_TRUE(fs::exists(dir.Join("target/a.dm3")));
  EXPECT_TRUE(fs::exists(dir.Join("source/b.dm3")));
  EXPECT_FALSE(fs::exists(dir.Join("target/b.dm3")));
  EXPECT_EQ(list.selected, std::vector<std::string>{"b.dm3"});
  EXPECT_EQ(source->colour, kColours.demo);
}

TEST_F(FolderTreeTest, SelectingListsUnlessBusyOrAlreadyShown) {
  AppState state;
  state.SetCurrentFolder("/x");
  EXPECT_FALSE(ShouldListOnSelect(state, "/x"));
  EXPECT_TRUE(ShouldListOnSelect(state, "/y"));
  state.SetEscape();
  EXPECT_TRUE(ShouldListOnSelect(state, "/x"));
  state.RaiseBusy();
  EXPECT_FALSE(ShouldListOnSelect(state, "/y"));
}

TEST_F(FolderTreeTest, NodeImagesFollowKindAndColour) {
  FolderNode* game = tree.AddTopLevel(dir.Join("game"), kColours.nonDemo);
  FolderNode* demos = tree.AddChild(*game, "demos", kColours.demo);
  FolderNode* plain = tree.AddChild(*game, "plain", kColours.nonDemo);
  FolderNode* floppy = tree.AddTopLevel("A:", kColours.nonDemo);
  FolderNode* cd = tree.AddTopLevel("E:", kColours.nonDemo);
  files.mounts = {"E:"};
  files.driveKinds["E:"] = DriveKind::kCdRom;
  for (FolderNode* node : {game, demos, plain, floppy, cd}) {
    SetNodeImages(*node, dir.Join("game"), kColours, files);
  }
  EXPECT_EQ(std::pair(game->image, game->selectedImage), std::pair(4, 4));
  EXPECT_EQ(std::pair(demos->image, demos->selectedImage), std::pair(2, 3));
  EXPECT_EQ(std::pair(plain->image, plain->selectedImage), std::pair(0, 1));
  EXPECT_EQ(floppy->image, 5);
  EXPECT_EQ(cd->image, 9);
}

TEST_F(FolderTreeTest, SavedTreeLoadsBackNodeForNode) {
  FolderNode* root = tree.AddTopLevel("/demos", 0x123456);
  root->expanded = true;
  FolderNode* child = tree.AddChild(*root, std::string(300, 'x'), kColours.nonDemo);
  tree.AddChild(*child, "grandchild", kColours.demo)->expanded = true;
  tree.AddChild(*root, "another", kColours.demo);
  tree.AddTopLevel("/more", kColours.demo);
  const std::string bytes = SaveFolderTree(tree);
  ASSERT_TRUE(bytes.starts_with(std::string("\x0DTNT\x0D", 5)));

  FolderTree loaded(locale);
  ASSERT_TRUE(LoadFolderTree(bytes, loaded));
  const auto a = tree.FlatOrder(), b = loaded.FlatOrder();
  ASSERT_EQ(a.size(), b.size());
  for (size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(NodePath(*a[i]), NodePath(*b[i]));
    EXPECT_EQ(a[i]->colour, b[i]->colour);
    EXPECT_EQ(a[i]->expanded, b[i]->expanded);
    EXPECT_EQ(a[i]->children.size(), b[i]->children.size());
  }
}

TEST_F(FolderTreeTest, DamagedOrForeignFilesLoadAsAnEmptyTree) {
  tree.AddChild(*tree.AddTopLevel("/demos", 0), "sub", 0);
  const std::string bytes = SaveFolderTree(tree);
  FolderTree loaded(locale);
  for (size_t cut = 0; cut < bytes.size(); ++cut) {
    EXPECT_FALSE(LoadFolderTree(bytes.substr(0, cut), loaded)) << cut;
    EXPECT_TRUE(loaded.empty());
  }
  EXPECT_FALSE(LoadFolderTree(bytes + "x", loaded));
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    std::string noise = bytes;
    for (int flips = 0; flips < 4; ++flips) noise[random() % noise.size()] ^= (random() & 0xFF);
    if (LoadFolderTree(noise, loaded)) {
      EXPECT_FALSE(loaded.empty());
    }
  }
  const std::string huge("\x0DTNT\x0D\x00\xFF\xFF\xFF\xFF", 10);
  EXPECT_FALSE(LoadFolderTree(huge, loaded));
  EXPECT_TRUE(loaded.empty());
}

}  // namespace
}  // namespace rw
