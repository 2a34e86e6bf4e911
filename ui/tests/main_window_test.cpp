// The main window: its defaults at load, its controls and menus, the enable
// rules, the messages of its own handlers and the shared Open dialog.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include "formats/builtin_formats.h"
#include "korvanel/version.h"
#include "ui/about_box.h"
#include "ui/format_combo_box.h"
#include "ui/tests/window_test_support.h"
#include "ui/window_texts.h"
#include "ui/wrapped_caption.h"

using namespace korvanel;
using namespace korvanel::ui;
using namespace korvanel::ui::testing;

namespace {

QStringList itemsOf(const QComboBox* combo) {
  QStringList items;
  for (int index = 0; index < combo->count(); ++index) items.append(combo->itemText(index));
  return items;
}

QStringList namesOf(const std::vector<Text>& names) {
  QStringList list;
  for (const Text& name : names) list.append(toQString(name));
  return list;
}

const QString kNoCsvFile = QStringLiteral("CSVのファイル名を指定してください。");
const QString kNoOutputFile = QStringLiteral("変換後ファイル名を指定してください。");

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void titleLineHasBlanksBeforeNonNegativeNumbers_data();
  void titleLineHasBlanksBeforeNonNegativeNumbers();
  void defaultsAtLoad();
  void formatListsInTheWindowsOrder();
  void captions_data();
  void captions();
  void pinChangeExplanationWrapsAfterItsHeading();
  void captionsWrapAtBlankRuns();
  void windowCaptionsWrapWhereTheLayoutExpects();
  void geometryFollowsTheTwipsLayout_data();
  void geometryFollowsTheTwipsLayout();
  void pinTableIsThreeRowsOfTenBoxes();
  void menus();
  void outputPathEnablesStart();
  void menuStartRunsWhileTheButtonIsDisabled();
  void pickingTheTwoFileInputFormatEnablesItsPartsFile_data();
  void pickingTheTwoFileInputFormatEnablesItsPartsFile();
  void typingAFormatNameIsNoPick();
  void typedNameKeepsItsLetterCase();
  void theWheelDoesNotChangeAFormat();
  void partsCsvBoxFollowsTheLastEvent_data();
  void partsCsvBoxFollowsTheLastEvent();
  void check4MessagesWhenTheCsvNameIsEmpty_data();
  void check4MessagesWhenTheCsvNameIsEmpty();
  void browseButtonsFillTheirBoxesWithTheirFilters_data();
  void browseButtonsFillTheirBoxesWithTheirFilters();
  void browseButtonsShareTheLastFileName();
  void cancelOnTheFirstBrowseEmptiesTheBox();
  void dialogFiltersBecomeQtNameFilters();
  void showConvertedFile();
  void showErrorLog();
  void fieldsAreCollectedFromEveryControl();
  void endEndsAtOnce_data();
  void endEndsAtOnce();
};

void MainWindowTest::titleLineHasBlanksBeforeNonNegativeNumbers_data() {
  QTest::addColumn<int>("major");
  QTest::addColumn<int>("minor");
  QTest::addColumn<QString>("expected");
  QTest::newRow("2.0") << 2 << 0 << QStringLiteral("Korvanel Ver 2. 0");
  QTest::newRow("1.12") << 1 << 12 << QStringLiteral("Korvanel Ver 1. 12");
  QTest::newRow("negative") << -1 << 3 << QStringLiteral("Korvanel Ver-1. 3");
}

void MainWindowTest::titleLineHasBlanksBeforeNonNegativeNumbers() {
  QFETCH(int, major);
  QFETCH(int, minor);
  QFETCH(QString, expected);
  QCOMPARE(titleLine(major, minor), expected);
}

