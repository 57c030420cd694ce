#pragma once

#include <QObject>

namespace rw::app {

// "No more Hints at my Cursor": while off, no widget of the program shows its tool tip.
class ToolTipSwitch : public QObject {
  Q_OBJECT

 public:
  explicit ToolTipSwitch(QObject* parent = nullptr);
  void setEnabled(bool enabled) { enabled_ = enabled; }
  bool enabled() const { return enabled_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool enabled_ = true;
};

}  // namespace rw::app
