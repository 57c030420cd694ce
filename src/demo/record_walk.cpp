#include "demo/record_walk.h"

#include <string>

#include "demo/demo_generation.h"
#include "demo/game_state.h"
#include "demo/server_commands.h"
#include "demo/time_text.h"

namespace rw {
namespace {

constexpr int32_t kEndMarker = -1;

// What the walk does after an operation.
enum class Next { kOperation, kRecord, kStop };

void LogSequence(ReadSession& session, uint32_t sequence, const char* text) {
  session.Log(std::to_string(sequence) + text);
}

void TakeSnapshot(ReadSession& session, size_t pos) {
  pos += LayoutOf(session.state.Protocol).snapshotTimeSkip;
  session.serverTime = session.ReadUint32(pos, "ServerTime");
  if (!session.firstSnapshot) return;
  session.demoStartTime = session.serverTime;
  session.levelStartTime = session.serverTime;
  session.Log("^400:00:00 ^7Demo start.");
  session.firstSnapshot = false;
}

// A server command; only numbers above the last one handled are new.
Next TakeServerCommand(ReadSession& session, size_t& pos) {
  const uint32_t number = session.ReadUint32(pos, "SERVERCOMMAND,cmdnr");
  const std::string_view text = session.ReadText(pos, "SERVERCOMMAND,text");
  if (number <= session.lastCommand) return Next::kOperation;
  session.lastCommand = number;
  return HandleServerCommand(session, text) == AfterCommand::kNextRecord ? Next::kRecord
                                                                         : Next::kOperation;
}

Next TakeOperation(ReadSession& session, uint32_t sequence, size_t& pos) {
  const uint8_t opcode = session.ReadByte(pos, "Server_cmd");
  switch (opcode) {
    case 0:
      LogSequence(session, sequence, "; bad command");
      return Next::kStop;
    case 1:
      LogSequence(session, sequence, "; no operation command");
      return Next::kRecord;
    case 2:
      ReadGameState(session, pos);
      return Next::kRecord;
    case 3:
    case 4:
    case 6:
      LogSequence(session, sequence, "; old q2 command, not more valid");
      return Next::kStop;
    case 5:
      return TakeServerCommand(session, pos);
    case 7:
      TakeSnapshot(session, pos);
      return Next::kRecord;
    default:
      session.Log("Packet: " + std::to_string(session.recordCount) + ", Parsing Error");
      return Next::kStop;
  }
}

// The operations of one message; false when the walk stops. In the last record of a demo cut
// off at its end, an operation that runs into the end of the file ends the walk as the end of
// the demo does.
bool TakeMessage(ReadSession& session, uint32_t sequence, size_t op, bool cut) {
  try {
    while (op < session.readEnd) {
      const Next next = TakeOperation(session, sequence, op);
      if (next == Next::kStop) return false;
      if (next == Next::kRecord) break;
    }
  } catch (const ParsingError&) {
    if (!cut) throw;
  }
  return true;
}

}  // namespace

void WalkRecords(ReadSession& session) {
  const std::string_view block = session.block;
  const size_t headerSkip = LayoutOf(session.state.Protocol).messageHeaderBytes;
  size_t pos = 0;
  // A file that ends inside a record header was cut off there: the demo ends before it.
  const auto headerCut = [&] { return pos > 0 && block.size() - pos < 4; };
  do {
    ++session.recordCount;
    if (headerCut()) break;
    const uint32_t sequence = session.ReadUint32(pos, "PacketNumber");
    session.bytesConsumed += 4;
    if (static_cast<int32_t>(sequence) == kEndMarker) break;
    if (headerCut()) break;
    const auto length = static_cast<int32_t>(session.ReadUint32(pos, "PacketSize"));
    session.bytesConsumed += 4;
    if (length < 0) throw ParsingError{"PacketSize"};
    // A game that crashed or a download that stopped leaves the last record shorter than
    // its length says.
    const bool cut = static_cast<size_t>(length) > block.size() - pos;
    const size_t messageEnd = cut ? block.size() : pos + static_cast<size_t>(length);
    session.readEnd = messageEnd;
    const bool goOn = TakeMessage(session, sequence, pos + headerSkip, cut);
    session.readEnd = block.size();
    if (!goOn) return;
    pos = messageEnd;
    session.bytesConsumed += static_cast<uint32_t>(length);
  } while (session.bytesConsumed < block.size());
  const int64_t seconds = RoundedSeconds(session.serverTime - session.demoStartTime);
  session.state.Playtime = FormatSeconds(static_cast<uint32_t>(seconds));
  session.Log("^4" + session.state.Playtime + " ^7Demo end.");
}

}  // namespace rw