void MainWindowTest::defaultsAtLoad() {
  LoadedWindow loaded;
  MainWindow& window = *loaded.window;
  QCOMPARE(window.startDirectory(), loaded.directory.path());
  QCOMPARE(window.windowTitle(), QStringLiteral("Korvanel"));
  QCOMPARE(window.Label3->text(),
           QStringLiteral("Korvanel Ver %1. %2").arg(kVersionMajor).arg(kVersionMinor));
  QVERIFY(window.Label3->font().bold());
  QCOMPARE(window.Label3->font().pointSizeF(), 14.25);

  QVERIFY(window.Check1->isChecked());
  QVERIFY(window.Check2->isChecked());
  QVERIFY(window.Check3->isChecked());
  QVERIFY(!window.Check4->isChecked());
  QCOMPARE(window.Command4->text(), QStringLiteral("変換実行"));
  QVERIFY(!window.Command4->isEnabled());
  QVERIFY(!window.Command6->isEnabled());
  QVERIFY(!window.Command8->isEnabled());
  QVERIFY(!window.Text3->isEnabled());
  QVERIFY(!window.Text4->isEnabled());
  QVERIFY(window.Text1->isEnabled());
  QVERIFY(window.Text2->isEnabled());
  QVERIFY(window.runrun->isEnabled());

  for (QLineEdit* box : {window.Text1, window.Text2, window.Text3, window.Text4}) QVERIFY(box->text().isEmpty());
  for (QLineEdit* box : window.Trefp) QVERIFY(box->text().isEmpty());
  for (QComboBox* combo : {static_cast<QComboBox*>(window.Combo1), static_cast<QComboBox*>(window.Combo2)}) {
    QCOMPARE(combo->currentIndex(), -1);
    QVERIFY(combo->currentText().isEmpty());
    QVERIFY(combo->isEditable());
  }
  QVERIFY(loaded.host.events.isEmpty());
}

void MainWindowTest::formatListsInTheWindowsOrder() {
  LoadedWindow loaded;
  const QStringList inputs = itemsOf(loaded.window->Combo1);
  const QStringList outputs = itemsOf(loaded.window->Combo2);
  QCOMPARE(inputs, namesOf(builtinFormats().inputNames()));
  QCOMPARE(outputs, namesOf(builtinFormats().outputNames()));
  QCOMPARE(inputs.size(), 29);
  QCOMPARE(outputs.size(), 26);
  // Not sorted: "MENTOR" comes before the two-file format in the input list
  // and after it in the output list; "Pcad(wrl)" comes before "Pcad(nlt)".
  QVERIFY(inputs.indexOf(QStringLiteral("MENTOR")) < inputs.indexOf(kTwoFileFormat));
  QVERIFY(outputs.indexOf(QStringLiteral("MENTOR")) > outputs.indexOf(kTwoFileFormat));
  QVERIFY(inputs.indexOf(QStringLiteral("Pcad(wrl)")) < inputs.indexOf(QStringLiteral("Pcad(nlt)")));
  QCOMPARE(inputs.first(), QStringLiteral("ACCEL"));
  QCOMPARE(inputs.last(), QStringLiteral("tEDAx"));
  QVERIFY(!inputs.contains(QStringLiteral("CR5000(PC)")));
  QVERIFY(!outputs.contains(QStringLiteral("FUTURE")));
}

void MainWindowTest::captions_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("caption");
  const QList<QPair<QString, QString>> rows = {
      {"Label1", "入力ファイル"},     {"Label6", "ネット種別"},       {"Label8", "部品ファイル"},
      {"Label2", "出力ファイル"},     {"Label7", "ネット種別"},       {"Label13", "　部品ファイル　　　出力　　(CSV)"},
      {"Label15", "部品リスト(CSV)"}, {"Label10", "リファレンス"},    {"Label11", "ピン番変更前"},
      {"Label12", "ピン番変更後"},    {"Label4", "ソート処理"},       {"Label5", "重複チェック"},
      {"Label14", "行き先不明"},      {"Command1", "参照"},           {"Command6", "参照"},
      {"Command2", "参照"},           {"Command8", "参照"},           {"Command4", "変換実行"},
      {"Command7", "結果メモ帳表示"}, {"Command3", "エラー情報表示"}, {"Command5", "終了"},
      {"Check1", ""},                 {"Check2", ""},                 {"Check3", ""},
      {"Check4", ""},
  };
  for (const auto& [name, caption] : rows) QTest::newRow(qPrintable(name)) << name << caption;
}

void MainWindowTest::captions() {
  QFETCH(QString, name);
  QFETCH(QString, caption);
  LoadedWindow loaded;
  QObject* control = loaded.window->findChild<QObject*>(name);
  QVERIFY2(control != nullptr, qPrintable(name));
  if (auto* label = qobject_cast<QLabel*>(control)) {
    QCOMPARE(label->text(), caption);
  } else {
    QCOMPARE(control->property("text").toString(), caption);
  }
}

void MainWindowTest::pinChangeExplanationWrapsAfterItsHeading() {
  LoadedWindow loaded;
  const QString expected = QStringLiteral("＜ネットピン番変更＞") + QString(115, QLatin1Char(' ')) +
                           QStringLiteral("１番ピンをＡＮＯＤＥに変更する場合  リファレンスに”Ｄ”  "
                                          "変更前に”１”  変更後にＡＮＯＤＥを入れてください。");
  QCOMPARE(loaded.window->Label9->text(), expected);
  QVERIFY(loaded.window->Label9->wordWrap());
  QVERIFY(loaded.window->Label13->wordWrap());
}

