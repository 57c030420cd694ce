// GetFromDemo throughput next to its floor (summing the same bytes in memory) and to reading
// the files from the page cache, on the real demos (also the 66 to 68 ones alone) and on a
// generated corpus of 200 MB.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include "demo/demo_reader.h"
#include "host/posix/posix_file_system.h"
#include "quiet_seams.h"

namespace {

namespace fs = std::filesystem;

struct Corpus {
  std::vector<std::string> paths;
  std::vector<std::string> contents;
  uint64_t bytes = 0;

  void Add(const std::string& path) {
    rw::PosixFileSystem files;
    paths.push_back(path);
    contents.push_back(files.ReadFile(path).value_or(std::string()));
    bytes += contents.back().size();
  }
};

Corpus gRealDemos;
Corpus gLaterDemos;
Corpus gGenerated;

void PutInt32(std::string& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// Demos shaped like real ones: a game state, then 20 snapshots a second of 40 to 400 bytes,
// with chat, score changes and scoreboards between them.
class DemoGenerator {
 public:
  DemoGenerator(int protocol, uint32_t seed) : protocol_(protocol), random_(seed) {}

  std::string Make(size_t targetSize) {
    std::string demo;
    std::string gameState = Header();
    gameState += std::string("\x02\x01\x00\x00\x00", 5);
    ConfigString(gameState, 0,
                 "\\sv_hostname\\Generated\\mapname\\q3dm6\\protocol\\" +
                     std::to_string(protocol_) +
                     "\\g_gametype\\3\\version\\Q3 1.17\\timelimit\\20\\fraglimit\\0");
    ConfigString(gameState, 1, "\\sv_pure\\1\\sv_serverid\\123");
    ConfigString(gameState, 2, "music/sonic1.wav");
    ConfigString(gameState, 3, "The Camping Grounds");
    for (int client = 0; client < 8; ++client) {
      ConfigString(gameState, 544 + client,
                   "n\\^" + std::to_string(client) + "Player" + std::to_string(client) + "\\t\\" +
                       std::to_string(1 + client % 2) + "\\model\\sarge\\hc\\100\\w\\0\\l\\0");
    }
    gameState += '\x08';
    Record(demo, gameState);
    uint32_t time = 100000;
    uint32_t command = 1;
    while (demo.size() < targetSize) {
      std::string message = Header();
      if (random_() % 20 == 0) {
        message += '\x05';
        PutInt32(message, ++command);
        message += Command() + '\0';
      }
      message += '\x07';
      if (protocol_ <= 45) PutInt32(message, 0);
      PutInt32(message, time += 50);
      const size_t body = 40 + random_() % 360;
      for (size_t i = 0; i < body; ++i) message += static_cast<char>(random_());
      Record(demo, message);
    }
    PutInt32(demo, 0xFFFFFFFF);
    PutInt32(demo, 0xFFFFFFFF);
    return demo;
  }

 private:
  std::string Header() { return protocol_ > 45 ? std::string("\x01\x02\x03\x04", 4) : ""; }

  void ConfigString(std::string& out, int index, const std::string& text) {
    out += '\x03';
    out += static_cast<char>(index & 0xFF);
    out += static_cast<char>(index >> 8);
    out += text + '\0';
  }

  void Record(std::string& demo, const std::string& message) {
    PutInt32(demo, sequence_++);
    PutInt32(demo, static_cast<uint32_t>(message.size()));
    demo += message;
  }

  std::string Command() {
    switch (random_() % 4) {
      case 0:
        return "chat \"^1Player1^7: ^2nice shot\"\n";
      case 1:
        return "cs 6 \"" + std::to_string(++score_) + "\"\n";
      case 2:
        return "print \"Player3 was railed by Player4\n\"";
      default: {
        std::string scores = "scores 8 " + std::to_string(score_) + " 3";
        for (int client = 0; client < 8; ++client) {
          scores +=
              " " + std::to_string(client) + " " + std::to_string(random_() % 30) + " 50 12 0 0";
        }
        return scores;
      }
    }
  }

  int protocol_;
  std::mt19937 random_;
  uint32_t sequence_ = 1;
  int score_ = 0;
};

void ReadDemos(benchmark::State& state, const Corpus& corpus) {
  rw::SilentMessages messages;
  rw::FixedLocale locale;
  rw::PosixFileSystem files;
  rw::DemoReader reader(messages, locale, files);
  for (auto _ : state) {
    for (const std::string& path : corpus.paths) {
      benchmark::DoNotOptimize(reader.GetFromDemo(path, "", false));
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * corpus.bytes));
}

// Adds every byte, eight at a time in 16-bit lanes, folding the lanes before they overflow.
uint64_t SumOf(const std::string& content) {
  constexpr uint64_t kLowBytes = 0x00FF00FF00FF00FFull;
  uint64_t total = 0;
  size_t pos = 0;
  while (content.size() - pos >= 8) {
    uint64_t lanes = 0;
    for (int i = 0; i < 128 && content.size() - pos >= 8; ++i, pos += 8) {
      uint64_t word;
      std::memcpy(&word, content.data() + pos, 8);
      lanes += (word & kLowBytes) + ((word >> 8) & kLowBytes);
    }
    for (int lane = 0; lane < 4; ++lane) total += (lanes >> (16 * lane)) & 0xFFFF;
  }
  for (; pos < content.size(); ++pos) total += static_cast<unsigned char>(content[pos]);
  return total;
}

void SumBytes(benchmark::State& state, const Corpus& corpus) {
  for (auto _ : state) {
    uint64_t sum = 0;
    for (const std::string& content : corpus.contents) sum += SumOf(content);
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * corpus.bytes));
}

void ReadFiles(benchmark::State& state, const Corpus& corpus) {
  rw::PosixFileSystem files;
  for (auto _ : state) {
    for (const std::string& path : corpus.paths) benchmark::DoNotOptimize(files.ReadFile(path));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * corpus.bytes));
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  for (const auto& entry : fs::recursive_directory_iterator(REELWRIGHT_TESTDATA "/demos")) {
    if (!entry.is_regular_file()) continue;
    gRealDemos.Add(entry.path().string());
    const std::string extension = entry.path().extension().string();
    if (extension >= ".dm_66" && extension <= ".dm_68") gLaterDemos.Add(entry.path().string());
  }
  const fs::path folder =
      fs::temp_directory_path() / ("reelwright-bench-demos-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  constexpr int kFiles = 50;
  constexpr size_t kFileSize = 4u << 20;  // 50 demos of 4 MiB: 200 MiB
  for (int i = 0; i < kFiles; ++i) {
    const int protocol = (i % 2 == 0) ? 43 : 48;
    const std::string demo = DemoGenerator(protocol, 1000 + i).Make(kFileSize);
    const fs::path path =
        folder / ("generated" + std::to_string(i) + (protocol == 43 ? ".dm3" : ".dm_48"));
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
      std::fwrite(demo.data(), 1, demo.size(), file);
      std::fclose(file);
    }
    gGenerated.Add(path.string());
  }
  benchmark::RegisterBenchmark("GetFromDemo/real", ReadDemos, gRealDemos);
  benchmark::RegisterBenchmark("SumInMemory/real", SumBytes, gRealDemos);
  benchmark::RegisterBenchmark("ReadFromPageCache/real", ReadFiles, gRealDemos);
  benchmark::RegisterBenchmark("GetFromDemo/real66to68", ReadDemos, gLaterDemos);
  benchmark::RegisterBenchmark("SumInMemory/real66to68", SumBytes, gLaterDemos);
  benchmark::RegisterBenchmark("GetFromDemo/generated", ReadDemos, gGenerated);
  benchmark::RegisterBenchmark("SumInMemory/generated", SumBytes, gGenerated);
  benchmark::RegisterBenchmark("ReadFromPageCache/generated", ReadFiles, gGenerated);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  fs::remove_all(folder);
  return 0;
}
