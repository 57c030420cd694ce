#pragma once

#include <string>
#include <vector>

#include "archive/extractor.h"
#include "host/fake/fake_host.h"
#include "model/app_state.h"
#include "model/settings.h"
#include "sound/fake/recording_sound.h"
#include "sound/sound_system.h"
#include "support/test_files.h"
#include "support/wave_writer.h"
#include "support/zip_writer.h"

namespace rw::test {

// A sound system over a real extractor, with the archive pak0.pk3 in a temporary folder.
struct SoundRig {
  explicit SoundRig(SoundDriver& driver, const std::vector<ZipMember>& members);

  TempDir dir;
  std::string archive = dir.Join("pak0.pk3");
  FakeClock clock;
  CountingPump pump;
  FakeFileSystem files;
  Extractor extractor{clock, pump, files};
  FakeMessages messages;
  AppState appState;
  SoundSettings settings;
  ManualSoundTimer timer;
  SoundSystem sound{settings, {extractor, files, messages, appState}, archive};
};

}  // namespace rw::test
