#include "support/demo_writer.h"

#include <zlib.h>

namespace rw::test {
namespace {

void PutInt32(std::string& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

void PutInt16(std::string& out, uint16_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>(value >> 8);
}

std::string RawDeflate(const std::string& data) {
  z_stream stream{};
  deflateInit2(&stream, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&stream, data.size()), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

}  // namespace

std::string InfoText(std::initializer_list<std::pair<std::string_view, std::string_view>> items) {
  std::string text;
  for (const auto& [key, value] : items) {
    text += '\\';
    text += key;
    text += '\\';
    text += value;
  }
  return text;
}

DemoMessage::DemoMessage(int protocol) : protocol_(protocol) {
  if (protocol_ > 45) Int32(0x11223344);  // the reliable acknowledge the reader skips
}

DemoMessage& DemoMessage::GameState(uint32_t commandNumber) {
  return Byte(2).Int32(commandNumber);
}

DemoMessage& DemoMessage::ConfigString(uint16_t index, std::string_view text) {
  return Byte(3).Int16(index).Text(text);
}

DemoMessage& DemoMessage::EndGameState(uint8_t operation) {
  return Byte(4).Bytes(std::string_view("\x01\x00\xff\x7f\x03\x05", 6)).Byte(operation);
}

DemoMessage& DemoMessage::ServerCommand(uint32_t number, std::string_view text) {
  return Byte(5).Int32(number).Text(text);
}

DemoMessage& DemoMessage::Snapshot(uint32_t serverTime) {
  Byte(7);
  if (protocol_ <= 45) Int32(0x0000ABCD);  // the delta number the reader skips
  Int32(serverTime);
  return Bytes(std::string_view("\x00\x03\x00\x05\x02\x07\x01\x09\x00", 9));
}

DemoMessage& DemoMessage::Byte(uint8_t value) {
  bytes_ += static_cast<char>(value);
  return *this;
}

DemoMessage& DemoMessage::Int16(uint16_t value) {
  bytes_ += static_cast<char>(value & 0xFF);
  bytes_ += static_cast<char>(value >> 8);
  return *this;
}

DemoMessage& DemoMessage::Int32(uint32_t value) {
  PutInt32(bytes_, value);
  return *this;
}

DemoMessage& DemoMessage::Text(std::string_view text) {
  bytes_ += text;
  bytes_ += '\0';
  return *this;
}

DemoMessage& DemoMessage::Bytes(std::string_view bytes) {
  bytes_ += bytes;
  return *this;
}

DemoWriter::DemoWriter(int protocol) : protocol_(protocol) {}

DemoWriter& DemoWriter::Add(const DemoMessage& message) {
  return AddRecord(sequence_++, message.bytes());
}

DemoWriter& DemoWriter::AddRecord(int32_t sequence, std::string_view message) {
  PutInt32(bytes_, static_cast<uint32_t>(sequence));
  PutInt32(bytes_, static_cast<uint32_t>(message.size()));
  bytes_ += message;
  return *this;
}

DemoWriter& DemoWriter::AddGameState(
    std::string_view serverInfo, std::string_view systemInfo,
    std::initializer_list<std::pair<int, std::string_view>> players) {
  DemoMessage message = Message();
  message.GameState(++commandNumber_)
      .ConfigString(0, serverInfo)
      .ConfigString(1, systemInfo)
      .ConfigString(2, "music/sonic5.wav")
      .ConfigString(3, "Temple of Retribution");
  for (const auto& [client, player] : players) {
    message.ConfigString(static_cast<uint16_t>(544 + client), player);
  }
  return Add(message.EndGameState());
}

DemoWriter& DemoWriter::AddCommands(uint32_t serverTime,
                                    std::initializer_list<std::string_view> commands) {
  DemoMessage message = Message();
  for (std::string_view command : commands) message.ServerCommand(++commandNumber_, command);
  return Add(message.Snapshot(serverTime));
}

DemoWriter& DemoWriter::AddSnapshot(uint32_t serverTime) {
  return Add(Message().Snapshot(serverTime));
}

DemoWriter& DemoWriter::End() {
  PutInt32(bytes_, 0xFFFFFFFF);
  PutInt32(bytes_, 0xFFFFFFFF);
  return *this;
}

std::string TypicalServerInfo(int protocol, std::string_view gametype) {
  const std::string protocolText = std::to_string(protocol);
  return InfoText({{"sv_hostname", "Test Arena"},
                   {"mapname", "q3dm7"},
                   {"protocol", protocolText},
                   {"version", "Q3 1.17 win-x86"},
                   {"g_gametype", gametype},
                   {"fraglimit", "20"},
                   {"timelimit", "15"}});
}

std::string TypicalSystemInfo() {
  return InfoText({{"sv_pure", "1"}, {"sv_serverid", "42"}, {"timescale", "1"}});
}

std::string ZipOf(const std::vector<ZipEntry>& entries) {
  std::string archive;
  std::string directory;
  for (const ZipEntry& entry : entries) {
    const std::string stored = entry.method == 8 ? RawDeflate(entry.data) : entry.data;
    const auto crc = static_cast<uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(entry.data.data()), entry.data.size()));
    std::string common;
    PutInt16(common, 20);  // version needed
    PutInt16(common, 0);   // flags
    PutInt16(common, entry.method);
    PutInt32(common, entry.dosTime);
    PutInt32(common, crc);
    PutInt32(common, static_cast<uint32_t>(stored.size()));
    PutInt32(common, static_cast<uint32_t>(entry.data.size()));
    PutInt16(common, static_cast<uint16_t>(entry.name.size()));
    PutInt16(common, 0);  // extra field length

    PutInt32(directory, 0x02014b50);
    PutInt16(directory, 20);  // made by MS-DOS
    directory += common;
    PutInt16(directory, 0);  // comment length
    PutInt16(directory, 0);  // disk
    PutInt16(directory, 0);  // internal attributes
    PutInt32(directory, 0x20);
    PutInt32(directory, static_cast<uint32_t>(archive.size()));
    directory += entry.name;

    PutInt32(archive, 0x04034b50);
    archive += common + entry.name + stored;
  }
  const auto directoryOffset = static_cast<uint32_t>(archive.size());
  archive += directory;
  PutInt32(archive, 0x06054b50);
  PutInt16(archive, 0);
  PutInt16(archive, 0);
  PutInt16(archive, static_cast<uint16_t>(entries.size()));
  PutInt16(archive, static_cast<uint16_t>(entries.size()));
  PutInt32(archive, static_cast<uint32_t>(directory.size()));
  PutInt32(archive, directoryOffset);
  PutInt16(archive, 0);
  return archive;
}

std::string ReaderHarness::Read(std::string_view bytes, bool buildLog) {
  const std::string path = PathOf("built.dm3");
  WriteBytes(path, bytes);
  return reader.GetFromDemo(path, "", buildLog);
}

}  // namespace rw::test
