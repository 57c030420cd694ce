#include "playback/playback_script.h"

#include <cstdio>

#include "host/path_separator.h"
#include "playback/console_text.h"
#include "text/utf8_to_windows_1252.h"

namespace rw {
namespace {

constexpr std::string_view kLineBreak = "\r\n";
constexpr std::size_t kMaxDisplayPath = 260;

struct SpeedState {
  std::string name;
  int freeze = 0;
  std::string pause;
  std::string scale;
  std::string up;
  std::string down;
  std::string slow;
  std::string fast;
  std::string text;
};

std::string StateName(int number) {
  char name[8];
  std::snprintf(name, sizeof name, "ds%02d", number);
  return name;
}

std::string TenthsText(int tenths) {
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

// Steps of a tenth up to 4.0; the named states stop, jump or toggle differently.
SpeedState StepState(int number) {
  const std::string scale = TenthsText(number);
  return {StateName(number),     0,      "ds00", scale,           StateName(number + 1),
          StateName(number - 1), "ds10", "ds10", "SPEED " + scale};
}

std::vector<SpeedState> SpeedStates() {
  std::vector<SpeedState> states;
  states.push_back({"ds00", 1, "ds10", "0.1", "ds01", "ds00", "ds04", "ds10", "^4PAUSE"});
  for (int number = 1; number <= 39; ++number) states.push_back(StepState(number));
  states[4] = {"ds04", 0, "ds00", "0.4", "ds05", "ds03", "ds04", "ds10", "^1SLOWMOTION"};
  states[10] = {"ds10", 0, "ds00", "1.0", "ds11", "ds09", "ds04", "ds25", "^2NORMALSPEED"};
  states[25] = {"ds25", 0, "ds00", "2.5", "ds26", "ds24", "ds10", "ds25", "^3FASTFORWARD"};
  for (int whole = 4; whole <= 8; ++whole) {
    const std::string scale = TenthsText(whole * 10);
    states.push_back({StateName(whole * 10), 0, "ds00", scale, StateName(whole * 10 + 10), "ds39",
                      "ds10", "ds10", "SPEED " + scale});
  }
  states.push_back({"ds90", 0, "ds00", "9.0", "dsmax", "ds39", "ds_s", "ds10", "SPEED 9.0"});
  states.push_back({"dsmax", 0, "ds00", "100", "dsmax", "ds39", "ds_s", "ds10", "^4MAXSPEED"});
  return states;
}

std::string StateLine(const SpeedState& state, std::size_t index) {
  std::string line = "set " + state.name + " \"cl_freezedemo " + std::to_string(state.freeze) +
                     ";set d_p vstr " + state.pause + ";timescale " + state.scale;
  const bool spaced = state.name == "ds90" || state.name == "dsmax";
  const std::string separator = spaced ? "; " : ";";
  const std::string slow = "set d_s_t vstr " + state.slow;
  const std::string fast = "set d_f_t vstr " + state.fast;
  line += separator + "set d_f vstr " + state.up + separator + "set d_s vstr " + state.down;
  // The first eighteen states name the slow-motion toggle first.
  if (index <= 17) {
    line += separator + slow + separator + fast;
  } else {
    line += separator + fast + separator + slow;
  }
  line += ";vstr actualplaylist;vstr actualdemo;echo " + state.text + "\"";
  return line;
}

void AddLine(std::string& script, std::string_view line) {
  script += line;
  script += kLineBreak;
}

std::string ExtensionOf(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot));
}

std::string FileNameOf(std::string_view path) {
  const std::string separators = std::string(1, kPathSeparator) + "\\:";
  const std::size_t last = path.find_last_of(separators);
  return std::string(last == std::string_view::npos ? path : path.substr(last + 1));
}

// Names are UTF-8; the game reads its script as Windows-1252.
std::string ShownText(std::string_view name) {
  return ConsoleText(Utf8ToWindows1252(name));
}

// The mark of an archive entry stays; the path after it is shown as the console shows it.
std::string RemarkText(std::string_view display) {
  if (display.starts_with('\x01')) return '\x01' + ShownText(display.substr(1));
  return ShownText(display);
}

void AddOpening(std::string& script) {
  script += SpeedBlock();
  AddLine(script, "set actualplaylist echo ^5RWT ^51.32 ^5(rwttmp.rwt)");
}

void AddClosing(std::string& script, const ScriptOptions& options) {
  AddLine(script, "vstr d1");
  AddLine(script, options.bindBlock);
}

std::string TimeDemoLine(const ScriptOptions& options) {
  return options.timeDemos ? "timedemo 1" : "timedemo 0";
}

std::string ScriptPath(const std::string& baseFolder) {
  return baseFolder + kPathSeparator + std::string(kScriptFileName);
}

std::string BuildSpeedBlock() {
  std::string block;
  AddLine(block, "//Reelwright Play List, Version 1.32");
  const std::vector<SpeedState> states = SpeedStates();
  for (std::size_t index = 0; index < states.size(); ++index) {
    AddLine(block, StateLine(states[index], index));
  }
  AddLine(block, "set ds_s \"vstr ds04\"");
  AddLine(block, "set ds_f \"vstr ds25\"");
  AddLine(block, "set d_f \"vstr ds11\"");
  AddLine(block, "set d_s \"vstr ds09\"");
  AddLine(block, "set d_s_t \"vstr ds_s\"");
  AddLine(block, "set d_f_t \"vstr ds_f\"");
  AddLine(block, "set d_p \"vstr ds00\"");
  return block;
}

}  // namespace