void MainWindowTest::captionsWrapAtBlankRuns() {
  const QFont font = japaneseFont(9);
  const QFontMetrics metrics(font);
  const int twoLetters = metrics.horizontalAdvance(QStringLiteral("ab"));
  const int blank = metrics.horizontalAdvance(QLatin1Char(' '));
  // Blanks that reach past the end of the line end it and are dropped, as
  // are the blanks at the end of a line that ends.
  QCOMPARE(wrapCaption(QStringLiteral("ab") + QString(50, QLatin1Char(' ')) + QStringLiteral("cd"), font,
                       twoLetters + 5 * blank),
           (QStringList{QStringLiteral("ab"), QStringLiteral("cd")}));
  // Blanks that fit stay.
  QCOMPARE(wrapCaption(QStringLiteral("ab  cd"), font, 1000), QStringList{QStringLiteral("ab  cd")});
  // A word that does not fit moves to the next line.
  QCOMPARE(wrapCaption(QStringLiteral("ab cd"), font, metrics.horizontalAdvance(QStringLiteral("ab c"))),
           (QStringList{QStringLiteral("ab"), QStringLiteral("cd")}));
  // A word longer than a line is broken between its characters.
  const int threeWide = metrics.horizontalAdvance(QStringLiteral("一二三"));
  QCOMPARE(wrapCaption(QStringLiteral("一二三四五六七"), font, threeWide),
           (QStringList{QStringLiteral("一二三"), QStringLiteral("四五六"), QStringLiteral("七")}));
  // The full-width blank is a blank too.
  const int word = metrics.horizontalAdvance(QStringLiteral("部品"));
  QCOMPARE(wrapCaption(QStringLiteral("部品　　　出力"), font, word + 1),
           (QStringList{QStringLiteral("部品"), QStringLiteral("出力")}));
  QCOMPARE(wrapCaption(QString(), font, 100), QStringList{QString()});
}

void MainWindowTest::windowCaptionsWrapWhereTheLayoutExpects() {
  LoadedWindow loaded;
  MainWindow& window = *loaded.window;
  auto linesOf = [](QWidget* control) {
    const QString caption = control->property("text").toString();
    const int width = qobject_cast<QPushButton*>(control) ? control->width() - 8 : control->width();
    return wrapCaption(caption, control->font(), width);
  };
  QCOMPARE(linesOf(window.Label9),
           (QStringList{QStringLiteral("＜ネットピン番変更＞"),
                        QStringLiteral("１番ピンをＡＮＯＤＥに変更する場合  リファレンスに”Ｄ”  変更前に”１”  "
                                       "変更後にＡＮＯＤＥを入れてください。")}));
  QCOMPARE(linesOf(window.Label13),
           (QStringList{QStringLiteral("　部品ファイル"), QStringLiteral("出力　　(CSV)")}));
  QCOMPARE(linesOf(window.Command7).size(), 2);
  QCOMPARE(linesOf(window.Command3).size(), 2);
  QCOMPARE(linesOf(window.Command4), QStringList{QStringLiteral("変換実行")});
}

void MainWindowTest::geometryFollowsTheTwipsLayout_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QRect>("pixels");
  // Left, top, width and height in twips divided by 15.
  const QList<QPair<QString, QRect>> rows = {
      {"Label3", {8, 0, 577, 25}},     {"Label1", {8, 32, 89, 20}},     {"Text1", {104, 32, 441, 20}},
      {"Command1", {544, 32, 41, 20}}, {"Label6", {8, 56, 89, 20}},     {"Combo1", {104, 56, 201, 20}},
      {"Label8", {8, 80, 89, 20}},     {"Text3", {104, 80, 441, 20}},   {"Command6", {544, 80, 41, 20}},
      {"Label2", {8, 104, 89, 20}},    {"Text2", {104, 104, 441, 20}},  {"Command2", {544, 104, 41, 20}},
      {"Label7", {8, 128, 89, 20}},    {"Combo2", {104, 128, 201, 20}}, {"Label13", {8, 152, 89, 44}},
      {"Check4", {104, 152, 17, 17}},  {"Label15", {120, 155, 113, 17}}, {"Text4", {104, 176, 441, 20}},
      {"Command8", {544, 176, 41, 20}}, {"Label9", {8, 208, 577, 33}},  {"Label10", {8, 240, 89, 17}},
      {"Label11", {8, 256, 89, 17}},   {"Label12", {8, 272, 89, 17}},   {"Check1", {8, 296, 17, 17}},
      {"Label4", {24, 299, 77, 17}},   {"Command4", {104, 304, 73, 33}}, {"Command7", {184, 304, 73, 33}},
      {"Command3", {264, 304, 73, 33}}, {"Command5", {344, 304, 73, 33}}, {"Check2", {8, 312, 17, 17}},
      {"Label5", {24, 314, 77, 17}},   {"Check3", {8, 328, 17, 17}},    {"Label14", {24, 330, 77, 17}},
  };
  for (const auto& [name, pixels] : rows) QTest::newRow(qPrintable(name)) << name << pixels;
}

