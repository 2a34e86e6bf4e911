// Whole conversions started from the window: the messages, the files left
// behind and the states of the progress window.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "ui/format_combo_box.h"
#include "ui/progress_window.h"
#include "ui/tests/window_test_support.h"
#include "ui/window_texts.h"

using namespace korvanel;
using namespace korvanel::ui;
using namespace korvanel::ui::testing;

namespace {

QByteArray sampleNetlist() {
  QFile sample(QStringLiteral(KORVANEL_EXAMPLES_DIR "/sample.tel"));
  if (!sample.open(QIODevice::ReadOnly)) return {};
  return sample.readAll();
}

const QString kDuplicatePins =
    QStringLiteral("ピン番の重複があります。処理終了後にエラー情報ボタンを押して確認してください。");
const QString kSinglePinNets =
    QStringLiteral("ネット名の行き先不明（１ネット）が有ります。処理終了後にエラー情報ボタンを押して確認してください。");
const QString kUnknownFormat = QStringLiteral("変換ファイルのネットフォーマットを指定して下さい。");

// The window filled for a conversion of `input` into `output`, as a user
// fills it: files typed, formats picked from the lists.
void fill(MainWindow& window, const QString& input, const QString& inputFormat, const QString& output,
          const QString& outputFormat) {
  typeInto(window.Text1, input);
  if (!pickFromList(window.Combo1, inputFormat)) typeInto(window.Combo1, inputFormat);
  typeInto(window.Text2, output);
  if (!pickFromList(window.Combo2, outputFormat)) typeInto(window.Combo2, outputFormat);
}

void click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center()); }

}  // namespace

class ConversionTest : public QObject {
  Q_OBJECT

 private slots:
  void finishedConversionLeavesTheProgressWindowWithOkEnabled();
  void okClosesTheProgressWindowAndTheNextRunMakesItAnew();
  void aStillOpenProgressWindowStartsTheNextRunWithOkDisabled();
  void formatMismatchHidesTheProgressWindowBeforeItsMessage();
  void formatNameWithoutModule_data();
  void formatNameWithoutModule();
  void failedRunNamesTheFileAndTheCauseInAMessageBox_data();
  void failedRunNamesTheFileAndTheCauseInAMessageBox();
  void capacityExceededHidesTheProgressWindow();
  void pinTableAndPartsListReachTheRun();
  void everyCheckOffStillWritesTheErrorLogHeading();
};

