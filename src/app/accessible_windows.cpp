#include "app/accessible_windows.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace rw::app {

namespace {

// Asked for every class of an object, most derived first: only a plain widget that is a window
// is answered here, so dialogs, menus and the main window keep what Qt gives them.
QAccessibleInterface* WindowOfPlainWidget(const QString& className, QObject* object) {
  if (className != QLatin1String("QWidget") || object == nullptr || !object->isWidgetType()) {
    return nullptr;
  }
  auto* widget = static_cast<QWidget*>(object);
  if (!widget->isWindow() || widget->windowType() == Qt::ToolTip ||
      widget->windowType() == Qt::Popup) {
    return nullptr;
  }
  return new QAccessibleWidget(widget, QAccessible::Window);
}

}  // namespace

void AnnounceWindowsAsWindows() {
  static const bool installed = [] {
    QAccessible::installFactory(WindowOfPlainWidget);
    return true;
  }();
  (void)installed;
}

}  // namespace rw::app
