#include "demo/demo_info.h"

#include <charconv>
#include <cstdint>
#include <optional>

#include "demo/display_text.h"
#include "demo/game_names.h"
#include "demo/info_text.h"
#include "text/name_text.h"
#include "text/windows_1252.h"

namespace rw {
namespace {

std::optional<int64_t> DecimalNumber(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
    return std::nullopt;
  }
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return value;
}

std::string TeamName(const DemoReadState& state, std::string_view key, std::string_view fallback) {
  std::string name = GetInfoValue(state, key);
  return name == "N/A" ? std::string(fallback) : name;
}

}  // namespace

Winners GetWinners(const DemoReadState& state) {
  Winners result;
  std::string high = "0";
  std::string low = "0";
  if (state.GameType > "2") {
    const std::string red = TeamName(state, "g_redteam", "Red Team");
    const std::string blue = TeamName(state, "g_blueteam", "Blue Team");
    const std::optional<int64_t> score1 = DecimalNumber(state.Score1);
    const std::optional<int64_t> score2 = DecimalNumber(state.Score2);
    if (!score1 || !score2) return result;
    if (*score2 < *score1) {
      result.winner = red;
      result.second = blue;
      high = state.Score1;
      low = state.Score2;
    } else {
      result.winner = blue;
      result.second = red;
      high = state.Score2;
      low = state.Score1;
    }
  } else {
    if (!state.ScoresSeen) return result;
    int placed = 0;
    for (const TPlayer& player : state.Players) {
      if (player.Name.empty() || player.Team >= kTeamSpectator) continue;
      if (placed == 0) {
        result.winner = StripColors(player.Name);
        high = std::to_string(player.Score);
      } else {
        result.second = StripColors(player.Name);
        low = std::to_string(player.Score);
      }
      if (++placed == 2) break;
    }
  }
  result.finalScore = high + ":" + low;
  return result;
}

void SetFieldsFromRead(DemoInfo& info, const DemoReadState& state) {
  info[DemoInfo::Map] = AnsiLowerText(GetInfoValue(state, "mapname"));
  info[DemoInfo::Playtime] = state.Playtime;
  info[DemoInfo::Version] = GetInfoValue(state, "version");
  info[DemoInfo::Gametype] = GametypeName(GetInfoValue(state, "g_gametype"), state);
  info[DemoInfo::Mod] = ModName(state);
  info[DemoInfo::Hostname] = GetInfoValue(state, "sv_hostname");
  static constexpr std::pair<DemoInfo::Field, std::string_view> kLimits[] = {
      {DemoInfo::Timelimit, "timelimit"},       {DemoInfo::Fraglimit, "fraglimit"},
      {DemoInfo::Capturelimit, "capturelimit"}, {DemoInfo::MaxClients, "sv_maxclients"},
      {DemoInfo::MaxRate, "sv_maxRate"},        {DemoInfo::MaxPing, "sv_maxPing"},
      {DemoInfo::MinPing, "sv_minPing"}};
  for (const auto& [field, key] : kLimits) info[field] = ZeroAsNotSet(GetInfoValue(state, key));
  info[DemoInfo::Protocol] = ZeroAsNotSet(ServerProtocol(state));
  Winners winners = GetWinners(state);
  info[DemoInfo::Winner] = std::move(winners.winner);
  info[DemoInfo::Second] = std::move(winners.second);
  info[DemoInfo::FinalScore] = std::move(winners.finalScore);
}

std::string FieldAsUtf8(size_t field, std::string_view text) {
  if (HoldsName(field)) return NameToUtf8(text);
  return HoldsUserText(field) ? std::string(text) : Windows1252ToUtf8(text);
}

}  // namespace rw
