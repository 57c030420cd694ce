#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rw {

// How the messages of a demo are laid out, chosen by its protocol number: 45 or less (the
// early 1.17 demos, protocol 43 and 45), 46, and 47 or more (1.27, protocol 48). The header
// and snapshot skips concern plain-byte messages only; 66 to 68 keep 1.27's "scores" fields
// and configuration strings, so they share its layout.
struct ProtocolLayout {
  // Bytes skipped before the operations of every message.
  int messageHeaderBytes;
  // Bytes skipped before a snapshot's server time.
  int snapshotTimeSkip;
  // Numbers per player in a "scores" command.
  int scoreFieldsPerPlayer;
  // Whether the "scores" command carries accuracy and the seven award counts.
  bool scoresCarryAwards;
  // The configuration strings that hold the level start time and the intermission.
  int levelStartString;
  int intermissionString;
};

const ProtocolLayout& LayoutOf(int32_t protocol);

// The game versions a demo plays in: 1.17 (protocols 43, 45, 46; ".dm3"), 1.27 (47, 48;
// ".dm_48"), 1.30 to 1.32 and the engines built on them (66, 67, 68; ".dm_66" to ".dm_68"),
// Quake Live (73, 90, 91) and any other protocol (OpenArena's 70 and 71 among them).
enum class DemoGeneration { k117, k127, k132, kQuakeLive, kForeign };

// How the bytes of a message hold its operations.
enum class MessageCoding {
  // Byte-aligned operations, little-endian integers, NUL-ended texts.
  kPlainBytes,
  // A bit stream, bits least significant first, every whole byte one symbol of the engine's
  // fixed Huffman code; entities and player states as deltas over field tables.
  kHuffmanBits,
};

// Where a player's score arrives from.
enum class ScoreSource {
  // Not read.
  kNone,
  // "scores" server commands (ProtocolLayout gives the numbers per player) and the team
  // scores in the score configuration strings.
  kScoresCommand,
};

// What one generation is.
struct GenerationFacts {
  DemoGeneration generation;
  // The extension its game writes (of 66 to 68, the last one's).
  std::string_view extension;
  // "1.17", "1.27", "1.32", "Quake Live" or "other".
  std::string_view label;
  MessageCoding coding;
  // Whether the reader fills a summary; other demos list as rows that could not be read.
  bool readable;
  // Its configuration strings are those of ConfigString, with the level start and the
  // intermission of ProtocolLayout.
  ScoreSource scores;
};

const GenerationFacts& FactsOf(DemoGeneration generation);

DemoGeneration GenerationOfProtocol(int32_t protocol);
// ".dm3" or ".dm_" and a protocol number (any case); none for any other extension.
std::optional<DemoGeneration> GenerationOfExtension(std::string_view extension);
// Whether a file or archive member with this extension is a demo.
bool IsDemoExtension(std::string_view extension);

// The extension of a file name or path ("/" or "\\" between folders), from its last "." on;
// empty without one.
std::string_view ExtensionOf(std::string_view fileName);

// The generation of a demo whose server info gives this protocol. A client of 66 to 68
// writes its own protocol into the file's extension, which may differ from its server's
// (ioquake3 servers give 71 to those clients too): when the server's protocol names no
// generation, the file name's does.
DemoGeneration GenerationOfDemo(int32_t protocol, std::string_view fileName);
// The same for a list row, from its "Protocol" column: the number its first two characters
// give, as the reader reads the server info.
DemoGeneration GenerationOfListedDemo(std::string_view protocol, std::string_view fileName);
// Whether some game program plays the listed demo: 1.17 but for protocol 46 (no installed
// version plays it), 1.27 and 66 to 68.
bool IsPlayableDemo(std::string_view protocol, std::string_view fileName);
// The extension a listed demo is played under: its generation's, but a 66 or 67 demo keeps
// its own.
std::string PlayedExtension(std::string_view protocol, std::string_view fileName);

// ".dm3", ".dm_48" or ".dm_68".
std::string_view DemoExtension(DemoGeneration generation);
// "1.17", "1.27", "1.32", ...
std::string_view VersionLabel(DemoGeneration generation);

// Configuration strings every readable generation keeps in the same place (the level start
// and the intermission moved in 1.27: ProtocolLayout).
enum ConfigString : int {
  kServerInfoString = 0,
  kSystemInfoString = 1,
  kMusicString = 2,
  kMapMessageString = 3,
  kWarmupString = 5,
  kFirstScoreString = 6,
  kSecondScoreString = 7,
  kVoteTextString = 9,
  kVoteYesString = 10,
  kVoteNoString = 11,
  kFirstPlayerString = 544,
  kLastPlayerString = 607,
};

}  // namespace rw
