#include "demo/game_state.h"

#include <algorithm>
#include <string>

#include "archive/little_endian.h"
#include "demo/coded_message.h"
#include "demo/decimal_text.h"
#include "demo/demo_generation.h"
#include "demo/info_text.h"
#include "demo/player_records.h"
#include "demo/server_commands.h"

namespace rw {
namespace {

// The first record header and the first 4 bytes of its message come before any text.
constexpr size_t kServerInfoSearchStart = 12;
constexpr std::string_view kProtocolKey = "protocol\\";
constexpr size_t kRecordHeaderBytes = 8;
constexpr uint8_t kGameStateOperation = 2;
constexpr uint8_t kConfigStringOperation = 3;

void TakeServerInfo(ReadSession& session, std::string_view serverInfo) {
  session.serverInfo = std::string(serverInfo);
  session.state.GameType = GetInfoValueFrom("g_gametype", *session.serverInfo + "\\");
}

}  // namespace

bool FindServerInfo(ReadSession& session) {
  const std::string_view block = session.block;
  if (block.size() <= kServerInfoSearchStart) return false;
  // A key never holds a NUL, so the text around its first occurrence is the first text
  // that holds it.
  const size_t found = block.find(kProtocolKey, kServerInfoSearchStart);
  if (found == std::string_view::npos) return false;
  const size_t lastNul = block.rfind('\0', found);
  const size_t start = (lastNul == std::string_view::npos || lastNul < kServerInfoSearchStart)
                           ? kServerInfoSearchStart
                           : lastNul + 1;
  const std::string_view rest = block.substr(start);
  const std::string_view serverInfo = rest.substr(0, rest.find('\0'));
  TakeServerInfo(session, serverInfo);
  const size_t valueStart = found - start + kProtocolKey.size();
  session.state.Protocol = ParseInt32(serverInfo.substr(valueStart, 2)).value_or(0);
  return true;
}

bool FindCodedServerInfo(ReadSession& session) {
  const std::string_view block = session.block;
  if (block.size() < kRecordHeaderBytes) return false;
  const uint32_t length = ReadLe32(reinterpret_cast<const uint8_t*>(block.data()) + 4);
  const size_t end = std::min<size_t>(block.size(), kRecordHeaderBytes + size_t{length});
  try {
    CodedMessage message(session, kRecordHeaderBytes, end);
    if (message.Byte("") != kGameStateOperation) return false;
    message.SkipLong("");
    if (message.Byte("") != kConfigStringOperation) return false;
    if (message.Short("") != kServerInfoString) return false;
    const std::string_view serverInfo = message.Text("");
    if (serverInfo.find(kProtocolKey) == std::string_view::npos) return false;
    TakeServerInfo(session, serverInfo);
  } catch (const ParsingError&) {
    return false;
  }
  session.state.Protocol = ParseInt32(ServerProtocolFrom(*session.serverInfo + "\\")).value_or(0);
  return true;
}

void TakeConfigString(ReadSession& session, int index, std::string_view text) {
  DemoReadState& state = session.state;
  if (index == kSystemInfoString) {
    if (session.systemInfo) {
      session.GameEnded = true;
    } else {
      session.systemInfo = std::string(text);
    }
  } else if (index == kMusicString) {
    state.MapMusic = text;
  } else if (index == kMapMessageString) {
    state.MapMessage = text;
  } else if (index >= kFirstPlayerString && index <= kLastPlayerString) {
    if (!UpdatePlayer(session, index - kFirstPlayerString, text)) {
      AddLogLine(session, "^1UPDATE PLAYER ERROR!");
    }
  }
}

}  // namespace rw
