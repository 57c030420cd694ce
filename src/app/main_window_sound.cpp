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

}  // namespace rw::app
