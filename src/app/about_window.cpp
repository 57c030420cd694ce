#include "app/about_window.h"

#include <unicode/uvernum.h>
#include <zlib.h>

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdio>
// jpeglib.h needs FILE declared first.
#include <jpeglib.h>

namespace rw::app {

namespace {

QString JpegVersion() {
#ifdef LIBJPEG_TURBO_VERSION_NUMBER
  constexpr int number = LIBJPEG_TURBO_VERSION_NUMBER;
  return QStringLiteral("%1.%2.%3")
      .arg(number / 1000000)
      .arg(number / 1000 % 1000)
      .arg(number % 1000);
#else
  return QString::number(JPEG_LIB_VERSION);
#endif
}

QString Versioned(const char* name, const QString& version, const char* use) {
  QString line = QString::fromLatin1(name);
  if (!version.isEmpty()) line += ' ' + version;
  return line + QStringLiteral(" (") + QString::fromLatin1(use) + ')';
}

const char* const kLicence =
    "Reelwright is free software: you can redistribute it and/or modify it under the terms of "
    "the GNU General Public License as published by the Free Software Foundation, either "
    "version 3 of the License, or (at your option) any later version.<br><br>"
    "It is distributed in the hope that it will be useful, but WITHOUT ANY WARRANTY; without "
    "even the implied warranty of MERCHANTABILITY or FITNESS FOR A PARTICULAR PURPOSE. See the "
    "<a href=\"https://www.gnu.org/licenses/gpl-3.0.html\">GNU General Public License</a> "
    "(the file LICENSE) for more details.";

}  // namespace

QString LibraryVersions() {
  const QStringList lines = {
      Versioned("Qt", QStringLiteral(QT_VERSION_STR), "windows"),
      Versioned("zlib", QStringLiteral(ZLIB_VERSION), "archives"),
      Versioned("libjpeg-turbo", JpegVersion(), "level shots"),
      Versioned("ICU", QStringLiteral(U_ICU_VERSION), "sorting, dates and numbers"),
      Versioned("OpenAL Soft", QStringLiteral(REELWRIGHT_OPENAL_VERSION), "sound"),
      Versioned("nlohmann-json", QStringLiteral(REELWRIGHT_JSON_VERSION), "reelwright-cli"),
      Versioned("CLI11", QStringLiteral(REELWRIGHT_CLI11_VERSION), "reelwright-cli"),
  };
  return lines.join('\n');
}

AboutWindow::AboutWindow(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("About Reelwright"));
  setAccessibleName(windowTitle());
  auto* name = new QLabel(QStringLiteral("<h2>Reelwright " REELWRIGHT_VERSION "</h2>"), this);
  auto* purpose = new QLabel(
      QStringLiteral("Lists, describes, annotates and plays Quake III Arena demos (.dm3, .dm_48 "
                     "and .dm_66 to .dm_68), also inside ZIP and PK3 archives."),
      this);
  purpose->setWordWrap(true);
  auto* licence = new QLabel(QString::fromLatin1(kLicence), this);
  licence->setWordWrap(true);
  licence->setOpenExternalLinks(true);
  licence->setAccessibleName(QStringLiteral("Licence"));
  auto* librariesHeading = new QLabel(QStringLiteral("<b>Built with</b>"), this);
  auto* libraries = new QLabel(LibraryVersions(), this);
  libraries->setAccessibleName(QStringLiteral("Libraries"));
  libraries->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* trademark = new QLabel(
      QStringLiteral("Quake III Arena is a trademark of id Software. Reelwright is not made or "
                     "endorsed by id Software."),
      this);
  trademark->setWordWrap(true);

  auto* box = new QDialogButtonBox(this);
  QPushButton* ok = box->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
  ok->setAccessibleName(QStringLiteral("OK"));
  ok->setDefault(true);
  connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* whole = new QVBoxLayout(this);
  for (QWidget* part : std::initializer_list<QWidget*>{name, purpose, licence, librariesHeading,
                                                       libraries, trademark, box}) {
    whole->addWidget(part);
  }
  setMinimumWidth(460);
}

void ShowAbout(QWidget* parent) {
  AboutWindow window(parent);
  window.exec();
}

}  // namespace rw::app
