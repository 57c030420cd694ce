#include "playback/control_keys.h"

#include <gtest/gtest.h>

namespace rw {
namespace {

constexpr const char* kSixBinds =
    "bind kp_enter \"vstr d_f_t\"\r\nbind kp_del \"vstr d_s_t\"\r\nbind kp_plus \"vstr d_f\"\r\n"
    "bind kp_minus \"vstr d_s\"\r\nbind pause \"vstr d_p\"\r\nbind kp_5 \"vstr nextdemo\"";

TEST(ControlKeys, DefaultsAreTheKeypadKeys) {
  const ControlKeys keys;
  EXPECT_EQ(keys.fastForward, "kp_enter");
  EXPECT_EQ(keys.slowMotion, "kp_del");
  EXPECT_EQ(keys.faster, "kp_plus");
  EXPECT_EQ(keys.slower, "kp_minus");
  EXPECT_EQ(keys.pause, "pause");
  EXPECT_EQ(keys.nextDemo, "kp_5");
}

TEST(PlaybackControls, StartsWithTheBuiltInBindsWhateverKeysAreStored) {
  ControlKeys stored;
  stored.pause = "p";
  stored.faster = "uparrow";
  const PlaybackControls controls(stored, "+exec myconfig");
  EXPECT_EQ(controls.keys(), stored);  // what the dialog's fields show
  EXPECT_EQ(controls.bindBlock(),
            "bind kp_plus \"vstr d_f\"\r\nbind kp_minus \"vstr d_s\"\r\nbind kp_enter \"vstr "
            "d_f_t\"\r\nbind kp_del \"vstr d_s_t\"\r\nbind kp_5 \"vstr nextdemo\"\r\nbind pause "
            "\"vstr d_p\"");
  EXPECT_EQ(controls.globalParameters(), "+exec myconfig");
}

TEST(PlaybackControls, ConfirmingUnchangedKeysBindsAllSixInDialogOrder) {
  PlaybackControls controls;
  controls.ConfirmKeys(ControlKeys{});
  EXPECT_EQ(controls.bindBlock(), kSixBinds);
}

TEST(PlaybackControls, ChangedKeyIsUnboundOnlyOnTheFirstConfirmation) {
  PlaybackControls controls;
  ControlKeys fields;
  fields.pause = "p";
  controls.ConfirmKeys(fields);
  EXPECT_EQ(controls.bindBlock(),
            "unbind pause\r\nbind kp_enter \"vstr d_f_t\"\r\nbind kp_del \"vstr d_s_t\"\r\n"
            "bind kp_plus \"vstr d_f\"\r\nbind kp_minus \"vstr d_s\"\r\nbind p \"vstr d_p\"\r\n"
            "bind kp_5 \"vstr nextdemo\"");
  EXPECT_EQ(controls.keys().pause, "p");
  controls.ConfirmKeys(fields);
  EXPECT_EQ(controls.bindBlock().find("unbind"), std::string::npos);
  EXPECT_EQ(controls.bindBlock().substr(0, 25), "bind kp_enter \"vstr d_f_t");
}

TEST(PlaybackControls, UnbindsEveryChangedKeyInDialogOrder) {
  PlaybackControls controls;
  ControlKeys fields;
  fields.nextDemo = "n";
  fields.fastForward = "f";
  controls.ConfirmKeys(fields);
  EXPECT_EQ(controls.bindBlock().substr(0, 30), "unbind kp_enter\r\nunbind kp_5\r\n");
}

}  // namespace
}  // namespace rw
