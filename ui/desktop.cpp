#include "ui/desktop.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace korvanel::ui {

std::optional<QString> PlatformDesktop::chooseFileToOpen(QWidget* owner, const QString& filter,
                                                         const QString& startName) {
  QFileDialog dialog(owner, QStringLiteral("開く"));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  // The output file is chosen with this dialog too, so the name need not exist.
  dialog.setFileMode(QFileDialog::AnyFile);
  // The list shows the descriptions as they stand; the patterns only filter.
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setNameFilters(nameFiltersOf(filter));
  if (QFileInfo(startName).isDir()) {
    dialog.setDirectory(startName);
  } else if (!startName.isEmpty()) {
    dialog.selectFile(startName);
  }
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return std::nullopt;
  return QDir::toNativeSeparators(chosen.first());
}

void PlatformDesktop::openInTextViewer(const QString& path) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

bool PlatformDesktop::startSystemInformation() {
  const QString program = findFirstProgram(systemInformationViewers());
  return !program.isEmpty() && QProcess::startDetached(program, {});
}

QStringList nameFiltersOf(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList nameFilters;
  for (qsizetype index = 0; index + 1 < parts.size(); index += 2) {
    QStringList patterns = parts[index + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& pattern : patterns) {
      if (pattern == QStringLiteral("*.*")) pattern = QStringLiteral("*");
    }
    nameFilters.append(parts[index].trimmed() + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                       QLatin1Char(')'));
  }
  return nameFilters;
}

QStringList systemInformationViewers() {
  return {QStringLiteral("kinfocenter"), QStringLiteral("hardinfo2"), QStringLiteral("hardinfo"),
          QStringLiteral("lshw-gtk")};
}

QString findFirstProgram(const QStringList& programs, const QStringList& searchPaths) {
  for (const QString& program : programs) {
    const QString found = QStandardPaths::findExecutable(program, searchPaths);
    if (!found.isEmpty()) return found;
  }
  return {};
}

}  // namespace korvanel::ui
