#include "properties_fixture.h"

#include <gtest/gtest.h>

#include "archive/archive_cursor.h"
#include "archive/directory_reader.h"

namespace rw::test {
namespace {

std::string Extract(Extractor& extractor, const std::string& archive, std::string_view member) {
  ArchiveCursor cursor;
  if (ArchiveFind(archive, member, cursor) != kArchiveMember) return {};
  std::string bytes(cursor.size, '\0');
  uint32_t size = cursor.size;
  const int code = extractor.unzipfiletomemory(
      archive, reinterpret_cast<uint8_t*>(bytes.data()), size, [] { return false; },
      cursor.localHeaderOffset);
  if (code != 0 || size != cursor.size) return {};
  return bytes;
}

}  // namespace

std::string SamplePicture(std::string_view member) {
  FakeClock clock;
  CountingPump pump;
  FakeFileSystem files;
  Extractor extractor(clock, pump, files);
  std::string bytes = Extract(extractor, TestDataPath("pk3/openarena-sample.pk3"), member);
  EXPECT_FALSE(bytes.empty()) << member;
  return bytes;
}

PropertiesFixture::PropertiesFixture()
    : gameFolder(root.Join("Quake III Arena")),
      demoFolder(root.Join("demos")),
      userDataFolder(root.Join("RWT Data")),
      extractor(clock, pump, files),
      pakPictures(extractor, files, messages),
      reader(messages, locale, files),
      game(files, gameFolder) {
  for (const std::string& folder :
       {gameFolder, gameFolder + "/baseq3", demoFolder, userDataFolder}) {
    files.CreateFolder(folder);
  }
}

void PropertiesFixture::WriteArchive(std::string_view relative,
                                     const std::vector<ZipMember>& members) {
  WriteBytes(gameFolder + "/" + std::string(relative), ZipBytes(members));
}

ListRow PropertiesFixture::WriteDemo(std::string_view name, std::string_view bytes,
                                     std::string_view map) {
  WriteBytes(demoFolder + "/" + std::string(name), bytes);
  ListRow row;
  row[kDemonameColumn] = name;
  row[4] = map;
  row[kPlaytimeColumn] = "00:01:00";
  row[kModColumn] = "baseq3";
  row[kProtocolColumn] = "43";
  row[20] = "12:7";
  row[kLocationColumn] = demoFolder;
  return row;
}

bool PropertiesFixture::LoadPicture(const std::string& archive, const std::string& member,
                                    Image& picture) {
  if (!LoaderOf(pakPictures, appState)(archive, member, picture)) return false;
  loaded.push_back(archive + "|" + member);
  return true;
}

PropertiesView PropertiesFixture::Run(const ListRow& row, SourceList source) {
  game.ScanMods();
  PropertiesSources sources{
      reader,
      game,
      files,
      messages,
      appState,
      userDataFolder,
      [this](const std::string& archive, const std::string& member, Image& picture) {
        return LoadPicture(archive, member, picture);
      },
      [this](int count) { return nextRandom % count; }};
  return SetData(row, source, sources);
}

}  // namespace rw::test
