#include "playback/generation_switch.h"

#include <array>

#include "host/path_separator.h"
#include "playback/game_start.h"

namespace rw {
namespace {

struct RenameStep {
  std::string from;
  std::string to;
};

std::array<RenameStep, 4> RenameSteps(const GameInstall& install, bool toNew) {
  const std::string game = install.gameFolder() + kPathSeparator;
  const std::string base = install.baseFolder() + kPathSeparator;
  if (toNew) {
    return {{{game + "quake3.exe", game + "oldversion"},
             {game + "newversion", game + "quake3.exe"},
             {base + "pak4.zip", base + "pak4.pk3"},
             {base + "pak5.zip", base + "pak5.pk3"}}};
  }
  return {{{game + "quake3.exe", game + "newversion"},
           {game + "oldversion", game + "quake3.exe"},
           {base + "pak4.pk3", base + "pak4.zip"},
           {base + "pak5.pk3", base + "pak5.zip"}}};
}

constexpr uint32_t kRetryMs = 100;

}  // namespace

void GenerationSwitch::ShowStartState(bool restoreNew) {
  RefreshOnMenuOpen();
  ShowRestoreOption(restoreNew);
}

void GenerationSwitch::RefreshOnMenuOpen() {
  menu_.enabled = install_.IsSwitchingAvailable();
  ShowActive(install_.IsNewGenerationActive());
}

void GenerationSwitch::ShowRestoreOption(bool restoreNew) {
  menu_.restoreNewChecked = restoreNew;
  menu_.restoreOldChecked = !restoreNew;
}

void GenerationSwitch::ShowActive(bool newActive) {
  menu_.newChecked = newActive;
  menu_.oldChecked = !newActive;
}

bool GenerationSwitch::SwitchStopped(bool toNew) {
  for (const RenameStep& step : RenameSteps(install_, toNew)) {
    if (!host_.files.Rename(step.from, step.to).ok()) return false;
  }
  return true;
}

bool GenerationSwitch::SwitchRunning(bool toNew, const std::string& globalParameters) {
  if (!host_.game.CloseWithin(kGameWaitLimitMs)) return false;
  // The game's files stay locked for a moment after its windows are gone.
  const std::array<RenameStep, 4> steps = RenameSteps(install_, toNew);
  std::array<bool, 4> done{};
  const uint32_t start = host_.clock.TickCount();
  for (;;) {
    host_.pump.ServicePending();
    host_.clock.Sleep(kRetryMs);
    bool all = true;
    for (std::size_t index = 0; index < steps.size(); ++index) {
      if (!done[index]) done[index] = host_.files.Rename(steps[index].from, steps[index].to).ok();
      all = all && done[index];
    }
    if (all) break;
    if (host_.clock.TickCount() - start >= kGameWaitLimitMs) return false;
  }
  ShowActive(toNew);
  if (!StartGame(host_.shell, host_.messages, install_.program(), install_.gameFolder(),
                 globalParameters)) {
    return true;
  }
  return host_.game.WaitUntilRunning(kGameWaitLimitMs);
}

bool GenerationSwitch::Switch(bool toNew, const std::string& globalParameters) {
  const bool switched =
      host_.game.IsRunning() ? SwitchRunning(toNew, globalParameters) : SwitchStopped(toNew);
  if (switched) {
    ShowActive(toNew);
    return true;
  }
  host_.messages.Show("Debug",
                      toNew ? "Something went wrong in changing version to 1.27 !\r\nStudy the rwt "
                              "readme file for problem solving issues with version changing."
                            : "Something went wrong in changing version to pre 1.27 !\r\nStudy the "
                              "rwt readme file for problem solving issues with version changing.",
                      MessageIcon::kError);
  return false;
}

bool GenerationSwitch::Choose(bool newItem, const std::string& globalParameters) {
  RefreshOnMenuOpen();
  if (!menu_.enabled || (newItem ? menu_.newChecked : menu_.oldChecked)) return false;
  return Switch(newItem, globalParameters);
}

void GenerationSwitch::RestoreAtExit(bool restoreNew, const std::string& globalParameters) {
  if (!install_.IsSwitchingAvailable()) return;
  const bool newActive = install_.IsNewGenerationActive();
  if (newActive && !restoreNew) Switch(false, globalParameters);
  if (!newActive && restoreNew) Switch(true, globalParameters);
}

}  // namespace rw
