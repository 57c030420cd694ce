#include "playback/game_window.h"

#include <gtest/gtest.h>

#include "host/fake/fake_host.h"
#include "host/fake/fake_windows.h"

namespace rw {
namespace {

struct GameWindows {
  FakeWindowSystem windows;
  CountingPump pump;
  FakeClock clock;
  GameWindow game{windows, pump, clock};
  WindowId main = 0;
  WindowId console = 0;

  void StartGame() {
    main = windows.AddTopLevel("Quake 3: Arena", "Quake 3: Arena");
    console = windows.AddTopLevel("Q3 WinConsole", "Quake 3 Console");
  }
  // The game as it closes on request: both windows go.
  void CloseOnRequest() {
    windows.onClose = [this](WindowId window) {
      if (window != main) return;
      windows.Remove(main);
      windows.Remove(console);
    };
  }
};

TEST(GameWindow, TypesIntoTheFirstWritableEditChild) {
  GameWindows g;
  g.StartGame();
  g.windows.AddChild(g.console, "Button");
  const WindowId readOnly = g.windows.AddChild(g.console, "Edit", 0x0800 | 0x0004);
  const WindowId input = g.windows.AddChild(g.console, "RichEdit20A", 0x0080);
  const WindowId later = g.windows.AddChild(g.console, "Edit");
  ASSERT_TRUE(g.game.SendConsoleLine("exec rwttmp.rwt"));
  EXPECT_EQ(g.windows.TypedInto(input), "exec rwttmp.rwt\r");
  EXPECT_EQ(g.windows.TypedInto(readOnly), "");
  EXPECT_EQ(g.windows.TypedInto(later), "");
}

TEST(GameWindow, ThreeHundredCharactersAreThreeHundredAndOneMessages) {
  GameWindows g;
  g.StartGame();
  const WindowId input = g.windows.AddChild(g.console, "Edit");
  const std::string text(300, 'x');
  ASSERT_TRUE(g.game.SendConsoleLine(text));
  ASSERT_EQ(g.windows.sent.size(), 301u);
  for (const FakeWindowSystem::Sent& sent : g.windows.sent) {
    EXPECT_EQ(sent.window, input);
    EXPECT_FALSE(sent.close);
  }
  EXPECT_EQ(g.windows.sent.back().code, 13);
}

TEST(GameWindow, ReportsALineThatReachedNoInputLine) {
  GameWindows g;
  EXPECT_FALSE(g.game.SendConsoleLine("exec rwttmp.rwt"));  // no game
  g.StartGame();
  EXPECT_FALSE(g.game.SendConsoleLine("exec rwttmp.rwt"));  // console without an input line
  g.windows.AddChild(g.console, "Edit", 0x0800);
  EXPECT_FALSE(g.game.SendConsoleLine("exec rwttmp.rwt"));  // only a read-only one
  g.windows.AddChild(g.console, "Edit");
  g.windows.Remove(g.main);
  EXPECT_FALSE(g.game.SendConsoleLine("exec rwttmp.rwt"));  // console left, game gone
  EXPECT_FALSE(g.game.IsRunning());
  EXPECT_TRUE(g.windows.sent.empty());
}

TEST(GameWindow, CloseAsksTheGameWindow) {
  GameWindows g;
  EXPECT_TRUE(g.game.Close());
  g.StartGame();
  g.CloseOnRequest();
  const WindowId main = g.main;
  EXPECT_TRUE(g.game.IsRunning());
  EXPECT_TRUE(g.game.Close());
  EXPECT_EQ(g.windows.CloseRequests(main), 1);
  EXPECT_FALSE(g.game.IsRunning());
}

TEST(GameWindow, CloseWithOnlyTheConsoleLeftSendsNothing) {
  GameWindows g;
  g.StartGame();
  g.windows.Remove(g.main);
  EXPECT_FALSE(g.game.Close());
  EXPECT_TRUE(g.windows.sent.empty());
}

TEST(GameWindow, CloseWithinGivesUpWhenTheGameStays) {
  GameWindows g;
  g.StartGame();
  EXPECT_FALSE(g.game.CloseWithin(kGameWaitLimitMs));
  EXPECT_GE(g.clock.now - 1000, kGameWaitLimitMs);
  EXPECT_LT(g.clock.now - 1000, kGameWaitLimitMs + 1000);
  EXPECT_GT(g.windows.CloseRequests(g.main), 100);
  EXPECT_GT(g.pump.calls, 100);
}

TEST(GameWindow, CloseWithinAsksAgainUntilTheGameGoes) {
  GameWindows g;
  g.StartGame();
  int requests = 0;
  g.windows.onClose = [&](WindowId) {
    if (++requests < 3) return;
    g.windows.Remove(g.main);
    g.windows.Remove(g.console);
  };
  EXPECT_TRUE(g.game.CloseWithin(kGameWaitLimitMs));
  EXPECT_EQ(requests, 3);
}

TEST(GameWindow, WaitUntilRunningNeedsBothWindows) {
  GameWindows g;
  g.windows.AddTopLevel("Quake 3: Arena", "Quake 3: Arena");
  EXPECT_FALSE(g.game.WaitUntilRunning(kGameWaitLimitMs));
  EXPECT_GE(g.clock.now - 1000, kGameWaitLimitMs);
  g.pump.onService = [&] { g.windows.AddTopLevel("Q3 WinConsole", "Quake 3 Console"); };
  EXPECT_TRUE(g.game.WaitUntilRunning(kGameWaitLimitMs));
}

TEST(GameWindow, TitlesAndClassesMustMatchExactly) {
  GameWindows g;
  g.windows.AddTopLevel("Quake 3: Arena", "quake 3: arena");
  g.windows.AddTopLevel("Q3 WinConsole", "Quake 3 Console");
  EXPECT_FALSE(g.game.IsRunning());
}

}  // namespace
}  // namespace rw
