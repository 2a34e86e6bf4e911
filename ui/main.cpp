// korvanel: the desktop program. Its main window collects a conversion's
// entries and runs the conversion driver.
//
// For pictures of the window (scripts/screenshot) the entries can be filled
// from the command line, a conversion started, and a picture saved:
//   korvanel --input sample.tel --input-format Telesis --output sample.all
//            --output-format ALLEGRO --run --screenshot finished.png
#include <cstdio>

#include <QApplication>
#include <QCommandLineParser>
#include <QImage>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QPainter>
#include <QTimer>
#include <QTranslator>

#include "core/memory_reuse.h"
#include "korvanel/version.h"
#include "ui/format_combo_box.h"
#include "ui/main_window.h"
#include "ui/program_icon.h"
#include "ui/window_memory.h"
#include "ui/window_texts.h"

namespace {

using namespace korvanel;
using namespace korvanel::ui;

// While a picture is taken nobody is there to close a message box, so the
// messages go to the standard error instead.
class UnattendedHost : public WindowHost {
 public:
  void showMessage(const Text& message) override { std::fprintf(stderr, "%s\n", toUtf8(message).c_str()); }
};

// Picks `name` from the list, as the user would.
void pickFormat(FormatComboBox* combo, const QString& name) {
  const int index = combo->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (index < 0) {
    combo->setEditText(name);
    return;
  }
  combo->setCurrentIndex(index);
  emit combo->activated(index);
}

// A window's picture in a plain frame with its caption, as a window manager
// would show it (the virtual X server of the pictures has none).
constexpr int kCaptionHeight = 22;

QRect frameOf(const QWidget& window) { return window.geometry().adjusted(-1, -kCaptionHeight - 1, 1, 1); }

void drawFramedWindow(QPainter& painter, QWidget& window, QPoint origin) {
  const QRect frame = frameOf(window).translated(-origin);
  painter.fillRect(frame, QColor(0x2b, 0x4a, 0x6f));
  painter.setPen(Qt::white);
  QFont captionFont = japaneseFont(9, true);
  painter.setFont(captionFont);
  painter.drawText(QRect(frame.left() + 8, frame.top() + 1, frame.width() - 16, kCaptionHeight),
                   Qt::AlignLeft | Qt::AlignVCenter, window.windowTitle());
  painter.drawPixmap(window.geometry().topLeft() - origin, window.grab());
}

// The main window, and the progress window where it stands over it.
QImage pictureOfWindows(MainWindow& window, const WindowHost& host) {
  ProgressWindow* progress = host.progressWindow();
  const bool withProgress = progress != nullptr && progress->isVisible();
  QRect area = frameOf(window);
  if (withProgress) area |= frameOf(*progress);
  area.adjust(-12, -12, 12, 12);
  QImage picture(area.size(), QImage::Format_RGB32);
  picture.fill(QColor(0x9a, 0xa8, 0xb6));
  QPainter painter(&picture);
  drawFramedWindow(painter, window, area.topLeft());
  if (withProgress) drawFramedWindow(painter, *progress, area.topLeft());
  return picture;
}

// `korvanel --help` and `korvanel --version` only print, so they need no
// display; the man page is made from them on machines without one.
bool onlyPrintsHelpOrVersion(int argc, char** argv) {
  const QStringList printing{QStringLiteral("-h"), QStringLiteral("--help"), QStringLiteral("--help-all"),
                             QStringLiteral("-v"), QStringLiteral("--version")};
  for (int index = 1; index < argc; ++index) {
    if (!printing.contains(QString::fromLocal8Bit(argv[index]))) return false;
  }
  return argc > 1;
}

}  // namespace

int main(int argc, char** argv) {
  korvanel::keepFreedMemoryForReuse();
  if (onlyPrintsHelpOrVersion(argc, argv)) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("korvanel"));
  QApplication::setApplicationVersion(QString::fromLatin1(kVersion));
  QApplication::setWindowIcon(programIcon());
  QApplication::setFont(japaneseFont(9));

  // Qt's own dialogs (the Open dialog, the message box buttons) in Japanese,
  // where the platform has the translation.
  QTranslator qtTranslation;
  if (qtTranslation.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(&qtTranslation);
  }

  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Korvanel: converts printed-circuit-board netlists between the formats of PCB CAD systems."));
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption inputOption(QStringLiteral("input"), QStringLiteral("Fill the input file."),
                                       QStringLiteral("FILE"));
  const QCommandLineOption inputFormatOption(QStringLiteral("input-format"),
                                             QStringLiteral("Pick the input format."), QStringLiteral("NAME"));
  const QCommandLineOption outputOption(QStringLiteral("output"), QStringLiteral("Fill the output file."),
                                        QStringLiteral("FILE"));
  const QCommandLineOption outputFormatOption(QStringLiteral("output-format"),
                                              QStringLiteral("Pick the output format."), QStringLiteral("NAME"));
  const QCommandLineOption runOption(QStringLiteral("run"), QStringLiteral("Start the conversion once shown."));
  const QCommandLineOption screenshotOption(
      QStringLiteral("screenshot"),
      QStringLiteral("Save a PNG picture of the window (after the conversion with --run) to FILE and end; "
                     "messages go to the standard error instead of message boxes."),
      QStringLiteral("FILE"));
  parser.addOptions({inputOption, inputFormatOption, outputOption, outputFormatOption, runOption, screenshotOption});
  parser.process(application);

  const bool takingPicture = parser.isSet(screenshotOption);
  PlatformDesktop platformDesktop;
  // A picture shows the window as it loads, in a place of its own.
  WindowMemory memory(WindowMemory::userSettings());
  RememberingDesktop rememberingDesktop(platformDesktop, memory);
  Desktop& desktop = takingPicture ? static_cast<Desktop&>(platformDesktop) : rememberingDesktop;
  WindowHost interactiveHost;
  UnattendedHost unattendedHost;
  WindowHost& host = takingPicture ? unattendedHost : interactiveHost;
  MainWindow window(host, desktop);
  if (takingPicture || !memory.keepPosition(window)) window.move(40, 40);
  window.show();

  if (parser.isSet(inputOption)) window.Text1->setText(parser.value(inputOption));
  if (parser.isSet(inputFormatOption)) pickFormat(window.Combo1, parser.value(inputFormatOption));
  if (parser.isSet(outputOption)) window.Text2->setText(parser.value(outputOption));
  if (parser.isSet(outputFormatOption)) pickFormat(window.Combo2, parser.value(outputFormatOption));
  if (parser.isSet(runOption)) QTimer::singleShot(0, &window, &MainWindow::startConversion);

  if (takingPicture) {
    const QString pictureFile = parser.value(screenshotOption);
    // Long enough for the window system to show and paint every window.
    QTimer::singleShot(800, &window, [&] {
      const bool saved = pictureOfWindows(window, host).save(pictureFile, "PNG");
      if (!saved) std::fprintf(stderr, "korvanel: cannot save %s\n", qPrintable(pictureFile));
      QCoreApplication::exit(saved ? 0 : 1);
    });
  }
  return QApplication::exec();
}