void ConversionTest::finishedConversionLeavesTheProgressWindowWithOkEnabled() {
  LoadedWindow loaded;
  loaded.writeBytes(QStringLiteral("sample.tel"), sampleNetlist());
  MainWindow& window = *loaded.window;
  fill(window, QStringLiteral("sample.tel"), QStringLiteral("Telesis"), QStringLiteral("sample.all"),
       QStringLiteral("ALLEGRO"));
  QVERIFY(window.Command4->isEnabled());
  click(window.Command4);

  QCOMPARE(window.lastRunResult().outcome, RunOutcome::Finished);
  // The checks' findings in the sample: a pin in two nets, a one-pin net.
  QCOMPARE(loaded.host.events,
           (QStringList{"show", "value: 0", "status: ネット変換処理中", "message: " + kDuplicatePins,
                        "message: " + kSinglePinNets, "value: 10", "status: 変換処理中", "value: 100",
                        "status: 終了しました。", "ok"}));
  QVERIFY(loaded.host.progressVisibleAtMessage == std::vector<bool>({true, true}));

  ProgressWindow* progress = loaded.host.progressWindow();
  QVERIFY(progress != nullptr);
  QVERIFY(progress->isVisible());
  QVERIFY(progress->Command1->isEnabled());
  QCOMPARE(progress->Label1->text(), QStringLiteral("終了しました。"));
  QCOMPARE(progress->ProgressBar1->value(), 100);
  QVERIFY(progress->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  QVERIFY(!progress->isModal());

  const QByteArray output = loaded.readBytes(QStringLiteral("sample.all"));
  QVERIFY(output.startsWith("$PACKAGES\r\n"));
  QVERIFY(output.contains("$NETS\r\n"));
  QVERIFY(output.endsWith("$END\r\n"));
  QVERIFY(loaded.readBytes(QStringLiteral("errlog.txt")).size() > 0);
  QVERIFY(loaded.exists(QStringLiteral("errlog.txt")));
  QVERIFY(!loaded.exists(QStringLiteral("net.tmp")));
  QVERIFY(!loaded.exists(QStringLiteral("parts.tmp")));
}

void ConversionTest::okClosesTheProgressWindowAndTheNextRunMakesItAnew() {
  LoadedWindow loaded;
  loaded.writeBytes(QStringLiteral("sample.tel"), sampleNetlist());
  MainWindow& window = *loaded.window;
  fill(window, QStringLiteral("sample.tel"), QStringLiteral("Telesis"), QStringLiteral("sample.out"),
       QStringLiteral("Telesis"));
  click(window.Command4);
  ProgressWindow* first = loaded.host.progressWindow();
  QVERIFY(first != nullptr);
  click(first->Command1);
  QVERIFY(!first->isVisible());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QVERIFY(loaded.host.progressWindow() == nullptr);

  loaded.host.events.clear();
  window.runrun->trigger();
  ProgressWindow* second = loaded.host.progressWindow();
  QVERIFY(second != nullptr);
  QVERIFY(second->isVisible());
  QVERIFY(second->Command1->isEnabled());
  QCOMPARE(loaded.host.events.first(), QStringLiteral("show"));
  QCOMPARE(loaded.host.events.last(), QStringLiteral("ok"));
}

void ConversionTest::aStillOpenProgressWindowStartsTheNextRunWithOkDisabled() {
  LoadedWindow loaded;
  loaded.writeBytes(QStringLiteral("sample.tel"), sampleNetlist());
  MainWindow& window = *loaded.window;
  fill(window, QStringLiteral("sample.tel"), QStringLiteral("Telesis"), QStringLiteral("sample.out"),
       QStringLiteral("Telesis"));
  click(window.Command4);
  ProgressWindow* progress = loaded.host.progressWindow();
  QVERIFY(progress != nullptr && progress->Command1->isEnabled());

  // The next run stops at the missing input: the window that finished
  // before must not look finished now.
  window.Text1->setText(QStringLiteral("missing.tel"));
  click(window.Command4);
  QCOMPARE(window.lastRunResult().outcome, RunOutcome::Failed);
  QCOMPARE(loaded.host.progressWindow(), progress);
  QVERIFY(!progress->Command1->isEnabled());
  QCOMPARE(progress->Label1->text(), QStringLiteral("ネット変換処理中"));
}

void ConversionTest::formatMismatchHidesTheProgressWindowBeforeItsMessage() {
  LoadedWindow loaded;
  loaded.writeBytes(QStringLiteral("errlog.txt"), "previous run\r\n");
  loaded.writeBytes(QStringLiteral("other.net"), "*PADS-PCB*\r\n*PART*\r\nU1 DIP14\r\n*END*\r\n");
  MainWindow& window = *loaded.window;
  fill(window, QStringLiteral("other.net"), QStringLiteral("Telesis"), QStringLiteral("out.tel"),
       QStringLiteral("Telesis"));
  click(window.Command4);

  QCOMPARE(window.lastRunResult().outcome, RunOutcome::FormatMismatch);
  QCOMPARE(loaded.host.messages(), QStringList{QStringLiteral("ネットフォーマットが一致しません。")});
  QVERIFY(loaded.host.progressVisibleAtMessage == std::vector<bool>({false}));
  ProgressWindow* progress = loaded.host.progressWindow();
  QVERIFY(progress != nullptr);
  QVERIFY(!progress->isVisible());
  QVERIFY(!progress->Command1->isEnabled());
  // The error log of the previous run stays; nothing was written.
  QCOMPARE(loaded.readBytes(QStringLiteral("errlog.txt")), QByteArray("previous run\r\n"));
  QVERIFY(!loaded.exists(QStringLiteral("out.tel")));
}

void ConversionTest::formatNameWithoutModule_data() {
  QTest::addColumn<QString>("inputFormat");
  QTest::addColumn<QString>("outputFormat");
  QTest::addColumn<bool>("readerRan");
  QTest::newRow("typed in another letter case") << "telesis" << "Telesis" << false;
  QTest::newRow("output-only name as input") << "CR5000(PC)" << "Telesis" << false;
  QTest::newRow("input-only name as output") << "Telesis" << "FUTURE" << true;
  QTest::newRow("unknown output") << "Telesis" << "Gerber" << true;
}

void ConversionTest::formatNameWithoutModule() {
  QFETCH(QString, inputFormat);
  QFETCH(QString, outputFormat);
  QFETCH(bool, readerRan);
  LoadedWindow loaded;
  loaded.writeBytes(QStringLiteral("sample.tel"), sampleNetlist());
  MainWindow& window = *loaded.window;
  window.Check2->setChecked(false);
  window.Check3->setChecked(false);
  window.Text1->setText(QStringLiteral("sample.tel"));
  window.Text2->setText(QStringLiteral("out.net"));
  window.Combo1->setEditText(inputFormat);
  window.Combo2->setEditText(outputFormat);
  click(window.Command4);

  QCOMPARE(window.lastRunResult().outcome, RunOutcome::NoModule);
  QCOMPARE(loaded.host.messages(), QStringList{kUnknownFormat});
  // The message comes first, then the window is hidden.
  QVERIFY(loaded.host.progressVisibleAtMessage == std::vector<bool>({true}));
  QCOMPARE(loaded.host.events.last(), QStringLiteral("hide"));
  QVERIFY(!loaded.host.progressWindow()->isVisible());
  // With a reader but no writer, the passes ran and the intermediate files stay.
  QCOMPARE(loaded.exists(QStringLiteral("errlog.txt")), readerRan);
  QCOMPARE(loaded.exists(QStringLiteral("net.tmp")), readerRan);
  QCOMPARE(loaded.exists(QStringLiteral("parts.tmp")), readerRan);
  QVERIFY(!loaded.exists(QStringLiteral("out.net")));
}

void ConversionTest::failedRunNamesTheFileAndTheCauseInAMessageBox_data() {
  QTest::addColumn<QString>("input");
  QTest::addColumn<QString>("output");
  QTest::addColumn<QString>("cause");
  QTest::newRow("input missing") << "missing.tel" << "out.tel" << "missing.tel: cannot open for reading";
  QTest::newRow("output is a folder") << "sample.tel" << "folder" << "folder: is a directory";
  QTest::newRow("invalid byte") << "invalid.tel" << "out.tel" << "invalid.tel: byte offset 11: invalid cp932";
}

void ConversionTest::failedRunNamesTheFileAndTheCauseInAMessageBox() {
  QFETCH(QString, input);
  QFETCH(QString, output);
  QFETCH(QString, cause);
  LoadedWindow loaded;
  loaded.writeBytes(QStringLiteral("sample.tel"), sampleNetlist());
  loaded.writeBytes(QStringLiteral("invalid.tel"), "$PACKAGES\r\n\xFD\r\n");
  QVERIFY(QDir(loaded.directory.path()).mkdir(QStringLiteral("folder")));
  MainWindow& window = *loaded.window;
  fill(window, input, QStringLiteral("Telesis"), output, QStringLiteral("Telesis"));
  click(window.Command4);

  QCOMPARE(window.lastRunResult().outcome, RunOutcome::Failed);
  const QString message = loaded.host.messages().last();
  QVERIFY2(message.startsWith(QStringLiteral("変換できませんでした。\n")) && message.contains(cause),
           qPrintable(message));
  // The progress window went before the message.
  QVERIFY(!loaded.host.progressVisibleAtMessage.back());
  QVERIFY(!loaded.host.progressWindow()->isVisible());
}

void ConversionTest::capacityExceededHidesTheProgressWindow() {
  LoadedWindow loaded;
  // One net with more pins than a net record holds.
  QByteArray netlist = "$PACKAGES\r\nR0603 ! 10K ; R1\r\n$NETS\r\nBIG ;";
  for (int pin = 1; pin <= 20000; ++pin) {
    netlist += " R";
    netlist += QByteArray::number(pin);
    netlist += ".1";
    if (pin % 8 == 0) netlist += ",\r\n";
  }
  netlist += "\r\n$END\r\n";
  loaded.writeBytes(QStringLiteral("big.tel"), netlist);
  MainWindow& window = *loaded.window;
  fill(window, QStringLiteral("big.tel"), QStringLiteral("Telesis"), QStringLiteral("big.out"),
       QStringLiteral("Telesis"));
  click(window.Command4);

  QCOMPARE(window.lastRunResult().outcome, RunOutcome::CapacityExceeded);
  QCOMPARE(loaded.host.messages(), QStringList{QStringLiteral("ネット数の許容量が越えました。")});
  QVERIFY(loaded.host.progressVisibleAtMessage == std::vector<bool>({false}));
  QVERIFY(!loaded.host.progressWindow()->isVisible());
  QVERIFY(!loaded.exists(QStringLiteral("big.out")));
}

void ConversionTest::pinTableAndPartsListReachTheRun() {
  LoadedWindow loaded;
  loaded.writeBytes(QStringLiteral("sample.tel"), sampleNetlist());
  MainWindow& window = *loaded.window;
  fill(window, QStringLiteral("sample.tel"), QStringLiteral("Telesis"), QStringLiteral("sample.out"),
       QStringLiteral("Telesis"));
  click(window.Check2);
  click(window.Check3);
  // Typed in lower case: pin 1 of the D parts becomes ANODE.
  typeInto(window.Trefp[0], QStringLiteral("d"));
  typeInto(window.Trefp[10], QStringLiteral("1"));
  typeInto(window.Trefp[20], QStringLiteral("anode"));
  // Ticked before the CSV name is there: the window asks for it.
  click(window.Check4);
  QCOMPARE(loaded.host.messages(), QStringList{QStringLiteral("CSVのファイル名を指定してください。")});
  QVERIFY(window.Text4->isEnabled());
  typeInto(window.Text4, QStringLiteral("parts.csv"));
  loaded.host.events.clear();
  click(window.Command4);

  QCOMPARE(window.lastRunResult().outcome, RunOutcome::Finished);
  QVERIFY(loaded.host.messages().isEmpty());
  const QByteArray output = loaded.readBytes(QStringLiteral("sample.out"));
  QVERIFY2(output.contains("D1.ANODE"), output.constData());
  QVERIFY(!output.contains("D1.1"));
  QVERIFY(loaded.exists(QStringLiteral("parts.csv")));
  QVERIFY(loaded.readBytes(QStringLiteral("parts.csv")).contains("D1"));
}

void ConversionTest::everyCheckOffStillWritesTheErrorLogHeading() {
  LoadedWindow loaded;
  loaded.writeBytes(QStringLiteral("sample.tel"), sampleNetlist());
  MainWindow& window = *loaded.window;
  fill(window, QStringLiteral("sample.tel"), QStringLiteral("ALLEGRO"), QStringLiteral("sample.out"),
       QStringLiteral("Telesis"));
  for (QCheckBox* check : {window.Check1, window.Check2, window.Check3}) click(check);
  click(window.Command4);
  QCOMPARE(window.lastRunResult().outcome, RunOutcome::Finished);
  QVERIFY(loaded.host.messages().isEmpty());
  const QString heading = QStringLiteral("／／／／／／／／／エラー情報／／／／／／／／／");
  QCOMPARE(toQString(decodeBytes(loaded.readBytes(QStringLiteral("errlog.txt")).toStdString(), Encoding::Cp932,
                                 "errlog.txt")),
           heading + QStringLiteral("\r\n\r\n"));
}

QTEST_MAIN(ConversionTest)
#include "conversion_test.moc"
