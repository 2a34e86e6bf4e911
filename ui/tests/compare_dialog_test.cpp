// The "判別" button beside the input format list and the netlist comparison
// dialog of the ファイル menu.
#include "ui/compare_dialog.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "core/driver.h"
#include "ui/format_combo_box.h"
#include "ui/tests/window_test_support.h"
#include "ui/window_texts.h"

using namespace korvanel;
using namespace korvanel::ui;
using namespace korvanel::ui::testing;

namespace {

QByteArray exampleBoard() {
  QFile board(QStringLiteral(KORVANEL_EXAMPLES_DIR "/board.tel"));
  return board.open(QIODevice::ReadOnly) ? board.readAll() : QByteArray();
}

void click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center()); }

}  // namespace

class CompareDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void detectFillsTheInputListOrSays_data();
  void detectFillsTheInputListOrSays();
  void theFileMenuOpensTheDialog();
  void theDialogComparesAndSavesItsReport();
  void theDialogAsksForWhatIsMissing();
};

void CompareDialogTest::detectFillsTheInputListOrSays_data() {
  QTest::addColumn<QByteArray>("content");
  QTest::addColumn<QString>("format");
  QTest::addColumn<QString>("message");
  QTest::newRow("Telesis") << exampleBoard() << QStringLiteral("ALLEGRO") << QString();
  QTest::newRow("TwoFileFormat") << QByteArray("$NET\r\nGND ; U1-7, U2-7\r\n$END\r\n") << kTwoFileFormat << QString();
  QTest::newRow("Nothing") << QByteArray("hello\r\n") << QString() << kMessageFormatNotRecognised;
  QTest::newRow("TwoFitEqually") << QByteArray("*PART*\r\n*NET*\r\n*SIGNAL* GND\r\nU1.7 U2.7\r\n*END*\r\n") << QString()
                                 << kMessageFormatsFitEqually + QStringLiteral("PADS2000、PADSPCB");
  QTest::newRow("NoFile") << QByteArray() << QString() << QString::fromStdU16String(Text(kMessageNoInputFile));
}

void CompareDialogTest::detectFillsTheInputListOrSays() {
  QFETCH(QByteArray, content);
  QFETCH(QString, format);
  QFETCH(QString, message);
  LoadedWindow loaded;
  MainWindow& window = *loaded.window;
  if (!content.isEmpty()) {
    loaded.writeBytes(QStringLiteral("in.net"), content);
    window.Text1->setText(loaded.path(QStringLiteral("in.net")));
  }
  click(window.detectButton);
  QCOMPARE(window.Combo1->currentText(), format);
  QCOMPARE(loaded.host.messages(), message.isEmpty() ? QStringList() : QStringList{message});
  // The detected name counts as a pick: the two-file format asks for its parts file.
  QCOMPARE(window.Text3->isEnabled(), format == kTwoFileFormat);
}

void CompareDialogTest::theFileMenuOpensTheDialog() {
  LoadedWindow loaded;
  MainWindow& window = *loaded.window;
  const QList<QAction*> entries = window.findChild<QMenu*>(QStringLiteral("mnufile"))->actions();
  QCOMPARE(entries.at(3), window.mnucompare);
  QCOMPARE(window.mnucompare->text(), QStringLiteral("ネットリスト比較…"));
  QCOMPARE(window.detectButton->geometry(), twipsRect(4680, 840, 615, 300));
  window.mnucompare->trigger();
  QVERIFY(window.compareDialog() != nullptr && window.compareDialog()->isVisible());
  QCOMPARE(window.compareDialog()->sideA.format->count(), window.Combo1->count());
}

void CompareDialogTest::theDialogComparesAndSavesItsReport() {
  LoadedWindow loaded;
  QByteArray edited = exampleBoard();
  edited.replace("QH_CHAIN", "SERIAL_CHAIN");
  loaded.writeBytes(QStringLiteral("a.tel"), exampleBoard());
  loaded.writeBytes(QStringLiteral("b.tel"), edited.toLower());
  CompareDialog dialog(loaded.host, loaded.desktop);
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  loaded.desktop.dialogAnswers = {loaded.path(QStringLiteral("a.tel")), loaded.path(QStringLiteral("b.tel"))};
  click(dialog.sideA.browse);
  click(dialog.sideB.browse);
  QVERIFY(pickFromList(dialog.sideA.format, QStringLiteral("Telesis")));
  click(dialog.sideB.detect);
  QCOMPARE(dialog.sideB.format->currentText(), QStringLiteral("ALLEGRO"));
  QVERIFY(!dialog.saveButton->isEnabled());
  click(dialog.compareButton);
  const QString header = QStringLiteral("A: %1 (Telesis)\nB: %2 (ALLEGRO)\n\n")
                             .arg(loaded.path(QStringLiteral("a.tel")), loaded.path(QStringLiteral("b.tel")));
  QCOMPARE(dialog.report->toPlainText(),
           header + QStringLiteral("Renamed nets (1):\n  QH_CHAIN -> SERIAL_CHAIN: U3.9 U4.14\n"));
  QVERIFY(dialog.report->isReadOnly());

  dialog.chooseFileToSave = [&](QWidget*, const QString&) { return loaded.path(QStringLiteral("report.txt")); };
  click(dialog.saveButton);
  QByteArray saved = header.toUtf8() + "Renamed nets (1):\n  QH_CHAIN -> SERIAL_CHAIN: U3.9 U4.14\n";
  QCOMPARE(loaded.readBytes(QStringLiteral("report.txt")), saved.replace("\n", "\r\n"));
  QVERIFY(loaded.host.messages().isEmpty());
}

void CompareDialogTest::theDialogAsksForWhatIsMissing() {
  LoadedWindow loaded;
  loaded.writeBytes(QStringLiteral("a.tel"), exampleBoard());
  CompareDialog dialog(loaded.host, loaded.desktop);
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  click(dialog.compareButton);
  dialog.sideA.file->setText(loaded.path(QStringLiteral("a.tel")));
  click(dialog.compareButton);
  QVERIFY(pickFromList(dialog.sideA.format, QStringLiteral("ACCEL")));
  dialog.sideB.file->setText(loaded.path(QStringLiteral("a.tel")));
  QVERIFY(pickFromList(dialog.sideB.format, QStringLiteral("Telesis")));
  click(dialog.compareButton);
  QCOMPARE(loaded.host.messages(), (QStringList{QStringLiteral("比較するファイル名を指定してください。"),
                                                QStringLiteral("比較するファイルのネット種別を指定してください。"),
                                                QStringLiteral("ネットフォーマットが一致しません。")}));
  QVERIFY(dialog.report->toPlainText().isEmpty());
}

QTEST_MAIN(CompareDialogTest)
#include "compare_dialog_test.moc"
