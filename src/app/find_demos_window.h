#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include "app/list_view.h"
#include "library/scan_status.h"
#include "session/session.h"

namespace rw::app {

// "Find Demos": the query box of the demo list's filter over every folder of the tree (and
// their archives), answered by the library index; folders the index lacks are listed first,
// with progress, and Escape stops that. The results have the demo list's columns and
// "Location"; Enter shows a result's properties, rows drag onto the play list.
class FindDemosWindow : public QWidget, private ScanStatus {
  Q_OBJECT

 public:
  // At most this many results are shown; the status line says how many there are.
  static constexpr size_t kShownResults = 5000;

  FindDemosWindow(Session& session, QWidget* parent = nullptr);

  QLineEdit* queryBox() const { return query_; }
  QLabel* statusLine() const { return status_; }
  ListView* results() const { return results_; }
  QPushButton* showInFolderButton() const { return showInFolder_; }
  // Answers the query in the box; typing waits for a pause first.
  void Search();

 signals:
  // "Properties.." or Enter on the selected result.
  void propertiesRequested();
  void showInFolderRequested(const ListRow& row);
  // Folders were listed for a search: demos whose players are unknown may be waiting.
  void foldersListed();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  const ListRow* SelectedResult() const;
  void ShowError(const QString& text);

  // The listing of folders the index lacks.
  void Started() override;
  void ShowParsing(const std::string&) override {}
  void ShowProgress(const ScanProgress& progress) override;
  void MarkFolder(bool) override {}
  void ShowSummary(const std::string&) override {}
  void Finished() override;

  Session& session_;
  SortedRows rows_;
  QLineEdit* query_;
  QLabel* status_;
  QProgressBar* progress_;
  ListView* results_;
  QPushButton* showInFolder_;
  QPushButton* properties_;
  QTimer typing_;
  bool searching_ = false;
  bool searchAgain_ = false;
};

}  // namespace rw::app
