#pragma once

#include <functional>
#include <vector>

#include "library/player_view.h"

namespace rw::app {

// Where the windows ask for sounds. Each call site tries its sources in order and plays the
// first that plays; unset members play nothing.
struct SoundSeam {
  // The map's music of the properties window, looping.
  std::function<void(const std::vector<ArchiveMember>& sources)> playMapMusic;
  // Fades out and releases the map's music.
  std::function<void()> stopMapMusic;
  // A player's taunt in the player description window.
  std::function<void(const std::vector<ArchiveMember>& sources)> playTaunt;
  // Releases the taunt when that window closes.
  std::function<void()> releaseTaunt;
};

}  // namespace rw::app
