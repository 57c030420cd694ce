#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "demo/demo_reader.h"
#include "host/fake/fake_host.h"
#include "support/test_files.h"

namespace rw::test {

// "\key\value\key\value" from key and value pairs, as the game writes info texts.
std::string InfoText(std::initializer_list<std::pair<std::string_view, std::string_view>> items);

// The operations of one server message, byte by byte. Knows the layout differences of the
// protocols: the 4-byte header before the operations above 45, and the 4 bytes before a
// snapshot's server time at 45 and below.
class DemoMessage {
 public:
  explicit DemoMessage(int protocol);

  // Opcode 2 and its command number; configuration strings follow, then EndGameState.
  DemoMessage& GameState(uint32_t commandNumber = 0);
  // Operation 3 inside a game state: number and text.
  DemoMessage& ConfigString(uint16_t index, std::string_view text);
  // Ends a game state with the given operation (8, the end of the message, by default)
  // after a few baseline-like bytes the reader must not look at.
  DemoMessage& EndGameState(uint8_t operation = 8);
  // Opcode 5: command number and NUL-ended text.
  DemoMessage& ServerCommand(uint32_t number, std::string_view text);
  // Opcode 7 and the server time, followed by snapshot-like bytes the reader skips.
  DemoMessage& Snapshot(uint32_t serverTime);

  // Raw pieces for broken messages.
  DemoMessage& Byte(uint8_t value);
  DemoMessage& Int16(uint16_t value);
  DemoMessage& Int32(uint32_t value);
  DemoMessage& Text(std::string_view text);  // with its NUL
  DemoMessage& Bytes(std::string_view bytes);

  int protocol() const { return protocol_; }
  const std::string& bytes() const { return bytes_; }

 private:
  int protocol_;
  std::string bytes_;
};

// A whole demo: records of sequence, length and message, and the end marker.
class DemoWriter {
 public:
  explicit DemoWriter(int protocol);

  // An empty message of this demo's protocol.
  DemoMessage Message() const { return DemoMessage(protocol_); }

  // A record with the next sequence number.
  DemoWriter& Add(const DemoMessage& message);
  // A record with its own sequence and any bytes.
  DemoWriter& AddRecord(int32_t sequence, std::string_view message);
  // The first record as a real demo starts: a game state with the server info (which must
  // hold "protocol\NN"), the system info, map music and message, and player strings
  // (client number, player string).
  DemoWriter& AddGameState(std::string_view serverInfo, std::string_view systemInfo,
                           std::initializer_list<std::pair<int, std::string_view>> players = {});
  // A record holding server commands, each with the next command number, then a snapshot.
  DemoWriter& AddCommands(uint32_t serverTime, std::initializer_list<std::string_view> commands);
  // A record with a snapshot only.
  DemoWriter& AddSnapshot(uint32_t serverTime);
  // The end marker: sequence -1 and length -1.
  DemoWriter& End();

  int protocol() const { return protocol_; }
  uint32_t lastCommandNumber() const { return commandNumber_; }
  const std::string& bytes() const { return bytes_; }

 private:
  int protocol_;
  int32_t sequence_ = 1000;
  uint32_t commandNumber_ = 0;
  std::string bytes_;
};

// A server info text of a typical server of the protocol, with the given game type.
std::string TypicalServerInfo(int protocol, std::string_view gametype = "0");
// A system info text.
std::string TypicalSystemInfo();

// A ZIP archive of stored (method 0) or deflated (method 8) members, for reading demos
// from archives; names use "\\" between folders as in the archive directory.
struct ZipEntry {
  std::string name;
  std::string data;
  uint16_t method = 0;
  uint32_t dosTime = 0x2A634B4A;  // 2001-03-03 09:26:20
};
std::string ZipOf(const std::vector<ZipEntry>& entries);

// A demo reader with fake messages, the fixed locale and a temporary folder, for reading
// demos built in memory.
class ReaderHarness {
 public:
  ReaderHarness() : reader(messages, locale, files) {}

  // Writes the bytes to a file and reads it; the result of GetFromDemo.
  std::string Read(std::string_view bytes, bool buildLog = true);
  const DemoReadState& state() const { return reader.State(); }
  // The path of a file in the harness's folder.
  std::string PathOf(std::string_view name) const { return folder.Join(name); }

  FakeMessages messages;
  FixedLocale locale;
  FakeFileSystem files;
  TempDir folder;
  DemoReader reader;
};

}  // namespace rw::test
