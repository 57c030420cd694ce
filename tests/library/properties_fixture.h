#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "archive/extractor.h"
#include "demo/demo_reader.h"
#include "demo/picture_from_pak.h"
#include "host/fake/fake_host.h"
#include "host/locale.h"
#include "library/properties.h"
#include "model/app_state.h"
#include "model/game_install.h"
#include "support/test_files.h"
#include "support/zip_writer.h"

namespace rw::test {

// A member of the shared sample archive, extracted by our archive reader.
std::string SamplePicture(std::string_view member);

// A game folder with its baseq3 folder in a temporary folder, a demo folder beside it, and
// everything SetData needs, the level shots loaded from real archives by the game's own
// picture loading.
class PropertiesFixture {
 public:
  PropertiesFixture();

  // Writes an archive of stored members below the game folder ("/"-separated path).
  void WriteArchive(std::string_view relative, const std::vector<ZipMember>& members);
  // Writes a demo into the demo folder and gives the list row the scan would show for it.
  ListRow WriteDemo(std::string_view name, std::string_view bytes, std::string_view map);

  PropertiesView Run(const ListRow& row, SourceList source = SourceList::kDemoList);

  bool LoadPicture(const std::string& archive, const std::string& member, Image& picture);

  TempDir root;
  std::string gameFolder;
  std::string demoFolder;
  std::string userDataFolder;
  FakeFileSystem files;
  FakeMessages messages;
  FixedLocale locale;
  AppState appState;
  FakeClock clock;
  CountingPump pump;
  Extractor extractor;
  PakPictures pakPictures;
  DemoReader reader;
  GameInstall game;
  int nextRandom = 0;
  std::vector<std::string> loaded;  // "archive|member" of every picture that loaded
};

}  // namespace rw::test
