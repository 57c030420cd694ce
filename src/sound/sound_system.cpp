#include "sound/sound_system.h"

#include <new>
#include <span>
#include <variant>

#include "archive/directory_reader.h"
#include "sound/sound_failure.h"

namespace rw {
namespace {

constexpr std::string_view kDebugCaption = "Debug";
constexpr std::string_view kExtractionFailed =
    "Memory Allocation Error in proc DirectSoundFromPak (unzipfiletomemory)";

bool ValidSlot(int slot) {
  return slot >= 0 && slot < kSoundSlots;
}

}  // namespace

SoundSystem::SoundSystem(SoundSettings& settings, Host host, std::string baseArchive)
    : settings_(settings), host_(host), baseArchive_(std::move(baseArchive)) {}

SoundSystem::~SoundSystem() {
  ShutDown();
}

void SoundSystem::StartUp(SoundDriver& driver, SoundTimer& timer) {
  driver_ = &driver;
  timer_ = &timer;
  if (!settings_.sound_enable || device_) return;
  uint32_t failure = kSoundOk;
  device_ = driver.Create(failure);
  if (device_) return;
  settings_.sound_enable = false;
  host_.messages.Show(kSoundErrorCaption, SoundStartFailedText(failure), MessageIcon::kError);
}

void SoundSystem::ShutDown() {
  if (fading()) timer_->Stop();
  fadingIn_ = fadingOut_ = false;
  ReleaseBuffers();
  device_.reset();
}

SoundStart SoundSystem::Enable() {
  if (device_) {
    settings_.sound_enable = true;
    return SoundStart::kAlreadyThere;
  }
  uint32_t failure = kSoundOk;
  if (driver_ != nullptr) device_ = driver_->Create(failure);
  settings_.sound_enable = device_ != nullptr;
  if (!device_) return SoundStart::kFailed;
  AskForMusic();
  return SoundStart::kCreated;
}

void SoundSystem::Disable() {
  FadeOutMusic();
  ReleaseBuffers();
  device_.reset();
  settings_.sound_enable = false;
}

bool SoundSystem::PlayFromPak(const std::string& archive, std::string_view member, int slot) {
  if (loading_) return false;
  // Held through the music's fade in too: the request ends once the music is up.
  loading_ = true;
  const bool playing = Load(archive, member, slot);
  if (playing && slot == kMusicSlot) FadeIn();
  loading_ = false;
  return playing && loaded_[slot];
}

bool SoundSystem::Load(const std::string& archive, std::string_view member, int slot) {
  if (!device_ || !switchedOn(slot)) return false;
  if (!host_.files.Exists(archive) || host_.files.IsFolder(archive)) return false;
  Release(slot);
  ArchiveCursor cursor;
  const int found = ArchiveFind(archive, member, cursor);
  ArchiveClose(cursor);
  if (found != kArchiveMember) return false;

  // The whole member: its header may hold any chunks before the sample data.
  uint32_t size = cursor.size;
  const std::unique_ptr<uint8_t[]> bytes(new (std::nothrow) uint8_t[size]);
  if (!bytes) {
    host_.messages.Show(kDebugCaption, kExtractionFailed, MessageIcon::kError);
    return false;
  }
  const int extracted = host_.extractor.unzipfiletomemory(
      archive, bytes.get(), size, [] { return false; }, cursor.localHeaderOffset);
  // Another extraction runs: a request made from inside it, refused like a nested one.
  if (extracted == kExtractBusy) return false;
  if (extracted != kExtractOk) {
    host_.messages.Show(kDebugCaption, kExtractionFailed, MessageIcon::kError);
    return false;
  }
  const auto header = ReadWaveHeader(std::span<const uint8_t>(bytes.get(), size));
  if (const auto* error = std::get_if<std::string_view>(&header)) {
    host_.messages.Show(kSoundErrorCaption, *error, MessageIcon::kError);
    return false;
  }
  // Window messages served during extraction may have switched sound off.
  if (!device_ || !switchedOn(slot)) return false;
  const WaveHeader& wave = std::get<WaveHeader>(header);
  const std::span<const uint8_t> samples(bytes.get() + wave.dataOffset, wave.dataSize);
  uint32_t result = device_->Load(slot, wave.format, samples);
  if (result == kSoundOk) {
    loaded_[slot] = true;
    if (slot == kMusicSlot) musicVolume_ = kSilentMusicVolume;
    device_->SetVolume(slot, slot == kMusicSlot ? musicVolume_ : volume(slot));
    result = device_->Play(slot, slot == kMusicSlot);
  }
  if (result == kSoundOk) return true;
  Release(slot);
  host_.messages.Show(kSoundErrorCaption, SoundCallFailedText(result), MessageIcon::kError);
  return false;
}

void SoundSystem::FadeIn() {
  fadingIn_ = true;
  timer_->Start([this] { Tick(); });
  while (fadingIn_ && loaded_[kMusicSlot]) timer_->Wait();
  fadingIn_ = false;
}

void SoundSystem::FadeOutMusic() {
  // A fade out already under way releases the music itself.
  if (!loaded_[kMusicSlot] || fadingOut_) return;
  host_.appState.RaiseBusy();
  fadingIn_ = false;
  fadingOut_ = musicVolume_ > kSilentMusicVolume;
  if (fadingOut_) timer_->Start([this] { Tick(); });
  while (fadingOut_ && loaded_[kMusicSlot]) timer_->Wait();
  fadingOut_ = false;
  timer_->Stop();
  Release(kMusicSlot);
  host_.appState.LowerBusy();
}

void SoundSystem::Tick() {
  if (fadingOut_) {
    musicVolume_ -= kFadeStep;
    if (musicVolume_ < kSilentMusicVolume + 1) {
      musicVolume_ = kSilentMusicVolume;
      fadingOut_ = false;
    }
  } else if (fadingIn_) {
    musicVolume_ += kFadeStep;
    if (musicVolume_ >= settings_.vol_musics) {
      musicVolume_ = settings_.vol_musics;
      fadingIn_ = false;
    }
  }
  if (!fading()) timer_->Stop();
  if (device_ && loaded_[kMusicSlot]) device_->SetVolume(kMusicSlot, musicVolume_);
}

void SoundSystem::Release(int slot) {
  if (!ValidSlot(slot) || !loaded_[slot]) return;
  loaded_[slot] = false;
  if (device_) device_->Release(slot);
}

void SoundSystem::ReleaseBuffers() {
  for (int slot = 0; slot < kSoundSlots; ++slot) Release(slot);
}

SoundSystem::SlotSettings SoundSystem::SettingsOf(int slot) const {
  switch (slot) {
    case kMusicSlot:
      return {&settings_.play_musics, &settings_.vol_musics};
    case kModelSoundSlot:
      return {&settings_.play_sounds, &settings_.vol_sounds};
    case kButtonSlot:
      return {&settings_.play_menus, &settings_.vol_menus};
    default:
      return {};
  }
}

bool SoundSystem::switchedOn(int slot) const {
  const SlotSettings setting = SettingsOf(slot);
  return setting.on != nullptr && *setting.on;
}

void SoundSystem::Switch(int slot, bool on) {
  const SlotSettings setting = SettingsOf(slot);
  if (setting.on == nullptr) return;
  if (slot == kMusicSlot && !on) FadeOutMusic();
  *setting.on = on;
  if (slot == kMusicSlot && on) AskForMusic();
}

int32_t SoundSystem::volume(int slot) const {
  const SlotSettings setting = SettingsOf(slot);
  return setting.volume != nullptr ? *setting.volume : 0;
}

void SoundSystem::SetVolume(int slot, int32_t volume) {
  const SlotSettings setting = SettingsOf(slot);
  if (setting.volume == nullptr) return;
  *setting.volume = volume;
  // A fading music takes the new volume as its target instead.
  if (slot == kMusicSlot && fading()) return;
  if (slot == kMusicSlot) musicVolume_ = volume;
  if (device_ && loaded_[slot]) device_->SetVolume(slot, volume);
}

void SoundSystem::AskForMusic() {
  if (device_ && settings_.play_musics && !loaded_[kMusicSlot] && musicWanted) musicWanted();
}

}  // namespace rw