void MainWindowTest::geometryFollowsTheTwipsLayout() {
  QFETCH(QString, name);
  QFETCH(QRect, pixels);
  LoadedWindow loaded;
  auto* control = loaded.window->findChild<QWidget*>(name);
  QVERIFY2(control != nullptr, qPrintable(name));
  QCOMPARE(control->geometry(), pixels);
  QCOMPARE(loaded.window->centralWidget()->size(), QSize(594, 350));
}

void MainWindowTest::pinTableIsThreeRowsOfTenBoxes() {
  LoadedWindow loaded;
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 10; ++column) {
      const int index = row * 10 + column;
      QLineEdit* box = loaded.window->Trefp[index];
      QCOMPARE(box->objectName(), QStringLiteral("Trefp%1").arg(index));
      QCOMPARE(box->geometry(), QRect(104 + 48 * column, 240 + 16 * row, 49, 18));
    }
  }
  QCOMPARE(loaded.window->findChildren<QLineEdit*>(QRegularExpression(QStringLiteral("^Trefp\\d+$"))).size(), 30);
}

void MainWindowTest::menus() {
  LoadedWindow loaded;
  const QList<QAction*> menuTitles = loaded.window->menuBar()->actions();
  QCOMPARE(menuTitles.size(), 3);
  const QStringList expectedTitles = {"ファイル(&F)", "実行(&R)", "ヘルプ(&H)"};
  const QStringList expectedMenuNames = {"mnufile", "run", "mnuhelp"};
  const QList<QStringList> expectedEntries = {
      {"mnufilein:入力ファイル", "mnufileout:出力ファイル", "mnumemo:結果メモ帳", "mnucompare:ネットリスト比較…",
       "mnufileend:終了"},
      {"runrun:開始", "noCapacityLimits:容量制限なし（大規模基板）"},
      {"mnuhelpmokuji:目次", "mnuhelpv:バージョン情報"}};
  for (int menuIndex = 0; menuIndex < menuTitles.size(); ++menuIndex) {
    QCOMPARE(menuTitles[menuIndex]->text(), expectedTitles[menuIndex]);
    QMenu* menu = menuTitles[menuIndex]->menu();
    QVERIFY(menu != nullptr);
    QCOMPARE(menu->objectName(), expectedMenuNames[menuIndex]);
    QStringList entries;
    for (QAction* action : menu->actions()) {
      entries.append(action->objectName() + QLatin1Char(':') + action->text());
      QVERIFY(action->isEnabled());
    }
    QCOMPARE(entries, expectedEntries[menuIndex]);
  }
}

void MainWindowTest::outputPathEnablesStart() {
  LoadedWindow loaded;
  MainWindow& window = *loaded.window;
  typeInto(window.Text2, QStringLiteral("o"));
  QVERIFY(window.Command4->isEnabled());
  QTest::keyClick(window.Text2, Qt::Key_Backspace);
  QVERIFY(!window.Command4->isEnabled());
  // A browsed name counts as well.
  loaded.desktop.dialogAnswers.push_back(QStringLiteral("/boards/out.net"));
  QTest::mouseClick(window.Command2, Qt::LeftButton);
  QCOMPARE(window.Text2->text(), QStringLiteral("/boards/out.net"));
  QVERIFY(window.Command4->isEnabled());
  window.Text2->clear();
  QVERIFY(!window.Command4->isEnabled());
}

void MainWindowTest::menuStartRunsWhileTheButtonIsDisabled() {
  LoadedWindow loaded;
  QVERIFY(!loaded.window->Command4->isEnabled());
  // A click on the disabled button does nothing.
  QTest::mouseClick(loaded.window->Command4, Qt::LeftButton);
  QVERIFY(loaded.host.events.isEmpty());
  loaded.window->runrun->trigger();
  QCOMPARE(loaded.host.events, QStringList{QStringLiteral("message: 変換するファイル名を指定してください。")});
  QVERIFY(loaded.host.progressWindow() == nullptr);
}

