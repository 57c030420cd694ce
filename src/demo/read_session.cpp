#include "demo/read_session.h"

#include <cstring>

namespace rw {

void ReadSession::Log(std::string line) {
  const size_t cost = line.size() + sizeof(std::string);
  if (matchLogBytes + cost > block.size() + kMatchLogSlack) return;
  matchLogBytes += cost;
  state.MatchLog.push_back(std::move(line));
}

uint8_t ReadSession::ReadByte(size_t& pos, const char* field) const {
  if (pos >= readEnd) throw ParsingError{field};
  return static_cast<uint8_t>(block[pos++]);
}

uint16_t ReadSession::ReadUint16(size_t& pos, const char* field) const {
  if (pos > readEnd || readEnd - pos < 2) throw ParsingError{field};
  const auto* bytes = reinterpret_cast<const unsigned char*>(block.data() + pos);
  pos += 2;
  return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

uint32_t ReadSession::ReadUint32(size_t& pos, const char* field) const {
  if (pos > readEnd || readEnd - pos < 4) throw ParsingError{field};
  const auto* bytes = reinterpret_cast<const unsigned char*>(block.data() + pos);
  pos += 4;
  return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
         (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

std::string_view ReadSession::ReadText(size_t& pos, const char* field) const {
  if (pos >= readEnd) throw ParsingError{field};
  const void* nul = std::memchr(block.data() + pos, 0, readEnd - pos);
  if (nul == nullptr) throw ParsingError{field};
  const size_t end = static_cast<size_t>(static_cast<const char*>(nul) - block.data());
  const std::string_view text = block.substr(pos, end - pos);
  pos = end + 1;
  return text;
}

}  // namespace rw
