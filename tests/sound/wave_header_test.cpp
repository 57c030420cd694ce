#include "sound/wave_header.h"

#include <gtest/gtest.h>

#include <utility>
#include <variant>
#include <vector>

#include "sound_rig.h"

namespace rw::test {
namespace {

std::variant<WaveHeader, std::string_view> Read(const std::string& bytes) {
  return ReadWaveHeader(
      std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}

const std::string kPcmFormat = RiffChunk("fmt ", FormatRecord(1, 2, 44100, 16));

TEST(WaveHeader, FindsTheSampleDataBehindAnyChunksBeforeIt) {
  const std::string samples(10, 'x');
  // 12 bytes RIFF header, 24 of "fmt ", then a LIST chunk with an odd body and its pad byte.
  const std::string listed =
      WaveFile(kPcmFormat + RiffChunk("LIST", std::string(101, 'i')) + RiffChunk("data", samples));
  const auto header = std::get<WaveHeader>(Read(listed));
  EXPECT_EQ(header.dataOffset, 12U + 24U + 8U + 102U + 8U);
  EXPECT_EQ(header.dataSize, 10U);
  EXPECT_EQ(header.format.formatTag, 1);
  EXPECT_EQ(header.format.channels, 2);
  EXPECT_EQ(header.format.samplesPerSecond, 44100U);
  EXPECT_EQ(header.format.averageBytesPerSecond, 44100U * 4);
  EXPECT_EQ(header.format.blockAlign, 4);
  EXPECT_EQ(header.format.bitsPerSample, 16);

  // A format other than PCM brings its extra length.
  const std::string adpcm =
      WaveFile(RiffChunk("fmt ", FormatRecord(2, 1, 22050, 4) + Le16(32) + std::string(32, 'c')) +
               RiffChunk("data", samples));
  const auto other = std::get<WaveHeader>(Read(adpcm));
  EXPECT_EQ(other.format.formatTag, 2);
  EXPECT_EQ(other.format.extraSize, 32);
  EXPECT_EQ(other.dataOffset, 12U + 8U + 50U + 8U);
}

TEST(WaveHeader, NamesWhatIsWrongWithABrokenHeader) {
  const std::string data = RiffChunk("data", "abcd");
  const std::vector<std::pair<std::string, std::string_view>> cases = {
      {"", "Couldn't open wave file "},
      {"RIFF\x04", "Invalid multimedia file!"},
      {"RIFF" + Le32(4) + "WA", "Invalid multimedia file!"},
      {"RIFX" + Le32(4) + "WAVE", "Not a wave file!"},
      {"RIFF" + Le32(4) + "AVI ", "Not a wave file!"},
      {WaveFile(data), "Couldn't find 'fmt' chunk!"},
      {WaveFile(RiffChunk("fmt ", FormatRecord(1, 1, 8000, 8).substr(0, 14)) + data),
       "Abnormal 'fmt' size!"},
      {"RIFF" + Le32(100) + "WAVEfmt " + Le32(16) + FormatRecord(1, 1, 8000, 8).substr(0, 10),
       "Error reading 'fmt' chunk!"},
      {WaveFile(RiffChunk("fmt ", FormatRecord(3, 1, 8000, 32))),
       "Error reading 'waveformatex' "
       "length!"},
      {"RIFF" + Le32(100) + "WAVEfmt " + Le32(40) + FormatRecord(1, 1, 8000, 8) + "pad",
       "Error ascending from 'fmt' chunk!"},
      {WaveFile(kPcmFormat + RiffChunk("LIST", "info")), "Error seeking data!"},
      {WaveFile(kPcmFormat + "data" + Le32(1000) + "short"), "Error getting info!"},
  };
  for (const auto& [bytes, text] : cases) {
    const auto result = Read(bytes);
    ASSERT_TRUE(std::holds_alternative<std::string_view>(result)) << text;
    EXPECT_EQ(std::get<std::string_view>(result), text);
  }
}

TEST(WaveHeader, NeverLeavesTheMemberWhateverItsSizesSay) {
  // Chunk sizes near 4 GB, a RIFF size beyond the member and every cut of a good file.
  const std::string good = WaveFile(kPcmFormat + RiffChunk("data", "abcd"));
  for (size_t cut = 0; cut < good.size(); ++cut) {
    EXPECT_TRUE(std::holds_alternative<std::string_view>(Read(good.substr(0, cut)))) << cut;
  }
  const std::string huge = "RIFF" + Le32(0xFFFFFFFF) + "WAVE" + "JUNK" + Le32(0xFFFFFFFF) +
                           kPcmFormat + RiffChunk("data", "abcd");
  EXPECT_EQ(std::get<std::string_view>(Read(huge)), "Couldn't find 'fmt' chunk!");
  const std::string longData = WaveFile(kPcmFormat + "data" + Le32(0xFFFFFFFF) + "abcd");
  EXPECT_EQ(std::get<std::string_view>(Read(longData)), "Error getting info!");
}

}  // namespace
}  // namespace rw::test