void MainWindowTest::pickingTheTwoFileInputFormatEnablesItsPartsFile_data() {
  QTest::addColumn<QStringList>("picks");
  QTest::addColumn<bool>("enabled");
  QTest::newRow("two-file format") << QStringList{kTwoFileFormat} << true;
  QTest::newRow("another format") << QStringList{QStringLiteral("Telesis")} << false;
  QTest::newRow("two-file format, then another") << QStringList{kTwoFileFormat, QStringLiteral("MENTOR")} << false;
  QTest::newRow("another, then the two-file format") << QStringList{QStringLiteral("FUTURE"), kTwoFileFormat} << true;
}

void MainWindowTest::pickingTheTwoFileInputFormatEnablesItsPartsFile() {
  QFETCH(QStringList, picks);
  QFETCH(bool, enabled);
  LoadedWindow loaded;
  MainWindow& window = *loaded.window;
  for (const QString& pick : picks) QVERIFY2(pickFromList(window.Combo1, pick), qPrintable(pick));
  QCOMPARE(window.Combo1->currentText(), picks.last());
  QCOMPARE(window.Text3->isEnabled(), enabled);
  QCOMPARE(window.Command6->isEnabled(), enabled);
  // The output side is not touched by the input list.
  QVERIFY(!window.Text4->isEnabled());
  QVERIFY(!window.Command8->isEnabled());
}

void MainWindowTest::typingAFormatNameIsNoPick() {
  LoadedWindow loaded;
  MainWindow& window = *loaded.window;
  QSignalSpy picks(window.Combo1, &QComboBox::activated);
  typeInto(window.Combo1, kTwoFileFormat);
  QTest::keyClick(window.Combo1, Qt::Key_Return);
  window.Text2->setFocus();  // the edit ends
  QCOMPARE(picks.size(), 0);
  QCOMPARE(window.Combo1->currentText(), kTwoFileFormat);
  QVERIFY(!window.Text3->isEnabled());
  QVERIFY(!window.Command6->isEnabled());

  // The same for the output list: the parts file row stays as it was.
  typeInto(window.Combo2, kTwoFileFormat);
  QTest::keyClick(window.Combo2, Qt::Key_Return);
  window.Text1->setFocus();
  QVERIFY(!window.Text4->isEnabled());

  // The run still gets the typed name and the disabled parts file box.
  window.Text3->setText(QStringLiteral("parts.prt"));
  const ConversionFields fields = window.collectFields();
  QCOMPARE(toQString(fields.inputFormat), kTwoFileFormat);
  QCOMPARE(toQString(fields.outputFormat), kTwoFileFormat);
  QCOMPARE(toQString(fields.inputPartsFile), QStringLiteral("parts.prt"));
}

void MainWindowTest::typedNameKeepsItsLetterCase() {
  LoadedWindow loaded;
  MainWindow& window = *loaded.window;
  typeInto(window.Combo1, QStringLiteral("telesis"));
  QTest::keyClick(window.Combo1, Qt::Key_Return);
  window.Text1->setFocus();
  QCOMPARE(window.Combo1->currentText(), QStringLiteral("telesis"));
  QCOMPARE(window.Combo1->currentIndex(), -1);
  // Nothing is completed from the list either.
  window.Combo2->setFocus();
  QTest::keyClicks(window.Combo2, QStringLiteral("TE"));
  QCOMPARE(window.Combo2->currentText(), QStringLiteral("TE"));
  QCOMPARE(window.Combo2->count(), 26);
}

