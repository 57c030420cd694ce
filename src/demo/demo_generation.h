#pragma once

#include <cstdint>
#include <string_view>

namespace rw {

// How the messages of a demo are laid out, chosen by its protocol number: 45 or less (the
// early 1.17 demos, protocol 43 and 45), 46, and 47 or more (1.27, protocol 48). Later
// protocols (66 and up) are bit-packed: they hold no server info text, so they never get
// this far and read as unreadable.
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

// The game versions a demo plays in. The lists and playback take it from the "Protocol"
// column text: not less than "47" in a plain character comparison is the 1.27 generation.
enum class DemoGeneration { k117, k127 };

DemoGeneration GenerationOfProtocolText(std::string_view protocol);
// ".dm3" or ".dm_48".
std::string_view DemoExtension(DemoGeneration generation);
// "1.17" or "1.27".
std::string_view VersionLabel(DemoGeneration generation);
// No installed version plays a protocol 46 demo, so the lists never offer one.
bool IsPlayableProtocolText(std::string_view protocol);

// Configuration strings the reader takes (the layout-dependent ones are in ProtocolLayout).
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
