#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <memory>

namespace rw::app {

// SIGTERM and SIGINT (a logout, a terminal's Ctrl+C) become a signal on the event loop, so
// the main window closes as the user closes it and the exit save runs.
class TerminationSignal : public QObject {
  Q_OBJECT

 public:
  explicit TerminationSignal(QObject* parent = nullptr);
  ~TerminationSignal() override;

 signals:
  void requested();

 private:
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace rw::app
