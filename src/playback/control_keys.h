#pragma once

#include <array>
#include <string>

namespace rw {

// The six game keys that drive the playback speeds, in the order of the keys dialog:
// fast forward, slow motion, faster, slower, pause, next demo.
struct ControlKeys {
  std::string fastForward = "kp_enter";
  std::string slowMotion = "kp_del";
  std::string faster = "kp_plus";
  std::string slower = "kp_minus";
  std::string pause = "pause";
  std::string nextDemo = "kp_5";

  bool operator==(const ControlKeys&) const = default;
};

// What the keys dialog and every script share: the current keys, the bind block that ends
// every script, and the global start parameters of the game.
class PlaybackControls {
 public:
  // Keys from the configuration fill the dialog; the scripts keep the built-in binds until
  // the dialog is confirmed.
  explicit PlaybackControls(ControlKeys keys = {}, std::string globalParameters = {});

  const ControlKeys& keys() const { return keys_; }
  // Lines separated by CR LF, without one after the last.
  const std::string& bindBlock() const { return bindBlock_; }
  const std::string& globalParameters() const { return globalParameters_; }

  // The keys dialog's OK: keys that changed are unbound in the game, then all six are bound.
  void ConfirmKeys(const ControlKeys& fields);
  // The parameters dialog's OK.
  void SetGlobalParameters(std::string parameters) { globalParameters_ = std::move(parameters); }

 private:
  ControlKeys keys_;
  std::string bindBlock_;
  std::string globalParameters_;
};

}  // namespace rw
