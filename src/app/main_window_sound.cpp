#include "app/main_window.h"

namespace rw::app {

void MainWindow::PlayButtonSound(const char* member) {
  session_.sound().PlayButtonSound(member);
}

void MainWindow::ShowSoundOptions() {
  if (!soundOptions_) soundOptions_ = new SoundOptionsWindow(session_.sound(), this);
  soundOptions_->ShowSettings();
  soundOptions_->show();
  soundOptions_->raise();
  soundOptions_->activateWindow();
}

MainWindow::~MainWindow() {
  session_.sound().musicWanted = nullptr;
}

void MainWindow::ConnectSounds() {
  SoundSystem& sound = session_.sound();
  sounds.playMapMusic = [this, &sound](const std::vector<ArchiveMember>& sources) {
    mapMusic_ = sources;
    for (const ArchiveMember& source : sources) {
      if (sound.PlayMusic(source.archive, source.member)) return;
    }
  };
  sounds.stopMapMusic = [this, &sound] {
    mapMusic_.clear();
    sound.FadeOutMusic();
  };
  sounds.playTaunt = [&sound](const std::vector<ArchiveMember>& sources) {
    for (const ArchiveMember& source : sources) {
      if (sound.PlayModelSound(source.archive, source.member)) return;
    }
  };
  sounds.releaseTaunt = [&sound] { sound.Release(kModelSoundSlot); };
  // Music or sound switched on while a demo's properties show: its music starts again.
  sound.musicWanted = [this] {
    if (!mapMusic_.empty()) sounds.playMapMusic(std::vector<ArchiveMember>(mapMusic_));
  };
}

}  // namespace rw::app
