#include "library/level_shot.h"

#include <gtest/gtest.h>

#include "properties_fixture.h"

namespace rw {
namespace {

using test::PropertiesFixture;

// Records every try and loads nothing.
struct FailingLoader {
  bool operator()(const std::string& archive, const std::string& member, Image&) {
    tries->push_back(archive + "|" + member);
    return false;
  }
  std::vector<std::string>* tries;
};

TEST(LevelShot, StandardMapsAreTheGamesThirty) {
  for (std::string_view map : {"q3dm0", "q3dm19", "q3tourney1", "q3tourney6", "q3ctf1", "q3ctf4"}) {
    EXPECT_TRUE(IsStandardMap(map)) << map;
  }
  for (std::string_view map : {"q3dm20", "q3tourney7", "q3ctf5", "Q3DM17", "q3dm", ""}) {
    EXPECT_FALSE(IsStandardMap(map)) << map;
  }
}

TEST(LevelShot, CandidatesInOrderWithoutRepeats) {
  PropertiesFixture f;
  const std::string base = f.gameFolder + "/baseq3";
  const std::string mod = f.gameFolder + "/MyMod";
  f.files.CreateFolder(mod);
  for (const std::string& path :
       {base + "/pak0.pk3", base + "/cpm22.pk3", base + "/zz.pk3", base + "/Extra.pk3",
        base + "/notes.txt", mod + "/b.pk3", mod + "/a.pk3"}) {
    test::WriteBytes(path, "");
  }
  const LevelShotFolders folders{f.gameFolder, base, base + "/pak0.pk3", mod};
  std::vector<std::string> tries;
  const LevelShot shot = FindLevelShot(f.files, folders, "cpm22", "baseq3/zz  other/x baseq3/Cpm22",
                                       FailingLoader{&tries});
  const std::vector<std::string> expected = {"baseq3\\cpm22.pk3", "baseq3\\zz.pk3",
                                             "other\\x.pk3",      "MyMod\\a.pk3",
                                             "MyMod\\b.pk3",      "baseq3\\Extra.pk3"};
  EXPECT_EQ(shot.candidates, expected);
  ASSERT_EQ(tries.size(), 2 * expected.size() + 1);
  EXPECT_EQ(tries[0], base + "/cpm22.pk3|levelshots\\cpm22.jpg");
  EXPECT_EQ(tries[1], base + "/cpm22.pk3|levelshots\\cpm22.tga");
  EXPECT_EQ(tries[4], f.gameFolder + "/other/x.pk3|levelshots\\cpm22.jpg");
  EXPECT_EQ(tries.back(), base + "/pak0.pk3|menu\\art\\unknownmap.jpg");
  EXPECT_FALSE(shot.picture);
  EXPECT_EQ(shot.archive, "");

  // Without a mod of its own and without the key the demo offers only the base folder's.
  const LevelShotFolders plain{f.gameFolder, base, base + "/pak0.pk3", base};
  EXPECT_EQ(LevelShotCandidates(f.files, plain, "dm", "N/A"),
            (std::vector<std::string>{"baseq3\\cpm22.pk3", "baseq3\\Extra.pk3", "baseq3\\zz.pk3"}));
}

TEST(LevelShot, OnlyPicturesLargerThanTheFrameOpenFullSize) {
  std::string shot = test::SamplePicture("levelshots\\ctf_compromise.tga");  // 256 by 256
  PropertiesFixture f;
  const std::string base = f.gameFolder + "/baseq3";
  const LevelShotFolders folders{f.gameFolder, base, base + "/pak0.pk3", base};
  const auto load = [&f](const std::string& archive, const std::string& member, Image& picture) {
    return f.LoadPicture(archive, member, picture);
  };
  f.WriteArchive("baseq3/big.pk3", {{"levelshots/big.tga", shot}});
  LevelShot found = FindLevelShot(f.files, folders, "big", "N/A", load);
  ASSERT_TRUE(found.picture);
  EXPECT_EQ(found.picture->width, 256);
  EXPECT_TRUE(ShowsFullSize(*found.picture));

  // The same Targa header saying 128 by 100 pixels.
  shot[12] = static_cast<char>(128);
  shot[13] = 0;
  shot[14] = 100;
  shot[15] = 0;
  f.WriteArchive("baseq3/big.pk3", {{"levelshots/big.tga", shot}});
  found = FindLevelShot(f.files, folders, "big", "N/A", load);
  ASSERT_TRUE(found.picture);
  EXPECT_EQ(found.picture->width, 128);
  EXPECT_EQ(found.picture->height, 100);
  EXPECT_FALSE(ShowsFullSize(*found.picture));
  EXPECT_TRUE(ShowsFullSize(Image{100, 129, {}}));
}

}  // namespace
}  // namespace rw
