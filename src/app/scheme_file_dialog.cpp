#include "app/scheme_file_dialog.h"

#include <QFileDialog>

#include "library/column_scheme.h"

namespace rw::app {

namespace {

QString FromLatin1(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// The file type's "text|pattern" in Qt's form: the text, which names the pattern already.
QString NameFilter() {
  return FromLatin1(kSchemeFilter.substr(0, kSchemeFilter.find('|')));
}

QString Ask(QWidget* parent, const QString& title, const QString& folder,
            QFileDialog::AcceptMode mode) {
  QFileDialog dialog(parent, title, folder, NameFilter());
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                     : QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(FromLatin1(kSchemeExtension));
  if (mode == QFileDialog::AcceptSave) {
    dialog.selectFile(FromLatin1(kSchemeFileName));
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

}  // namespace

QString AskSchemeToSave(QWidget* parent, const QString& folder) {
  return Ask(parent, QStringLiteral("Save Columns Scheme"), folder, QFileDialog::AcceptSave);
}

QString AskSchemeToOpen(QWidget* parent, const QString& folder) {
  return Ask(parent, QStringLiteral("Load Columns Scheme"), folder, QFileDialog::AcceptOpen);
}

}  // namespace rw::app
