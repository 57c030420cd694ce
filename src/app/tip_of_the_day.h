#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QLabel>

namespace rw::app {

// The tip of the day: one tip at a time, the next on request, and whether tips show at
// start-up.
class TipOfTheDay : public QDialog {
  Q_OBJECT

 public:
  TipOfTheDay(bool showAtStartUp, QWidget* parent = nullptr);

  bool showAtStartUp() const { return showAtStartUp_->isChecked(); }
  QString tip() const { return tip_->text(); }
  void NextTip();

 private:
  QLabel* tip_;
  QCheckBox* showAtStartUp_;
  int index_;
};

}  // namespace rw::app
