#pragma once

#include <QDialog>
#include <QListWidget>
#include <QPushButton>

#include "model/column_model.h"

namespace rw::app {

// The modal column chooser of one list. The core's chooser decides every move, check and
// button state; the window shows them. Applying writes the layout and emits layoutApplied so
// that the list shows it.
class ColumnChooserWindow : public QDialog {
  Q_OBJECT

 public:
  ColumnChooserWindow(const QString& title, ColumnLayout& layout, const QColor& background,
                      QWidget* parent = nullptr);

  QListWidget* checkList() const { return checkList_; }
  // "&Up", "&Down", "&Show", "&Hide", "&OK", "&Cancel" or "&Apply"; nullptr for another text.
  QPushButton* button(const QString& caption) const;

 signals:
  void layoutApplied();

 private:
  QPushButton* AddButton(const QString& caption);
  void Apply();
  void CheckChanged(QListWidgetItem* item);
  // Shows the core's entries, selection and button states.
  void Refresh();

  ColumnLayout& layout_;
  ColumnChooser chooser_;
  QListWidget* checkList_;
  QList<QPushButton*> buttons_;
  QPushButton* up_;
  QPushButton* down_;
  QPushButton* show_;
  QPushButton* hide_;
  QPushButton* ok_;
  QPushButton* cancel_;
  QPushButton* apply_;
};

}  // namespace rw::app
