#pragma once

#include <QTextBrowser>
#include <QWidget>

namespace rw::app {

// The program's help: its own HTML pages, one per window, in a small browser window.
class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  static constexpr const char* kTitle = "Reelwright Help";

  // Opens on page ("index.html" is the contents) of the pages in folder.
  HelpWindow(const QString& folder, const QString& page, QWidget* parent = nullptr);

  QTextBrowser* browser() const { return browser_; }

 private:
  QTextBrowser* browser_;
};

// The folder of the help pages: "share/reelwright/help" beside the program's "bin" folder
// once installed, else the pages of the source tree; empty when neither holds them.
QString HelpFolder();

// F1, "&Help" and the help button: an open help window closes, else one opens on the
// contents. owner (the main window) keeps it, so it goes when the program ends.
void ToggleHelp(QWidget* owner);

}  // namespace rw::app
