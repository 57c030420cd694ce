#include "app/tool_tip_switch.h"

#include <QCoreApplication>
#include <QEvent>

namespace rw::app {

ToolTipSwitch::ToolTipSwitch(QObject* parent) : QObject(parent) {
  QCoreApplication::instance()->installEventFilter(this);
}

bool ToolTipSwitch::eventFilter(QObject* watched, QEvent* event) {
  if (!enabled_ && event->type() == QEvent::ToolTip) return true;
  return QObject::eventFilter(watched, event);
}

}  // namespace rw::app
