#include "demo/game_state.h"

#include <cstring>
#include <string>

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

std::string_view TextFrom(std::string_view block, size_t pos) {
  const std::string_view rest = block.substr(pos);
  return rest.substr(0, rest.find('\0'));
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
  session.serverInfoPos = start;
  const std::string_view serverInfo = TextFrom(block, start);
  DemoReadState& state = session.state;
  state.GameType = GetInfoValueFrom("g_gametype", std::string(serverInfo) + "\\");
  const size_t valueStart = found - start + kProtocolKey.size();
  state.Protocol = ParseInt32(serverInfo.substr(valueStart, 2)).value_or(0);
  return true;
}

std::string_view InfoTextAt(const ReadSession& session, const std::optional<size_t>& pos) {
  return pos ? TextFrom(session.block, *pos) : std::string_view();
}

void ReadGameState(ReadSession& session, size_t pos) {
  DemoReadState& state = session.state;
  pos += 4;  // the command number
  while (session.ReadByte(pos, "GAMESTATE,gamestate_cmd") == 3) {
    const int index = session.ReadUint16(pos, "GAMESTATE,gamestate_index");
    const size_t textPos = pos;
    const std::string_view text = session.ReadText(pos, "GAMESTATE,gamestate_string");
    if (index == kSystemInfoString) {
      if (session.systemInfosSeen > 0) {
        session.GameEnded = true;
      } else {
        session.systemInfoPos = textPos;
        ++session.systemInfosSeen;
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
}

}  // namespace rw