void MainWindowTest::theWheelDoesNotChangeAFormat() {
  LoadedWindow loaded;
  MainWindow& window = *loaded.window;
  QVERIFY(pickFromList(window.Combo2, QStringLiteral("ACCEL")));
  QSignalSpy picks(window.Combo2, &QComboBox::activated);
  const QPointF centre = window.Combo2->rect().center();
  for (const int delta : {-120, 120, -120}) {
    QWheelEvent wheel(centre, window.Combo2->mapToGlobal(centre), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(window.Combo2, &wheel);
  }
  QCOMPARE(window.Combo2->currentText(), QStringLiteral("ACCEL"));
  QCOMPARE(picks.size(), 0);
}

void MainWindowTest::partsCsvBoxFollowsTheLastEvent_data() {
  QTest::addColumn<QStringList>("events");
  QTest::addColumn<bool>("enabled");
  QTest::newRow("tick") << QStringList{"tick"} << true;
  QTest::newRow("tick, untick") << QStringList{"tick", "untick"} << false;
  QTest::newRow("pick two-file output") << QStringList{"pick " + kTwoFileFormat} << true;
  QTest::newRow("pick two-file output, pick Telesis") << QStringList{"pick " + kTwoFileFormat, "pick Telesis"} << false;
  QTest::newRow("tick, pick Telesis") << QStringList{"tick", "pick Telesis"} << false;
  QTest::newRow("pick Telesis, tick") << QStringList{"pick Telesis", "tick"} << true;
  QTest::newRow("pick two-file output, tick, untick")
      << QStringList{"pick " + kTwoFileFormat, "tick", "untick"} << false;
  QTest::newRow("tick, pick two-file output") << QStringList{"tick", "pick " + kTwoFileFormat} << true;
}

void MainWindowTest::partsCsvBoxFollowsTheLastEvent() {
  QFETCH(QStringList, events);
  QFETCH(bool, enabled);
  LoadedWindow loaded;
  MainWindow& window = *loaded.window;
  window.Text4->setText(QStringLiteral("parts.csv"));
  for (const QString& event : events) {
    if (event == QStringLiteral("tick") || event == QStringLiteral("untick")) {
      QCOMPARE(window.Check4->isChecked(), event == QStringLiteral("untick"));
      QTest::mouseClick(window.Check4, Qt::LeftButton, Qt::NoModifier, window.Check4->rect().center());
      QCOMPARE(window.Check4->isChecked(), event == QStringLiteral("tick"));
    } else {
      QVERIFY(pickFromList(window.Combo2, event.mid(5)));
    }
  }
  QCOMPARE(window.Text4->isEnabled(), enabled);
  QCOMPARE(window.Command8->isEnabled(), enabled);
  // A disabled box keeps its text, and the run still reads it.
  QCOMPARE(toQString(window.collectFields().csvOrOutputParts), QStringLiteral("parts.csv"));
  QVERIFY(loaded.host.messages().isEmpty());
}

void MainWindowTest::check4MessagesWhenTheCsvNameIsEmpty_data() {
  QTest::addColumn<QString>("csvName");
  QTest::addColumn<int>("clicks");
  QTest::addColumn<QStringList>("messages");
  QTest::newRow("tick, empty") << QString() << 1 << QStringList{kNoCsvFile};
  QTest::newRow("tick and untick, empty") << QString() << 2 << QStringList{kNoCsvFile, kNoCsvFile};
  QTest::newRow("tick, named") << QStringLiteral("parts.csv") << 1 << QStringList{};
  QTest::newRow("tick and untick, named") << QStringLiteral("parts.csv") << 2 << QStringList{};
}

void MainWindowTest::check4MessagesWhenTheCsvNameIsEmpty() {
  QFETCH(QString, csvName);
  QFETCH(int, clicks);
  QFETCH(QStringList, messages);
  LoadedWindow loaded;
  loaded.window->Text4->setText(csvName);
  for (int click = 0; click < clicks; ++click) {
    QTest::mouseClick(loaded.window->Check4, Qt::LeftButton, Qt::NoModifier, loaded.window->Check4->rect().center());
  }
  QCOMPARE(loaded.host.messages(), messages);
  QCOMPARE(loaded.window->Check4->isChecked(), clicks % 2 == 1);
  // The keyboard's Space clicks the box as well.
  loaded.host.events.clear();
  loaded.window->Check4->setFocus();
  QTest::keyClick(loaded.window->Check4, Qt::Key_Space);
  QCOMPARE(loaded.host.messages().size(), csvName.isEmpty() ? 1 : 0);
}

void MainWindowTest::browseButtonsFillTheirBoxesWithTheirFilters_data() {
  QTest::addColumn<QString>("button");
  QTest::addColumn<QString>("box");
  QTest::addColumn<QString>("filter");
  const QString netFiles = QStringLiteral(
      "ネットファイル (*.NET) |*.NET;*.WRL;*.CCF;*.ALT;*.SMP;*.PRT;*.NPL|全てのファイル (*.*) |*.*");
  QTest::newRow("Command1") << "Command1" << "Text1" << netFiles;
  QTest::newRow("mnufilein") << "mnufilein" << "Text1" << netFiles;
  QTest::newRow("Command2") << "Command2" << "Text2" << netFiles;
  QTest::newRow("mnufileout") << "mnufileout" << "Text2" << netFiles;
  QTest::newRow("Command6") << "Command6" << "Text3"
                            << QStringLiteral("ネットファイル (*.NET) |*.NET;*.WRL;*.CCF;*.ALT;*.SMP;*.PRT");
  QTest::newRow("Command8") << "Command8" << "Text4" << QStringLiteral("部品ファイル (*.CSV) |*.CSV;*.PRT");
}

void MainWindowTest::browseButtonsFillTheirBoxesWithTheirFilters() {
  QFETCH(QString, button);
  QFETCH(QString, box);
  QFETCH(QString, filter);
  LoadedWindow loaded;
  MainWindow& window = *loaded.window;
  // The parts file rows are enabled for the click.
  QVERIFY(pickFromList(window.Combo1, kTwoFileFormat));
  QVERIFY(pickFromList(window.Combo2, kTwoFileFormat));
  loaded.desktop.dialogAnswers.push_back(QStringLiteral("/boards/chosen.net"));
  if (auto* action = window.findChild<QAction*>(button)) {
    action->trigger();
  } else {
    auto* pushButton = window.findChild<QPushButton*>(button);
    QVERIFY(pushButton != nullptr);
    QVERIFY(pushButton->isEnabled());
    QTest::mouseClick(pushButton, Qt::LeftButton);
  }
  QCOMPARE(loaded.desktop.dialogCalls.size(), std::size_t{1});
  QCOMPARE(loaded.desktop.dialogCalls[0].filter, filter);
  QCOMPARE(window.findChild<QLineEdit*>(box)->text(), QStringLiteral("/boards/chosen.net"));
  for (QLineEdit* other : {window.Text1, window.Text2, window.Text3, window.Text4}) {
    if (other->objectName() != box) QVERIFY(other->text().isEmpty());
  }
}

void MainWindowTest::browseButtonsShareTheLastFileName() {
  LoadedWindow loaded;
  MainWindow& window = *loaded.window;
  ScriptedDesktop& desktop = loaded.desktop;
  desktop.dialogAnswers = {QStringLiteral("/boards/in.net"), std::nullopt, QStringLiteral("/boards/out.net")};
  QTest::mouseClick(window.Command1, Qt::LeftButton);
  // Cancelled right after the input was chosen: the input's name goes into
  // the output box, and the run refuses the same file.
  QTest::mouseClick(window.Command2, Qt::LeftButton);
  QCOMPARE(window.Text1->text(), QStringLiteral("/boards/in.net"));
  QCOMPARE(window.Text2->text(), QStringLiteral("/boards/in.net"));
  QVERIFY(pickFromList(window.Combo1, QStringLiteral("Telesis")));
  QVERIFY(pickFromList(window.Combo2, QStringLiteral("ALLEGRO")));
  QTest::mouseClick(window.Command4, Qt::LeftButton);
  QCOMPARE(loaded.host.messages(),
           QStringList{QStringLiteral("変換するネットと変換後のネットが同じです。変換後のネットネイムを変えてください。")});
  QVERIFY(loaded.host.progressWindow() == nullptr);

  window.Text2->setText(QStringLiteral("typed.net"));
  QTest::mouseClick(window.Command2, Qt::LeftButton);
  QCOMPARE(window.Text2->text(), QStringLiteral("/boards/out.net"));
  // Each dialog started at the name chosen last.
  QCOMPARE(desktop.dialogCalls.size(), std::size_t{3});
  QCOMPARE(desktop.dialogCalls[0].startName, QString());
  QCOMPARE(desktop.dialogCalls[1].startName, QStringLiteral("/boards/in.net"));
  QCOMPARE(desktop.dialogCalls[2].startName, QStringLiteral("/boards/in.net"));
}

void MainWindowTest::cancelOnTheFirstBrowseEmptiesTheBox() {
  LoadedWindow loaded;
  loaded.window->Text1->setText(QStringLiteral("typed.net"));
  loaded.desktop.dialogAnswers = {std::nullopt};
  QTest::mouseClick(loaded.window->Command1, Qt::LeftButton);
  QCOMPARE(loaded.window->Text1->text(), QString());
}

void MainWindowTest::dialogFiltersBecomeQtNameFilters() {
  QCOMPARE(nameFiltersOf(kNetFileFilter),
           (QStringList{QStringLiteral("ネットファイル (*.NET) (*.NET *.WRL *.CCF *.ALT *.SMP *.PRT *.NPL)"),
                        QStringLiteral("全てのファイル (*.*) (*)")}));
  QCOMPARE(nameFiltersOf(kInputPartsFileFilter),
           QStringList{QStringLiteral("ネットファイル (*.NET) (*.NET *.WRL *.CCF *.ALT *.SMP *.PRT)")});
  QCOMPARE(nameFiltersOf(kPartsCsvFilter), QStringList{QStringLiteral("部品ファイル (*.CSV) (*.CSV *.PRT)")});
  QCOMPARE(nameFiltersOf(QString()), QStringList{});
}

void MainWindowTest::showConvertedFile() {
  LoadedWindow loaded;
  MainWindow& window = *loaded.window;
  QTest::mouseClick(window.Command7, Qt::LeftButton);
  window.mnumemo->trigger();
  QCOMPARE(loaded.host.messages(), (QStringList{kNoOutputFile, kNoOutputFile}));
  QVERIFY(loaded.desktop.viewedFiles.isEmpty());

  window.Text2->setText(QStringLiteral("result dir/out.net"));
  QTest::mouseClick(window.Command7, Qt::LeftButton);
  window.mnumemo->trigger();
  QCOMPARE(loaded.desktop.viewedFiles,
           (QStringList{QStringLiteral("result dir/out.net"), QStringLiteral("result dir/out.net")}));
  QCOMPARE(loaded.host.messages().size(), 2);
}

void MainWindowTest::showErrorLog() {
  LoadedWindow loaded;
  QTest::mouseClick(loaded.window->Command3, Qt::LeftButton);
  QCOMPARE(loaded.desktop.viewedFiles, QStringList{loaded.path(QStringLiteral("errlog.txt"))});
  QVERIFY(loaded.host.events.isEmpty());
}

void MainWindowTest::fieldsAreCollectedFromEveryControl() {
  LoadedWindow loaded;
  MainWindow& window = *loaded.window;
  window.Text1->setText(QStringLiteral("in.net"));
  window.Text2->setText(QStringLiteral("out.net"));
  window.Text3->setText(QStringLiteral("in.prt"));
  window.Text4->setText(QStringLiteral("parts.csv"));
  QVERIFY(pickFromList(window.Combo1, QStringLiteral("PADSPCB")));
  window.Combo2->setEditText(QStringLiteral(" Telesis"));
  QTest::mouseClick(window.Check1, Qt::LeftButton, Qt::NoModifier, window.Check1->rect().center());
  QTest::mouseClick(window.Check3, Qt::LeftButton, Qt::NoModifier, window.Check3->rect().center());
  QTest::mouseClick(window.Check4, Qt::LeftButton, Qt::NoModifier, window.Check4->rect().center());
  for (int index = 0; index < 30; ++index) window.Trefp[index]->setText(QStringLiteral("b%1").arg(index));

  const ConversionFields fields = window.collectFields();
  QCOMPARE(toQString(fields.inputPath), QStringLiteral("in.net"));
  QCOMPARE(toQString(fields.outputPath), QStringLiteral("out.net"));
  QCOMPARE(toQString(fields.inputPartsFile), QStringLiteral("in.prt"));
  QCOMPARE(toQString(fields.csvOrOutputParts), QStringLiteral("parts.csv"));
  QCOMPARE(toQString(fields.inputFormat), QStringLiteral("PADSPCB"));
  QCOMPARE(toQString(fields.outputFormat), QStringLiteral(" Telesis"));  // no trimming
  QVERIFY(!fields.sortNets);
  QVERIFY(fields.duplicateChecks);
  QVERIFY(!fields.singlePinCheck);
  QVERIFY(fields.partsCsv);
  QVERIFY(!fields.liftCapacityLimits);  // off until the user ticks it
  window.findChild<QAction*>(QStringLiteral("noCapacityLimits"))->trigger();
  QVERIFY(window.collectFields().liftCapacityLimits);
  // Boxes as typed; the driver upper-cases them.
  for (int index = 0; index < 30; ++index) {
    QCOMPARE(toQString(fields.pinChangeBoxes[index]), QStringLiteral("b%1").arg(index));
  }
}

void MainWindowTest::endEndsAtOnce_data() {
  QTest::addColumn<QString>("command");
  QTest::newRow("Command5") << QStringLiteral("Command5");
  QTest::newRow("mnufileend") << QStringLiteral("mnufileend");
}

void MainWindowTest::endEndsAtOnce() {
  QFETCH(QString, command);
  LoadedWindow loaded;
  MainWindow& window = *loaded.window;
  window.showAboutBox();
  QVERIFY(window.aboutBox() != nullptr && window.aboutBox()->isVisible());
  QVERIFY(window.isVisible());
  if (command == QStringLiteral("Command5")) {
    QTest::mouseClick(window.Command5, Qt::LeftButton);
  } else {
    window.mnufileend->trigger();
  }
  // No question is asked: every window is gone.
  QVERIFY(!window.isVisible());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QVERIFY(window.aboutBox() == nullptr);
  QVERIFY(loaded.host.events.isEmpty());
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
