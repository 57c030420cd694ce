#include "demo/record_walk.h"

#include <string>

#include "archive/little_endian.h"
#include "demo/coded_message.h"
#include "demo/game_state.h"
#include "demo/plain_message.h"
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

template <typename Message>
void TakeSnapshot(ReadSession& session, Message& message) {
  session.serverTime = message.ServerTime("ServerTime");
  if (!session.firstSnapshot) return;
  session.demoStartTime = session.serverTime;
  session.levelStartTime = session.serverTime;
  session.Log("^400:00:00 ^7Demo start.");
  session.firstSnapshot = false;
}

// The configuration strings of a game state; what follows them (entity baselines) is not
// needed.
template <typename Message>
void TakeGameState(ReadSession& session, Message& message) {
  message.SkipLong("GAMESTATE,gamestate_cmd");
  while (message.Byte("GAMESTATE,gamestate_cmd") == 3) {
    const int index = message.Short("GAMESTATE,gamestate_index");
    TakeConfigString(session, index, message.Text("GAMESTATE,gamestate_string"));
  }
}

// A server command; only numbers above the last one handled are new.
template <typename Message>
Next TakeServerCommand(ReadSession& session, Message& message) {
  const uint32_t number = message.Long("SERVERCOMMAND,cmdnr");
  const bool isNew = number > session.lastCommand;
  const std::string_view text = message.CommandText(number, isNew, "SERVERCOMMAND,text");
  if (!isNew) return Next::kOperation;
  session.lastCommand = number;
  return HandleServerCommand(session, text) == AfterCommand::kNextRecord ? Next::kRecord
                                                                         : Next::kOperation;
}

template <typename Message>
Next TakeOperation(ReadSession& session, uint32_t sequence, Message& message) {
  const uint8_t opcode = message.Byte("Server_cmd");
  switch (opcode) {
    case 0:
      LogSequence(session, sequence, "; bad command");
      return Next::kStop;
    case 1:
      LogSequence(session, sequence, "; no operation command");
      return Next::kRecord;
    case 2:
      TakeGameState(session, message);
      return Next::kRecord;
    case 3:
    case 4:
    case 6:
      LogSequence(session, sequence, "; old q2 command, not more valid");
      return Next::kStop;
    case 5:
      return TakeServerCommand(session, message);
    case 7:
      TakeSnapshot(session, message);
      return Next::kRecord;
    case 8:
      if (Message::kEndOperation) return Next::kRecord;
      [[fallthrough]];
    default:
      session.Log("Packet: " + std::to_string(session.recordCount) + ", Parsing Error");
      return Next::kStop;
  }
}

// The operations of one message; false when the walk stops. In the last record of a demo cut
// off at its end, an operation that runs into the end of the file ends the walk as the end of
// the demo does.
template <typename Message>
bool TakeMessage(ReadSession& session, uint32_t sequence, size_t start, size_t end, bool cut) {
  try {
    Message message(session, start, end);
    while (message.HasMore()) {
      const Next next = TakeOperation(session, sequence, message);
      if (next == Next::kStop) return false;
      if (next == Next::kRecord) break;
    }
  } catch (const ParsingError&) {
    if (!cut) throw;
  }
  return true;
}

template <typename Message>
void Walk(ReadSession& session) {
  const std::string_view block = session.block;
  const auto* bytes = reinterpret_cast<const uint8_t*>(block.data());
  size_t pos = 0;
  // A file that ends inside a record header was cut off there: the demo ends before it.
  const auto headerCut = [&] { return pos > 0 && block.size() - pos < 4; };
  do {
    ++session.recordCount;
    if (headerCut()) break;
    if (block.size() - pos < 4) throw ParsingError{"PacketNumber"};
    const uint32_t sequence = ReadLe32(bytes + pos);
    pos += 4;
    session.bytesConsumed += 4;
    if (static_cast<int32_t>(sequence) == kEndMarker) break;
    if (headerCut()) break;
    if (block.size() - pos < 4) throw ParsingError{"PacketSize"};
    const auto length = static_cast<int32_t>(ReadLe32(bytes + pos));
    pos += 4;
    session.bytesConsumed += 4;
    if (length < 0) throw ParsingError{"PacketSize"};
    // A game that crashed or a download that stopped leaves the last record shorter than
    // its length says.
    const bool cut = static_cast<size_t>(length) > block.size() - pos;
    const size_t messageEnd = cut ? block.size() : pos + static_cast<size_t>(length);
    if (!TakeMessage<Message>(session, sequence, pos, messageEnd, cut)) return;
    pos = messageEnd;
    session.bytesConsumed += static_cast<uint32_t>(length);
  } while (session.bytesConsumed < block.size());
  const int64_t seconds = RoundedSeconds(session.serverTime - session.demoStartTime);
  session.state.Playtime = FormatSeconds(static_cast<uint32_t>(seconds));
  session.Log("^4" + session.state.Playtime + " ^7Demo end.");
}

}  // namespace

void WalkRecords(ReadSession& session, MessageCoding coding) {
  if (coding == MessageCoding::kHuffmanBits) {
    Walk<CodedMessage>(session);
  } else {
    Walk<PlainMessage>(session);
  }
}

}  // namespace rw
