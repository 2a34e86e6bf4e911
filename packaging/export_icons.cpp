// Writes the program's icon for the desktop's hicolor icon theme, drawn by
// the window's own code:
//   korvanel-export-icons DIR
// makes DIR/hicolor/NxN/apps/korvanel.png for the usual sizes and
// DIR/hicolor/scalable/apps/korvanel.svg.
#include <cstdio>

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgGenerator>

#include "ui/program_icon.h"

namespace {

using korvanel::ui::kProgramIconGrid;

bool makeDirectory(const QString& directory) {
  if (QDir().mkpath(directory)) return true;
  std::fprintf(stderr, "korvanel-export-icons: cannot make %s\n", qPrintable(directory));
  return false;
}

bool writePng(const QString& themeDirectory, int size) {
  const QString directory = QStringLiteral("%1/%2x%2/apps").arg(themeDirectory).arg(size);
  if (!makeDirectory(directory)) return false;
  const QString file = directory + QStringLiteral("/korvanel.png");
  if (korvanel::ui::programIconImage(size).save(file, "PNG")) return true;
  std::fprintf(stderr, "korvanel-export-icons: cannot write %s\n", qPrintable(file));
  return false;
}

bool writeSvg(const QString& themeDirectory) {
  const QString directory = themeDirectory + QStringLiteral("/scalable/apps");
  if (!makeDirectory(directory)) return false;
  QSvgGenerator svg;
  svg.setFileName(directory + QStringLiteral("/korvanel.svg"));
  svg.setSize(QSize(kProgramIconGrid, kProgramIconGrid));
  svg.setViewBox(QRect(0, 0, kProgramIconGrid, kProgramIconGrid));
  svg.setTitle(QStringLiteral("Korvanel"));
  svg.setDescription(QStringLiteral("A circuit board with one net joining three pads"));
  QPainter painter;
  if (!painter.begin(&svg)) {
    std::fprintf(stderr, "korvanel-export-icons: cannot write %s\n", qPrintable(svg.fileName()));
    return false;
  }
  painter.setRenderHint(QPainter::Antialiasing);
  korvanel::ui::paintProgramIcon(painter);
  return painter.end();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: korvanel-export-icons DIR\n");
    return 2;
  }
  // Nothing is shown: the drawing goes into files, with or without a display.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  const QString themeDirectory = QString::fromLocal8Bit(argv[1]) + QStringLiteral("/hicolor");
  bool written = writeSvg(themeDirectory);
  for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) written = writePng(themeDirectory, size) && written;
  return written ? 0 : 1;
}