std::string SpeedBlock() {
  static const std::string block = BuildSpeedBlock();
  return block;
}

std::string SingleDemoScript(const ScriptOptions& options, std::string_view display,
                             std::optional<std::string_view> play) {
  const std::string playName =
      ConsoleText(play ? std::string(*play) : "rwttmp00" + ExtensionOf(display));
  std::string script;
  AddOpening(script);
  AddLine(script, TimeDemoLine(options));
  AddLine(script, "set end quit");
  const std::string shown = ShownText(display);
  if (options.loopDemos) {
    AddLine(script, "set d1 \"demo " + playName + "; set actualdemo echo Demo ^3" + shown +
                        "; vstr ds10; set nextdemo vstr d1\"");
  } else {
    AddLine(script, "set d1 \"demo " + playName + "; set actualdemo echo Playing demo: ^3" + shown +
                        "; vstr ds10; set nextdemo vstr end\"");
  }
  AddClosing(script, options);
  return script;
}

std::string PlayListScript(const ScriptOptions& options, const std::vector<std::string>& records) {
  std::string script;
  AddOpening(script);
  AddLine(script, "//!Do not remove the following remark lines!");
  for (const std::string& record : records) {
    const std::size_t star = record.find('*');
    const std::string display = star == std::string::npos ? "" : record.substr(star + 1);
    AddLine(script, "// " + RemarkText(display).substr(0, kMaxDisplayPath));
  }
  AddLine(script, TimeDemoLine(options));
  const std::string count = std::to_string(records.size());
  for (std::size_t index = 0; index < records.size(); ++index) {
    const std::string& record = records[index];
    const std::size_t star = record.find('*');
    const std::string play = ConsoleText(record.substr(0, star));
    const std::string file = ShownText(FileNameOf(star == std::string::npos
                                                      ? std::string_view()
                                                      : std::string_view(record).substr(star + 1)));
    const std::string number = std::to_string(index + 1);
    std::string next;
    if (index + 1 < records.size()) {
      next = "d" + std::to_string(index + 2);
    } else if (options.loopDemos) {
      next = "d1";
    } else {
      AddLine(script, "set end quit");
      next = "end";
    }
    AddLine(script, "set d" + number + " \"demo " + play + "; set actualdemo echo Demo #^2" +
                        number + "^7 of ^2" + count + "^7: ^3" + file +
                        "; vstr ds10; set nextdemo vstr " + next + "\"");
  }
  AddClosing(script, options);
  return script;
}

bool MakeTmpPlayList(FileSystem& files, Messages& messages, const std::string& baseFolder,
                     const ScriptOptions& options, std::string_view display,
                     std::optional<std::string_view> play) {
  const std::string path = ScriptPath(baseFolder);
  if (files.WriteFileAtomic(path, SingleDemoScript(options, display, play))) return true;
  messages.Show("RWT: File Save Error", "demoplay.MakeTmpPlayList: " + path, MessageIcon::kError);
  return false;
}

bool WritePlayListScript(FileSystem& files, Messages& messages, const std::string& baseFolder,
                         const ScriptOptions& options, const std::vector<std::string>& records) {
  if (files.WriteFileAtomic(ScriptPath(baseFolder), PlayListScript(options, records))) return true;
  messages.Show("RWT: File Save Error", "demoplay.CreatePlaylist: could not save rwttmp.rwt",
                MessageIcon::kError);
  return false;
}

}  // namespace rw
