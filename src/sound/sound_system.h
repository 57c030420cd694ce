#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "archive/extractor.h"
#include "host/file_system.h"
#include "host/messages.h"
#include "model/app_state.h"
#include "model/settings.h"
#include "sound/sound_device.h"

namespace rw {

// The quietest volume music fades to, and its step per tick.
inline constexpr int32_t kSilentMusicVolume = -5000;
inline constexpr int32_t kFadeStep = 300;

enum class SoundStart { kCreated, kAlreadyThere, kFailed };

// Interface sounds, taunts and map music played straight out of the game's archives, each
// in its slot with the switch and volume of the "Sound" settings. Everything runs on the
// windows' thread; extraction and fades serve window messages, so a request made meanwhile
// is refused rather than nested.
class SoundSystem {
 public:
  struct Host {
    Extractor& extractor;
    FileSystem& files;
    Messages& messages;
    AppState& appState;
  };

  // baseArchive: the game's pak0.pk3, where the button sounds are.
  SoundSystem(SoundSettings& settings, Host host, std::string baseArchive);
  ~SoundSystem();
  SoundSystem(const SoundSystem&) = delete;
  SoundSystem& operator=(const SoundSystem&) = delete;

  // At start-up: the audio output and the main window's timer. With sound enabled the device
  // is created; when that fails sound is switched off after a message.
  void StartUp(SoundDriver& driver, SoundTimer& timer);
  // At exit: every buffer and the device go, without fading; the settings stay.
  void ShutDown();

  // "Enable Sound": creates the device when there is none.
  SoundStart Enable();
  // Fades the music out, then releases every buffer and the device.
  void Disable();
  bool enabled() const { return device_ != nullptr; }

  // Plays member of the archive in slot: true when it plays. False, without a sound, while
  // another sound is being loaded, when sound or the slot's switch is off, or when the
  // archive, the member or a wave header is missing (the last after an error message).
  // Music loops and fades in; the call returns once it has.
  bool PlayFromPak(const std::string& archive, std::string_view member, int slot);
  // "sound\\misc\\menu1.wav" and the like, from the game's pak0.pk3, in the button slot.
  bool PlayButtonSound(std::string_view member) {
    return PlayFromPak(baseArchive_, member, kButtonSlot);
  }
  // A taunt or another model sound.
  bool PlayModelSound(const std::string& archive, std::string_view member) {
    return PlayFromPak(archive, member, kModelSoundSlot);
  }
  // The map music, from the archive that holds the map.
  bool PlayMusic(const std::string& archive, std::string_view member) {
    return PlayFromPak(archive, member, kMusicSlot);
  }
  // Fades the music out and releases it; the program counts as busy meanwhile.
  void FadeOutMusic();
  bool musicPlaying() const { return loaded_[kMusicSlot]; }
  bool fading() const { return fadingIn_ || fadingOut_; }
  // Stops and frees a slot's sound at once.
  void Release(int slot);

  // The switches of "Choose Sounds": music switched off fades out, switched on asks for the
  // music when none plays.
  bool switchedOn(int slot) const;
  void Switch(int slot, bool on);
  int32_t volume(int slot) const;
  // A slider moved: the slot's volume, heard at once when the slot holds a sound.
  void SetVolume(int slot, int32_t volume);

  // Asked when sound or music is switched on while no music plays: the properties window
  // starts its map music when it is open.
  std::function<void()> musicWanted;

 private:
  // A slot's switch and volume in the configuration; none for a slot that does not exist.
  struct SlotSettings {
    bool* on = nullptr;
    int32_t* volume = nullptr;
  };
  SlotSettings SettingsOf(int slot) const;

  bool Load(const std::string& archive, std::string_view member, int slot);
  void FadeIn();
  void Tick();
  void ReleaseBuffers();
  void AskForMusic();

  SoundSettings& settings_;
  Host host_;
  std::string baseArchive_;
  SoundDriver* driver_ = nullptr;
  SoundTimer* timer_ = nullptr;
  std::unique_ptr<SoundDevice> device_;
  std::array<bool, kSoundSlots> loaded_{};
  bool loading_ = false;
  bool fadingIn_ = false;
  bool fadingOut_ = false;
  int32_t musicVolume_ = kSilentMusicVolume;
};

}  // namespace rw
