#include "app/global_parameters_window.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/display_text.h"

namespace rw::app {

GlobalParametersWindow::GlobalParametersWindow(Session& session, QWidget* parent)
    : QDialog(parent), session_(session), field_(new QLineEdit(this)) {
  setWindowTitle(QStringLiteral("Add global parameter(s) for executing Q3A"));
  setAccessibleName(windowTitle());
  field_->setAccessibleName(QStringLiteral("Global parameters"));
  field_->setText(FromText(session.globalParameters()));
  field_->setMinimumWidth(360);
  auto* hint = new QLabel(QStringLiteral("Example: +exec myconfig"), this);
  hint->setBuddy(field_);

  auto* box = new QDialogButtonBox(this);
  QPushButton* ok = box->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
  QPushButton* cancel = box->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
  ok->setAccessibleName(QStringLiteral("OK"));
  cancel->setAccessibleName(QStringLiteral("Cancel"));
  ok->setDefault(true);
  connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* whole = new QVBoxLayout(this);
  whole->addWidget(field_);
  whole->addWidget(hint);
  whole->addWidget(box);
}

void GlobalParametersWindow::accept() {
  const std::optional<std::string> parameters = ToGameText(field_->text());
  if (!parameters) {
    session_.messages().Show(windowTitle().toStdString(), kNoGameText, MessageIcon::kInformation);
    return;
  }
  session_.SetGlobalParameters(*parameters);
  QDialog::accept();
}

void EditGlobalParameters(Session& session, QWidget* parent) {
  GlobalParametersWindow window(session, parent);
  window.exec();
}

}  // namespace rw::app
