#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QPushButton>
#include <QSlider>
#include <array>

#include "sound/sound_system.h"

namespace rw::app {

// "Sound Options": all sound on or off, the switch and the volume of each slot, applied as
// they change; the settings keep them for the exit save.
class SoundOptionsWindow : public QDialog {
  Q_OBJECT

 public:
  explicit SoundOptionsWindow(SoundSystem& sound, QWidget* parent = nullptr);

  // The controls showing the current settings, as when the window opens.
  void ShowSettings();

  QCheckBox* enableSound() const { return enable_; }
  QCheckBox* slotSwitch(int slot) const { return switches_[slot]; }
  QSlider* volumeSlider(int slot) const { return sliders_[slot]; }
  QPushButton* closeButton() const { return close_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  void EnableToggled(bool on);
  void SwitchToggled(int slot, bool on);
  void UpdateEnabling();

  SoundSystem& sound_;
  QCheckBox* enable_;
  std::array<QCheckBox*, kSoundSlots> switches_{};
  std::array<QSlider*, kSoundSlots> sliders_{};
  QPushButton* close_;
  bool handling_ = false;  // a handler runs
};

}  // namespace rw::app
