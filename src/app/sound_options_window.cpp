#include "app/sound_options_window.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace rw::app {
namespace {

constexpr int kQuietestVolume = -6667;
constexpr int kVolumeStep = 100;

// The slots in the order the window lists them.
constexpr std::array<int, kSoundSlots> kListed = {kMusicSlot, kModelSoundSlot, kButtonSlot};

QString SwitchCaption(int slot) {
  switch (slot) {
    case kMusicSlot:
      return QStringLiteral("Map Music");
    case kModelSoundSlot:
      return QStringLiteral("Model Sound");
    default:
      return QStringLiteral("Button Sound");
  }
}

// While a handler runs, and perhaps serves window messages as music starts or fades, the
// window refuses to close.
class Handling {
 public:
  Handling(bool& flag, QPushButton& close) : flag_(flag), close_(close) {
    flag_ = true;
    close_.setEnabled(false);
  }
  ~Handling() {
    flag_ = false;
    close_.setEnabled(true);
  }
  Handling(const Handling&) = delete;
  Handling& operator=(const Handling&) = delete;

 private:
  bool& flag_;
  QPushButton& close_;
};

}  // namespace

SoundOptionsWindow::SoundOptionsWindow(SoundSystem& sound, QWidget* parent)
    : QDialog(parent),
      sound_(sound),
      enable_(new QCheckBox(QStringLiteral("Enable Sound"), this)),
      close_(new QPushButton(QStringLiteral("&Close"), this)) {
  setWindowTitle(QStringLiteral("Sound Options"));
  setMinimumWidth(300);  // room for the longest caption
  auto* choose = new QGroupBox(QStringLiteral("Choose Sounds"), this);
  auto* chooseLayout = new QVBoxLayout(choose);
  auto* volumes = new QGroupBox(QStringLiteral("Volumes"), this);
  auto* volumeLayout = new QVBoxLayout(volumes);
  for (const int slot : kListed) {
    switches_[slot] = new QCheckBox(SwitchCaption(slot), choose);
    chooseLayout->addWidget(switches_[slot]);
    connect(switches_[slot], &QCheckBox::toggled, this,
            [this, slot](bool on) { SwitchToggled(slot, on); });

    const QString caption = SwitchCaption(slot) + QStringLiteral(" Volume");
    auto* label = new QLabel(caption, volumes);
    auto* slider = new QSlider(Qt::Horizontal, volumes);
    slider->setRange(kQuietestVolume, 0);
    slider->setSingleStep(kVolumeStep);
    slider->setPageStep(kVolumeStep);
    slider->setAccessibleName(caption);
    label->setBuddy(slider);
    volumeLayout->addWidget(label);
    volumeLayout->addWidget(slider);
    sliders_[slot] = slider;
    connect(slider, &QSlider::valueChanged, this,
            [this, slot](int value) { sound_.SetVolume(slot, value); });
  }
  connect(enable_, &QCheckBox::toggled, this, [this](bool on) { EnableToggled(on); });
  connect(close_, &QPushButton::clicked, this, &QDialog::close);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(close_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(enable_);
  layout->addWidget(choose);
  layout->addWidget(volumes);
  layout->addLayout(buttons);
  ShowSettings();
}

void SoundOptionsWindow::ShowSettings() {
  const QSignalBlocker blockEnable(enable_);
  enable_->setChecked(sound_.enabled());
  for (const int slot : kListed) {
    const QSignalBlocker blockSwitch(switches_[slot]);
    const QSignalBlocker blockSlider(sliders_[slot]);
    switches_[slot]->setChecked(sound_.switchedOn(slot));
    sliders_[slot]->setValue(sound_.volume(slot));
  }
  UpdateEnabling();
}

void SoundOptionsWindow::EnableToggled(bool on) {
  const Handling handling(handling_, *close_);
  if (!on) {
    sound_.Disable();
    setWindowTitle(QStringLiteral("Sound Options: sound device closed"));
  } else {
    switch (sound_.Enable()) {
      case SoundStart::kCreated:
        setWindowTitle(QStringLiteral("Sound Options: sound device opened"));
        break;
      case SoundStart::kAlreadyThere:
        setWindowTitle(QStringLiteral("Sound Options: sound device already open"));
        break;
      case SoundStart::kFailed: {
        setWindowTitle(QStringLiteral("Sound Options: OpenAL could not open the sound device"));
        const QSignalBlocker block(enable_);
        enable_->setChecked(false);
        break;
      }
    }
  }
  UpdateEnabling();
}

void SoundOptionsWindow::SwitchToggled(int slot, bool on) {
  const Handling handling(handling_, *close_);
  sound_.Switch(slot, on);
  UpdateEnabling();
}

void SoundOptionsWindow::UpdateEnabling() {
  const bool enabled = sound_.enabled();
  for (const int slot : kListed) {
    switches_[slot]->setEnabled(enabled);
    sliders_[slot]->setEnabled(enabled && sound_.switchedOn(slot));
  }
}

void SoundOptionsWindow::closeEvent(QCloseEvent* event) {
  if (handling_) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

void SoundOptionsWindow::reject() {
  if (!handling_) QDialog::reject();
}

}  // namespace rw::app
