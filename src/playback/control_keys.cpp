#include "playback/control_keys.h"

#include "playback/console_text.h"

namespace rw {
namespace {

constexpr const char* kBuiltInBinds =
    "bind kp_plus \"vstr d_f\"\r\n"
    "bind kp_minus \"vstr d_s\"\r\n"
    "bind kp_enter \"vstr d_f_t\"\r\n"
    "bind kp_del \"vstr d_s_t\"\r\n"
    "bind kp_5 \"vstr nextdemo\"\r\n"
    "bind pause \"vstr d_p\"";

}  // namespace

PlaybackControls::PlaybackControls(ControlKeys keys, std::string globalParameters)
    : keys_(std::move(keys)),
      bindBlock_(kBuiltInBinds),
      globalParameters_(std::move(globalParameters)) {}

void PlaybackControls::ConfirmKeys(const ControlKeys& fields) {
  struct Binding {
    std::string ControlKeys::*key;
    const char* command;
  };
  static constexpr std::array<Binding, 6> kBindings = {{
      {&ControlKeys::fastForward, "vstr d_f_t"},
      {&ControlKeys::slowMotion, "vstr d_s_t"},
      {&ControlKeys::faster, "vstr d_f"},
      {&ControlKeys::slower, "vstr d_s"},
      {&ControlKeys::pause, "vstr d_p"},
      {&ControlKeys::nextDemo, "vstr nextdemo"},
  }};
  std::string block;
  for (const Binding& binding : kBindings) {
    std::string& current = keys_.*binding.key;
    if (fields.*binding.key != current) block += "unbind " + ConsoleText(current) + "\r\n";
    current = fields.*binding.key;
  }
  for (std::size_t index = 0; index < kBindings.size(); ++index) {
    if (index > 0) block += "\r\n";
    block += "bind " + ConsoleText(keys_.*kBindings[index].key) + " \"" + kBindings[index].command +
             "\"";
  }
  bindBlock_ = std::move(block);
}

}  // namespace rw
