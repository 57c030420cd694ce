#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "archive/extractor.h"
#include "host/fake/fake_host.h"
#include "model/app_state.h"
#include "model/settings.h"
#include "sound/fake/recording_sound.h"
#include "sound/sound_system.h"
#include "support/test_files.h"
#include "support/zip_writer.h"

namespace rw::test {

// Wave files built byte by byte as the RIFF format lays them out.
std::string Le16(uint32_t value);
std::string Le32(uint32_t value);
// A chunk: id, size, body and the pad byte that keeps an odd body even.
std::string RiffChunk(std::string_view id, std::string_view body);
// The 16 bytes of a format record.
std::string FormatRecord(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits);
// "RIFF", the size of what follows, "WAVE" and the chunks.
std::string WaveFile(std::string_view chunks);
// A 16-bit mono PCM wave of a 440 Hz sine at amplitude (of full scale).
std::string SineWave(uint32_t rate, double seconds, double amplitude);

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
