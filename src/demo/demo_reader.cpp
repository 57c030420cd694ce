#include "demo/demo_reader.h"

#include <algorithm>
#include <chrono>
#include <new>

#include "archive/directory_reader.h"

#include "demo/demo_generation.h"
#include "demo/game_state.h"
#include "demo/player_records.h"
#include "demo/read_session.h"
#include "demo/record_walk.h"
#include "demo/recorded_text.h"

namespace rw {
namespace {

constexpr const char* kCaption = "Debug";
// A buffer that had to grow beyond this for one demo is given back after it.
constexpr size_t kKeptBufferBytes = size_t{64} << 20;

class ChronoClock : public Clock {
 public:
  uint32_t TickCount() override {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
  }
};

// The size the folder listing gives, for a file that cannot be read.
uint64_t ListedSize(FileSystem& files, const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  for (const DirectoryEntry& entry : files.List(folder.empty() ? "/" : folder, name)) {
    if (entry.name == name && !entry.isFolder) return entry.size;
  }
  return 0;
}

// Finds how the demo's messages are coded and its server info, and walks its records when its
// generation is one the reader knows.
void ReadRecords(ReadSession& session, std::string_view demoName) {
  DemoReadState& state = session.state;
  MessageCoding coding = MessageCoding::kHuffmanBits;
  if (FindCodedServerInfo(session)) {
    const GenerationFacts& facts = FactsOf(GenerationOfDemo(state.Protocol, demoName));
    if (state.Protocol == 0 || !facts.readable || facts.coding != coding) {
      session.serverInfo.reset();
      state.GameType.clear();
      state.Protocol = 0;
      return;
    }
  } else if (FindServerInfo(session) && state.Protocol != 0) {
    coding = MessageCoding::kPlainBytes;
  } else {
    return;
  }
  session.ScoreFieldsPerPlayer = LayoutOf(state.Protocol).scoreFieldsPerPlayer;
  WalkRecords(session, coding);
}

}  // namespace

struct DemoReader::OwnExtractor {
  explicit OwnExtractor(FileSystem& files) : extractor(clock, pump, files) {}
  ChronoClock clock;
  NoMessagePump pump;
  Extractor extractor;
};

DemoReader::DemoReader(Messages& messages, const Locale& locale, FileSystem& files,
                       Extractor& extractor)
    : messages_(messages), locale_(locale), files_(files), extractor_(extractor) {}

DemoReader::DemoReader(Messages& messages, const Locale& locale, FileSystem& files)
    : messages_(messages),
      locale_(locale),
      files_(files),
      ownExtractor_(std::make_unique<OwnExtractor>(files)),
      extractor_(ownExtractor_->extractor) {}

DemoReader::~DemoReader() = default;

std::string DemoReader::GetFromDemo(const std::string& demoName, const std::string& archivePath,
                                    bool buildLog) {
  Reset();
  ranOutOfMemory_ = false;
  const Loaded demo = archivePath.empty() ? LoadFile(demoName) : LoadMember(archivePath, demoName);
  state_.SizeText = SizeText(demo.size, locale_);
  ReadSession session(state_, demo.bytes, buildLog);
  std::string result;
  try {
    if (!session.block.empty()) ReadRecords(session, demoName);
    result = Finish(session);
  } catch (const ParsingError& error) {
    messages_.Show(
        kCaption,
        "Parsing Error (" + error.field + ") at Packet Nr: " + std::to_string(session.recordCount),
        MessageIcon::kError);
    result = "0";
  }
  if (buffer_.capacity() > kKeptBufferBytes) buffer_.Release();
  return result;
}

DemoReader::Loaded DemoReader::LoadFile(const std::string& path) {
  Loaded demo;
  if (const std::optional<uint32_t> dosTime = files_.ModifiedDosTime(path)) {
    state_.RecordedText = RecordedText(*dosTime, locale_);
  }
  try {
    if (!files_.ReadFileInto(path, kDemoSizeLimit, buffer_)) {
      demo.size = ListedSize(files_, path);
      return demo;
    }
    demo.bytes = buffer_.view();
    demo.size = demo.bytes.size();
  } catch (const std::bad_alloc&) {
    demo.size = ListedSize(files_, path);
    ReportMemoryError();
  }
  return demo;
}

DemoReader::Loaded DemoReader::LoadMember(const std::string& archivePath,
                                          const std::string& memberName) {
  Loaded demo;
  ArchiveCursor cursor;
  const int found = ArchiveFind(archivePath, memberName, cursor);
  ArchiveClose(cursor);
  if (found != kArchiveMember) return demo;
  demo.size = cursor.size;
  state_.RecordedText = RecordedText(cursor.dateTime, locale_);
  if (demo.size > kDemoSizeLimit) return demo;
  // Bounded by the member's size; only what the member really holds is written and read.
  try {
    buffer_.SetSize(0);
    buffer_.Reserve(std::max<size_t>(cursor.size, 1));
  } catch (const std::bad_alloc&) {
    ReportMemoryError();
    return demo;
  }
  uint32_t written = cursor.size;
  const int code =
      extractor_.unzipfiletomemory(archivePath, reinterpret_cast<uint8_t*>(buffer_.data()), written,
                                   {}, cursor.localHeaderOffset);
  if (code == kExtractOk) demo.bytes = std::string_view(buffer_.data(), written);
  return demo;
}

void DemoReader::ReportMemoryError() {
  messages_.Show(kCaption, "Memory Allocation Error in proc GetFromDemo", MessageIcon::kError);
  ranOutOfMemory_ = true;
}

std::string DemoReader::Finish(ReadSession& session) {
  const bool found = session.serverInfo && session.systemInfo;
  state_.InfoString = session.serverInfo.value_or("") + session.systemInfo.value_or("") + "\\";
  for (TPlayer& player : state_.Players) {
    if (player.Team == 3) player.Score = kNoScore;
  }
  SortPlayers(state_.Players);
  return found ? "1" : "0";
}

}  // namespace rw
