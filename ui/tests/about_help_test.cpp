// The About box, the progress window on its own, the help command and the
// help document shipped with the program.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextTable>

#include "formats/builtin_formats.h"
#include "korvanel/version.h"
#include "ui/about_box.h"
#include "ui/help_viewer.h"
#include "ui/progress_window.h"
#include "ui/tests/window_test_support.h"
#include "ui/window_texts.h"

using namespace korvanel;
using namespace korvanel::ui;
using namespace korvanel::ui::testing;

namespace {

void click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center()); }

QString readUtf8(const QString& file) {
  QFile help(file);
  if (!help.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(help.readAll());
}

bool writeFile(const QString& file, const QByteArray& bytes) {
  QFile out(file);
  return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size();
}

bool makeExecutable(const QString& file) {
  return writeFile(file, "#!/bin/sh\nexit 0\n") &&
         QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

}  // namespace

class AboutHelpTest : public QObject {
  Q_OBJECT

 private slots:
  void aboutVersionLine_data();
  void aboutVersionLine();
  void aboutBoxTexts();
  void aboutBoxIsShownWithoutBlockingAndOnce();
  void aboutOkCloses();
  void systemInformation_data();
  void systemInformation();
  void systemInformationViewerIsLookedForInOrder();
  void progressWindowAtLoad();
  void progressChangesArePaintedAtOnce();
  void messagesAreModalBoxesWithOkOnly();
  void helpIsLookedForInTheStartDirectoryFirst_data();
  void helpIsLookedForInTheStartDirectoryFirst();
  void helpCommandOpensTheContents();
  void helpViewerSaysWhereItLookedWhenThereIsNoHelp();
  void shippedHelpNamesEveryFormatWithWhatItCanDo();
  void shippedHelpExplainsEveryFieldAndOption();
};

void AboutHelpTest::aboutVersionLine_data() {
  QTest::addColumn<int>("major");
  QTest::addColumn<int>("minor");
  QTest::addColumn<int>("revision");
  QTest::addColumn<QString>("expected");
  QTest::newRow("2.0.21") << 2 << 0 << 21 << QStringLiteral("ﾊﾞｰｼﾞｮﾝ 2.0.21");
  QTest::newRow("1.0.0") << 1 << 0 << 0 << QStringLiteral("ﾊﾞｰｼﾞｮﾝ 1.0.0");
  QTest::newRow("10.3.7") << 10 << 3 << 7 << QStringLiteral("ﾊﾞｰｼﾞｮﾝ 10.3.7");
}

void AboutHelpTest::aboutVersionLine() {
  QFETCH(int, major);
  QFETCH(int, minor);
  QFETCH(int, revision);
  QFETCH(QString, expected);
  QCOMPARE(ui::aboutVersionLine(major, minor, revision), expected);
}

void AboutHelpTest::aboutBoxTexts() {
  InterceptingHost host;
  ScriptedDesktop desktop;
  AboutBox about(nullptr, host, desktop);
  QCOMPARE(about.objectName(), QStringLiteral("frmAbout"));
  QCOMPARE(about.windowTitle(), QStringLiteral("Korvanelのﾊﾞｰｼﾞｮﾝ情報"));
  QCOMPARE(about.lblTitle->text(), QStringLiteral("Korvanel"));
  QCOMPARE(about.lblVersion->text(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ %1.%2.%3")
                                         .arg(kVersionMajor)
                                         .arg(kVersionMinor)
                                         .arg(kVersionPatch));
  QCOMPARE(QStringLiteral("%1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionPatch),
           QString::fromLatin1(kVersion));
  QVERIFY(about.lblDisclaimer->text().contains(QStringLiteral("複製")));
  QCOMPARE(about.cmdOK->text(), QStringLiteral("OK"));
  QCOMPARE(about.cmdSysInfo->text(), QStringLiteral("ｼｽﾃﾑ情報(&S)..."));
  QVERIFY(!about.picIcon->pixmap().isNull());
}

void AboutHelpTest::aboutBoxIsShownWithoutBlockingAndOnce() {
  LoadedWindow loaded;
  MainWindow& window = *loaded.window;
  window.mnuhelpv->trigger();  // returns at once
  AboutBox* about = window.aboutBox();
  QVERIFY(about != nullptr);
  QVERIFY(about->isVisible());
  QVERIFY(!about->isModal());
  QVERIFY(QApplication::activeModalWidget() == nullptr);
  window.mnuhelpv->trigger();
  QCOMPARE(window.aboutBox(), about);
  QCOMPARE(window.findChildren<AboutBox*>().size(), 1);
  // The main window goes on working meanwhile.
  window.Text2->setText(QStringLiteral("out.net"));
  QVERIFY(window.Command4->isEnabled());
}

void AboutHelpTest::aboutOkCloses() {
  LoadedWindow loaded;
  loaded.window->showAboutBox();
  AboutBox* about = loaded.window->aboutBox();
  QVERIFY(about != nullptr);
  click(about->cmdOK);
  QVERIFY(!about->isVisible());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QVERIFY(loaded.window->aboutBox() == nullptr);
  loaded.window->showAboutBox();
  QVERIFY(loaded.window->aboutBox() != nullptr);
}

void AboutHelpTest::systemInformation_data() {
  QTest::addColumn<bool>("available");
  QTest::addColumn<QStringList>("messages");
  QTest::newRow("a viewer is installed") << true << QStringList{};
  QTest::newRow("none is installed") << false
                                     << QStringList{QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません")};
}

void AboutHelpTest::systemInformation() {
  QFETCH(bool, available);
  QFETCH(QStringList, messages);
  InterceptingHost host;
  ScriptedDesktop desktop;
  desktop.systemInformationAvailable = available;
  AboutBox about(nullptr, host, desktop);
  about.show();
  click(about.cmdSysInfo);
  QCOMPARE(desktop.systemInformationStarts, 1);
  QCOMPARE(host.messages(), messages);
  QVERIFY(about.isVisible());
}

void AboutHelpTest::systemInformationViewerIsLookedForInOrder() {
  QTemporaryDir first;
  QTemporaryDir second;
  QVERIFY(makeExecutable(QDir(second.path()).filePath(QStringLiteral("hardinfo"))));
  QVERIFY(writeFile(QDir(first.path()).filePath(QStringLiteral("kinfocenter")), "not executable\n"));
  const QStringList paths{first.path(), second.path()};
  QCOMPARE(findFirstProgram(systemInformationViewers(), paths), QDir(second.path()).filePath("hardinfo"));
  QVERIFY(makeExecutable(QDir(first.path()).filePath(QStringLiteral("hardinfo2"))));
  QCOMPARE(findFirstProgram(systemInformationViewers(), paths), QDir(first.path()).filePath("hardinfo2"));
  QCOMPARE(findFirstProgram(systemInformationViewers(), {QDir(first.path()).filePath("nothing-here")}), QString());
  QVERIFY(systemInformationViewers().indexOf(QStringLiteral("hardinfo2")) <
          systemInformationViewers().indexOf(QStringLiteral("hardinfo")));
}

void AboutHelpTest::progressWindowAtLoad() {
  ProgressWindow progress(nullptr);
  QCOMPARE(progress.objectName(), QStringLiteral("Form3"));
  QCOMPARE(progress.windowTitle(), QStringLiteral("Korvanelの処理状況"));
  QCOMPARE(progress.Label2->text(), QStringLiteral("Korvanel"));
  QVERIFY(progress.Label2->font().bold());
  QCOMPARE(progress.Label2->font().pointSizeF(), 15.75);
  QCOMPARE(progress.Label1->font().pointSizeF(), 12.0);
  QVERIFY(progress.Label1->text().isEmpty());
  QCOMPARE(progress.ProgressBar1->minimum(), 0);
  QCOMPARE(progress.ProgressBar1->maximum(), 100);
  QCOMPARE(progress.Command1->text(), QStringLiteral("OK"));
  QVERIFY(!progress.Command1->isEnabled());
  QVERIFY(progress.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  QVERIFY(progress.testAttribute(Qt::WA_DeleteOnClose));
  QCOMPARE(progress.size(), QSize(305, 132));
  QCOMPARE(progress.Label2->geometry(), QRect(8, 8, 289, 25));
  QCOMPARE(progress.Label1->geometry(), QRect(16, 40, 273, 17));
  QCOMPARE(progress.ProgressBar1->geometry(), QRect(8, 72, 289, 17));
  QCOMPARE(progress.Command1->geometry(), QRect(112, 96, 81, 25));
  progress.setAttribute(Qt::WA_DeleteOnClose, false);  // lives on the stack here
}

namespace {

// Counts the paint events of a widget.
class PaintCounter : public QObject {
 public:
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

}  // namespace

void AboutHelpTest::progressChangesArePaintedAtOnce() {
  QWidget owner;
  WindowHost host(&owner);
  host.showProgress();
  ProgressWindow* progress = host.progressWindow();
  QVERIFY(progress != nullptr);
  QVERIFY(QTest::qWaitForWindowExposed(progress));
  PaintCounter statusPaints;
  PaintCounter barPaints;
  progress->Label1->installEventFilter(&statusPaints);
  progress->ProgressBar1->installEventFilter(&barPaints);
  // No return to the event loop in between, as during a conversion.
  host.setProgressStatus(u"変換処理中");
  QVERIFY(statusPaints.paints > 0);
  QCOMPARE(progress->Label1->text(), QStringLiteral("変換処理中"));
  host.setProgressValue(10);
  QVERIFY(barPaints.paints > 0);
  QCOMPARE(progress->ProgressBar1->value(), 10);
  host.enableProgressOk();
  QVERIFY(progress->Command1->isEnabled());
  host.hideProgress();
  QVERIFY(!progress->isVisible());
  // Hidden is not closed: the next run shows the same window, OK disabled.
  host.showProgress();
  QCOMPARE(host.progressWindow(), progress);
  QVERIFY(progress->isVisible());
  QVERIFY(!progress->Command1->isEnabled());
}

void AboutHelpTest::messagesAreModalBoxesWithOkOnly() {
  QWidget owner;
  owner.show();
  WindowHost host(&owner);
  QString caption;
  QString text;
  QList<QAbstractButton*> buttons;
  bool modal = false;
  // Answers the box as soon as it is up; showMessage returns only then.
  QTimer answer;
  answer.setInterval(0);
  QObject::connect(&answer, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    answer.stop();
    caption = box->windowTitle();
    text = box->text();
    buttons = box->buttons();
    modal = box->isModal();
    box->button(QMessageBox::Ok)->click();
  });
  answer.start();
  host.showMessage(u"変換するファイル名を指定してください。");
  QVERIFY(!answer.isActive());
  QCOMPARE(caption, QStringLiteral("Korvanel"));
  QCOMPARE(text, QStringLiteral("変換するファイル名を指定してください。"));
  QCOMPARE(buttons.size(), 1);
  QVERIFY(modal);
  QVERIFY(QApplication::activeModalWidget() == nullptr);
}

void AboutHelpTest::helpIsLookedForInTheStartDirectoryFirst_data() {
  QTest::addColumn<bool>("inStartDirectory");
  QTest::addColumn<bool>("besideProgram");
  QTest::addColumn<QString>("found");
  QTest::newRow("both") << true << true << "start";
  QTest::newRow("start directory only") << true << false << "start";
  QTest::newRow("beside the program only") << false << true << "program";
  QTest::newRow("neither") << false << false << "";
}

void AboutHelpTest::helpIsLookedForInTheStartDirectoryFirst() {
  QFETCH(bool, inStartDirectory);
  QFETCH(bool, besideProgram);
  QFETCH(QString, found);
  QTemporaryDir start;
  QTemporaryDir program;
  const QString startHelp = QDir(start.path()).filePath(QStringLiteral("korvanel.hlp"));
  const QString programHelp = QDir(program.path()).filePath(QStringLiteral("korvanel.hlp"));
  if (inStartDirectory) QVERIFY(writeFile(startHelp, "<p>start</p>"));
  if (besideProgram) QVERIFY(writeFile(programHelp, "<p>program</p>"));
  const QStringList candidates = helpFileCandidates(start.path(), program.path());
  const auto installedHelp = [](const QTemporaryDir& bin) {
    return QDir::cleanPath(bin.path() + QStringLiteral("/../share/korvanel/korvanel.hlp"));
  };
  QCOMPARE(candidates, (QStringList{startHelp, programHelp, installedHelp(program)}));
  const QString expected = found == QStringLiteral("start") ? startHelp : found.isEmpty() ? QString() : programHelp;
  QCOMPARE(findHelpFile(candidates), expected);
  // The same directory is looked at once.
  QCOMPARE(helpFileCandidates(start.path(), start.path()), (QStringList{startHelp, installedHelp(start)}));
}

void AboutHelpTest::helpCommandOpensTheContents() {
  LoadedWindow loaded;
  loaded.writeBytes(QStringLiteral("korvanel.hlp"),
                    "<html><head><meta charset=\"utf-8\"></head><body><p>前書き</p>"
                    "<h1><a name=\"contents\"></a>目次の見出し</h1><p>本文</p></body></html>");
  loaded.window->mnuhelpmokuji->trigger();
  HelpViewer* viewer = loaded.window->helpViewer();
  QVERIFY(viewer != nullptr);
  QVERIFY(viewer->isVisible());
  const QUrl source = viewer->browser()->source();
  QCOMPARE(QFileInfo(source.toLocalFile()).canonicalFilePath(),
           QFileInfo(loaded.path(QStringLiteral("korvanel.hlp"))).canonicalFilePath());
  QCOMPARE(source.fragment(), QStringLiteral("contents"));
  QVERIFY(viewer->browser()->toPlainText().contains(QStringLiteral("目次の見出し")));
  // A second "目次" reuses the viewer.
  loaded.window->mnuhelpmokuji->trigger();
  QCOMPARE(loaded.window->helpViewer(), viewer);
  QVERIFY(loaded.host.events.isEmpty());
}

void AboutHelpTest::helpViewerSaysWhereItLookedWhenThereIsNoHelp() {
  QTemporaryDir start;
  QTemporaryDir program;
  HelpViewer viewer(nullptr);
  viewer.setAttribute(Qt::WA_DeleteOnClose, false);
  viewer.showContents(helpFileCandidates(start.path(), program.path()));
  const QString shown = viewer.browser()->toPlainText();
  QVERIFY(shown.contains(QStringLiteral("ヘルプファイル korvanel.hlp が見つかりません。")));
  QVERIFY(shown.contains(QDir::toNativeSeparators(QDir(start.path()).filePath("korvanel.hlp"))));
  QVERIFY(shown.contains(QDir::toNativeSeparators(QDir(program.path()).filePath("korvanel.hlp"))));
}

void AboutHelpTest::shippedHelpNamesEveryFormatWithWhatItCanDo() {
  QTextDocument document;
  document.setHtml(readUtf8(QStringLiteral(KORVANEL_HELP_SOURCE)));
  QTextTable* formatTable = nullptr;
  for (QTextBlock block = document.begin(); block.isValid() && formatTable == nullptr; block = block.next()) {
    QTextCursor cursor(block);
    formatTable = cursor.currentTable();
  }
  QVERIFY(formatTable != nullptr);
  QCOMPARE(formatTable->columns(), 3);
  auto cellText = [&](int row, int column) {
    const QTextTableCell cell = formatTable->cellAt(row, column);
    QTextCursor cursor = cell.firstCursorPosition();
    cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return cursor.selectedText().trimmed();
  };
  QCOMPARE(cellText(0, 0), QStringLiteral("ネット種別"));

  const FormatTable& formats = builtinFormats();
  QStringList inputs;
  QStringList outputs;
  for (const Text& name : formats.inputNames()) inputs.append(toQString(name));
  for (const Text& name : formats.outputNames()) outputs.append(toQString(name));
  QStringList everyName = inputs;
  for (const QString& name : outputs) {
    if (!everyName.contains(name)) everyName.append(name);
  }
  QCOMPARE(formatTable->rows() - 1, everyName.size());
  QStringList listed;
  for (int row = 1; row < formatTable->rows(); ++row) {
    const QString name = cellText(row, 0);
    listed.append(name);
    const QString yes = QStringLiteral("○");
    const QString no = QStringLiteral("－");
    QCOMPARE(cellText(row, 1), inputs.contains(name) ? yes : no);
    QCOMPARE(cellText(row, 2), outputs.contains(name) ? yes : no);
  }
  everyName.sort();
  listed.sort();
  QCOMPARE(listed, everyName);
}

void AboutHelpTest::shippedHelpExplainsEveryFieldAndOption() {
  const QString help = readUtf8(QStringLiteral(KORVANEL_HELP_SOURCE));
  QVERIFY(help.contains(QStringLiteral("<a name=\"contents\">")));
  for (const char* topic : {"入力ファイル", "出力ファイル", "部品ファイル", "ネット種別", "部品リスト(CSV)",
                            "ソート処理", "重複チェック", "行き先不明", "リファレンス", "ピン番変更前",
                            "ピン番変更後", "変換実行", "結果メモ帳表示", "エラー情報表示", "errlog.txt"}) {
    QVERIFY2(help.contains(QString::fromUtf8(topic)), topic);
  }
  // Every in-document link leads to an anchor that exists.
  const QRegularExpression link(QStringLiteral("href=\"#([^\"]+)\""));
  for (auto match = link.globalMatch(help); match.hasNext();) {
    const QString anchor = match.next().captured(1);
    QVERIFY2(help.contains(QStringLiteral("name=\"%1\"").arg(anchor)), qPrintable(anchor));
  }
}

QTEST_MAIN(AboutHelpTest)
#include "about_help_test.moc"
