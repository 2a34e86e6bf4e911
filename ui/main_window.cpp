#include "ui/main_window.h"

#include <exception>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

#include "formats/builtin_formats.h"
#include "korvanel/version.h"
#include "ui/about_box.h"
#include "ui/compare_dialog.h"
#include "ui/file_fields.h"
#include "ui/format_combo_box.h"
#include "ui/help_viewer.h"
#include "ui/program_icon.h"
#include "ui/window_texts.h"
#include "ui/wrapped_caption.h"

namespace korvanel::ui {
namespace {

// The explanation above the pin table; the run of blanks wraps the label so
// that the example starts on its second line.
const QString kPinChangeExplanation =
    QStringLiteral("＜ネットピン番変更＞") + QString(115, QLatin1Char(' ')) +
    QStringLiteral("１番ピンをＡＮＯＤＥに変更する場合  リファレンスに”Ｄ”  変更前に”１”  "
                   "変更後にＡＮＯＤＥを入れてください。");

constexpr int kClientWidthTwips = 8910;
constexpr int kClientHeightTwips = 5250;

// Pin table: three rows of ten boxes; column k is one row of the change table.
constexpr int kPinTableColumns = 10;
constexpr int kPinTableLeft = 1560;
constexpr int kPinTableColumnStep = 720;
constexpr std::array<int, 3> kPinTableRowTops = {3600, 3840, 4080};
constexpr int kPinBoxWidth = 735;
constexpr int kPinBoxHeight = 270;

QLabel* makeLabel(QWidget* client, const char* name, const QString& text, QRect geometry,
                  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter) {
  auto* label = new QLabel(text, client);
  label->setObjectName(QLatin1String(name));
  label->setGeometry(geometry);
  label->setAlignment(alignment);
  return label;
}

QLineEdit* makeTextBox(QWidget* client, const QString& name, QRect geometry) {
  auto* box = new QLineEdit(client);
  box->setObjectName(name);
  box->setGeometry(geometry);
  return box;
}

// A label of several lines, wrapped at its runs of blanks.
QLabel* makeCaptionLabel(QWidget* client, const char* name, const QString& text, QRect geometry) {
  auto* label = new CaptionLabel(text, client);
  label->setObjectName(QLatin1String(name));
  label->setGeometry(geometry);
  return label;
}

QPushButton* makeButton(QWidget* client, const char* name, const QString& caption, QRect geometry) {
  auto* button = new QPushButton(caption, client);
  button->setObjectName(QLatin1String(name));
  button->setGeometry(geometry);
  return button;
}

// A tall button whose caption may take two lines.
QPushButton* makeCommandButton(QWidget* client, const char* name, const QString& caption, QRect geometry) {
  auto* button = new CaptionButton(caption, client);
  button->setObjectName(QLatin1String(name));
  button->setGeometry(geometry);
  return button;
}

// A bare check box; the label to its right names it.
QCheckBox* makeCheckBox(QWidget* client, const char* name, QRect geometry) {
  auto* box = new QCheckBox(client);
  box->setObjectName(QLatin1String(name));
  box->setGeometry(geometry);
  return box;
}

QAction* addMenuEntry(QMenu* menu, const char* name, const QString& text) {
  QAction* action = menu->addAction(text);
  action->setObjectName(QLatin1String(name));
  return action;
}

}  // namespace

MainWindow::MainWindow(WindowHost& host, Desktop& desktop, QWidget* parent)
    : QMainWindow(parent), host_(host), desktop_(desktop) {
  setObjectName(QStringLiteral("main"));
  host_.setOwner(this);
  setFont(japaneseFont(9));
  setWindowIcon(programIcon());

  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("client"));
  client->setFixedSize(twipsToPixels(kClientWidthTwips), twipsToPixels(kClientHeightTwips));
  setCentralWidget(client);
  makeControls(client);
  makeMenus();
  connectHandlers();
  loadDefaults();
  makeFileFields({Text1, Text2, Text3, Text4}, startDirectory_);
  setFixedSize(sizeHint());
}

void MainWindow::makeControls(QWidget* client) {
  Label3 = makeLabel(client, "Label3", QString(), twipsRect(120, 0, 8655, 375));
  Label3->setFont(japaneseFont(14.25, true));

  Label1 = makeLabel(client, "Label1", QStringLiteral("入力ファイル"), twipsRect(120, 480, 1335, 300));
  Text1 = makeTextBox(client, QStringLiteral("Text1"), twipsRect(1560, 480, 6615, 300));
  Command1 = makeButton(client, "Command1", QStringLiteral("参照"), twipsRect(8160, 480, 615, 300));

  Label6 = makeLabel(client, "Label6", QStringLiteral("ネット種別"), twipsRect(120, 840, 1335, 300));
  Combo1 = new FormatComboBox(builtinFormats().inputNames(), client);
  Combo1->setObjectName(QStringLiteral("Combo1"));
  Combo1->setGeometry(twipsRect(1560, 840, 3015, 300));
  detectButton = makeButton(client, "detectButton", QStringLiteral("判別"), twipsRect(4680, 840, 615, 300));

  Label8 = makeLabel(client, "Label8", QStringLiteral("部品ファイル"), twipsRect(120, 1200, 1335, 300));
  Text3 = makeTextBox(client, QStringLiteral("Text3"), twipsRect(1560, 1200, 6615, 300));
  Command6 = makeButton(client, "Command6", QStringLiteral("参照"), twipsRect(8160, 1200, 615, 300));

  Label2 = makeLabel(client, "Label2", QStringLiteral("出力ファイル"), twipsRect(120, 1560, 1335, 300));
  Text2 = makeTextBox(client, QStringLiteral("Text2"), twipsRect(1560, 1560, 6615, 300));
  Command2 = makeButton(client, "Command2", QStringLiteral("参照"), twipsRect(8160, 1560, 615, 300));

  Label7 = makeLabel(client, "Label7", QStringLiteral("ネット種別"), twipsRect(120, 1920, 1335, 300));
  Combo2 = new FormatComboBox(builtinFormats().outputNames(), client);
  Combo2->setObjectName(QStringLiteral("Combo2"));
  Combo2->setGeometry(twipsRect(1560, 1920, 3015, 300));

  Label13 = makeCaptionLabel(client, "Label13", QStringLiteral("　部品ファイル　　　出力　　(CSV)"),
                             twipsRect(120, 2280, 1335, 660));
  Check4 = makeCheckBox(client, "Check4", twipsRect(1560, 2280, 255, 255));
  Label15 = makeLabel(client, "Label15", QStringLiteral("部品リスト(CSV)"), twipsRect(1800, 2325, 1695, 255));
  Text4 = makeTextBox(client, QStringLiteral("Text4"), twipsRect(1560, 2640, 6615, 300));
  Command8 = makeButton(client, "Command8", QStringLiteral("参照"), twipsRect(8160, 2640, 615, 300));

  Label9 = makeCaptionLabel(client, "Label9", kPinChangeExplanation, twipsRect(120, 3120, 8655, 495));
  // A size smaller, so that the example takes one line of its own as it does
  // in the proportional Gothic the layout was made for.
  Label9->setFont(japaneseFont(8));
  Label10 = makeLabel(client, "Label10", QStringLiteral("リファレンス"), twipsRect(120, 3600, 1335, 255));
  Label11 = makeLabel(client, "Label11", QStringLiteral("ピン番変更前"), twipsRect(120, 3840, 1335, 255));
  Label12 = makeLabel(client, "Label12", QStringLiteral("ピン番変更後"), twipsRect(120, 4080, 1335, 255));
  for (int row = 0; row < static_cast<int>(kPinTableRowTops.size()); ++row) {
    for (int column = 0; column < kPinTableColumns; ++column) {
      const int index = row * kPinTableColumns + column;
      Trefp[index] = makeTextBox(client, QStringLiteral("Trefp%1").arg(index),
                                 twipsRect(kPinTableLeft + kPinTableColumnStep * column, kPinTableRowTops[row],
                                           kPinBoxWidth, kPinBoxHeight));
    }
  }

  Check1 = makeCheckBox(client, "Check1", twipsRect(120, 4440, 255, 255));
  Label4 = makeLabel(client, "Label4", QStringLiteral("ソート処理"), twipsRect(360, 4485, 1155, 255));
  Command4 = makeCommandButton(client, "Command4", QStringLiteral("変換開始"), twipsRect(1560, 4560, 1095, 495));
  Command7 = makeCommandButton(client, "Command7", QStringLiteral("結果メモ帳表示"), twipsRect(2760, 4560, 1095, 495));
  Command3 = makeCommandButton(client, "Command3", QStringLiteral("エラー情報表示"), twipsRect(3960, 4560, 1095, 495));
  Command5 = makeCommandButton(client, "Command5", QStringLiteral("終了"), twipsRect(5160, 4560, 1095, 495));
  Check2 = makeCheckBox(client, "Check2", twipsRect(120, 4680, 255, 255));
  Label5 = makeLabel(client, "Label5", QStringLiteral("重複チェック"), twipsRect(360, 4710, 1155, 255));
  Check3 = makeCheckBox(client, "Check3", twipsRect(120, 4920, 255, 255));
  Label14 = makeLabel(client, "Label14", QStringLiteral("行き先不明"), twipsRect(360, 4950, 1155, 255));

  // Tab order: down the rows, then the pin table, the options and the buttons.
  QWidget* previous = Text1;
  for (QWidget* next : std::initializer_list<QWidget*>{Command1, Combo1, detectButton, Text3, Command6, Text2,
                                                       Command2, Combo2, Check4, Text4, Command8}) {
    setTabOrder(previous, next);
    previous = next;
  }
  for (QLineEdit* box : Trefp) {
    setTabOrder(previous, box);
    previous = box;
  }
  for (QWidget* next :
       std::initializer_list<QWidget*>{Check1, Check2, Check3, Command4, Command7, Command3, Command5}) {
    setTabOrder(previous, next);
    previous = next;
  }
}

void MainWindow::makeMenus() {
  QMenu* mnufile = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
  mnufile->setObjectName(QStringLiteral("mnufile"));
  mnufilein = addMenuEntry(mnufile, "mnufilein", QStringLiteral("入力ファイル"));
  mnufileout = addMenuEntry(mnufile, "mnufileout", QStringLiteral("出力ファイル"));
  mnumemo = addMenuEntry(mnufile, "mnumemo", QStringLiteral("結果メモ帳"));
  mnucompare = addMenuEntry(mnufile, "mnucompare", QStringLiteral("ネットリスト比較…"));
  mnufileend = addMenuEntry(mnufile, "mnufileend", QStringLiteral("終了"));

  QMenu* run = menuBar()->addMenu(QStringLiteral("実行(&R)"));
  run->setObjectName(QStringLiteral("run"));
  // Never disabled: it starts a conversion also while Command4 is disabled.
  runrun = addMenuEntry(run, "runrun", QStringLiteral("開始"));
  // Off at every start, like the window's other options are on.
  noCapacityLimits = addMenuEntry(run, "noCapacityLimits", QStringLiteral("容量制限なし（大規模基板）"));
  noCapacityLimits->setCheckable(true);

  QMenu* mnuhelp = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
  mnuhelp->setObjectName(QStringLiteral("mnuhelp"));
  mnuhelpmokuji = addMenuEntry(mnuhelp, "mnuhelpmokuji", QStringLiteral("目次"));
  mnuhelpv = addMenuEntry(mnuhelp, "mnuhelpv", QStringLiteral("バージョン情報"));
}

void MainWindow::connectHandlers() {
  connect(Command1, &QPushButton::clicked, this, &MainWindow::browseInputFile);
  connect(mnufilein, &QAction::triggered, this, &MainWindow::browseInputFile);
  connect(Command2, &QPushButton::clicked, this, &MainWindow::browseOutputFile);
  connect(mnufileout, &QAction::triggered, this, &MainWindow::browseOutputFile);
  connect(Command6, &QPushButton::clicked, this, &MainWindow::browseInputPartsFile);
  connect(Command8, &QPushButton::clicked, this, &MainWindow::browsePartsCsvFile);

  connect(Command4, &QPushButton::clicked, this, &MainWindow::startConversion);
  connect(runrun, &QAction::triggered, this, &MainWindow::startConversion);
  connect(Command3, &QPushButton::clicked, this, &MainWindow::showErrorLog);
  connect(Command7, &QPushButton::clicked, this, &MainWindow::showConvertedFile);
  connect(mnumemo, &QAction::triggered, this, &MainWindow::showConvertedFile);
  connect(Command5, &QPushButton::clicked, this, &MainWindow::endProgram);
  connect(mnufileend, &QAction::triggered, this, &MainWindow::endProgram);
  connect(mnuhelpmokuji, &QAction::triggered, this, &MainWindow::openHelpContents);
  connect(mnuhelpv, &QAction::triggered, this, &MainWindow::showAboutBox);
  connect(detectButton, &QPushButton::clicked, this, &MainWindow::detectInputFormat);
  connect(mnucompare, &QAction::triggered, this, &MainWindow::openComparison);

  // Every change of the output path, typed or browsed.
  connect(Text2, &QLineEdit::textChanged, this, &MainWindow::outputPathChanged);
  // Only an entry picked from the list; typing a name is no pick.
  connect(Combo1, &QComboBox::activated, this, &MainWindow::inputFormatPicked);
  connect(Combo2, &QComboBox::activated, this, &MainWindow::outputFormatPicked);
  // Only the user's click (or Space), not a change made by the program.
  connect(Check4, &QCheckBox::clicked, this, &MainWindow::partsCsvClicked);
}

void MainWindow::loadDefaults() {
  startDirectory_ = QDir::currentPath();
  setWindowTitle(kApplicationTitle);
  Label3->setText(titleLine(kVersionMajor, kVersionMinor));
  Check1->setChecked(true);
  Check2->setChecked(true);
  Check3->setChecked(true);
  Check4->setChecked(false);
  Command4->setText(QStringLiteral("変換実行"));
  Command4->setEnabled(false);
  Command6->setText(QStringLiteral("参照"));
  Command6->setEnabled(false);
  Command8->setText(QStringLiteral("参照"));
  Command8->setEnabled(false);
  Text3->setEnabled(false);
  Text4->setEnabled(false);
  // The two format lists were filled when the combo boxes were made.
}

AboutBox* MainWindow::aboutBox() const { return aboutBox_.data(); }

HelpViewer* MainWindow::helpViewer() const { return helpViewer_.data(); }

CompareDialog* MainWindow::compareDialog() const { return compareDialog_.data(); }

ConversionFields MainWindow::collectFields() const {
  ConversionFields fields;
  fields.inputPath = toText(Text1->text());
  fields.outputPath = toText(Text2->text());
  fields.inputFormat = toText(Combo1->currentText());
  fields.outputFormat = toText(Combo2->currentText());
  fields.inputPartsFile = toText(Text3->text());
  fields.csvOrOutputParts = toText(Text4->text());
  fields.sortNets = Check1->isChecked();
  fields.duplicateChecks = Check2->isChecked();
  fields.singlePinCheck = Check3->isChecked();
  fields.partsCsv = Check4->isChecked();
  fields.liftCapacityLimits = noCapacityLimits->isChecked();
  for (std::size_t index = 0; index < Trefp.size(); ++index) {
    fields.pinChangeBoxes[index] = toText(Trefp[index]->text());
  }
  return fields;
}

void MainWindow::browseInto(QLineEdit* box, const QString& filter) {
  if (const std::optional<QString> chosen = desktop_.chooseFileToOpen(this, filter, dialogFileName_)) {
    dialogFileName_ = *chosen;
  }
  box->setText(dialogFileName_);
}

void MainWindow::browseInputFile() { browseInto(Text1, kNetFileFilter); }
void MainWindow::browseOutputFile() { browseInto(Text2, kNetFileFilter); }
void MainWindow::browseInputPartsFile() { browseInto(Text3, kInputPartsFileFilter); }
void MainWindow::browsePartsCsvFile() { browseInto(Text4, kPartsCsvFilter); }

void MainWindow::startConversion() {
  RunSettings settings;
  settings.workDir = toPath(toText(startDirectory_));
  settings.errlogDir = settings.workDir;
  try {
    lastRunResult_ = runConversion(collectFields(), host_, settings, builtinFormats());
  } catch (const std::exception& error) {
    lastRunResult_ = RunResult{RunOutcome::Failed, error.what()};
  }
  // A failure (a file that cannot be read or written, a byte the codec
  // rejects) ends the run like the driver's messages do: the progress window
  // goes, and a message box names the file and the cause.
  if (lastRunResult_.outcome == RunOutcome::Failed) {
    host_.hideProgress();
    host_.showMessage(u"変換できませんでした。\n" + fromUtf8(lastRunResult_.failure));
  }
}

// The error log of the conversions: errlog.txt in the start directory.
void MainWindow::showErrorLog() {
  desktop_.openInTextViewer(QDir(startDirectory_).filePath(QStringLiteral("errlog.txt")));
}

void MainWindow::showConvertedFile() {
  if (Text2->text().isEmpty()) {
    host_.showMessage(Text(kMessageNoOutputFile));
    return;
  }
  desktop_.openInTextViewer(Text2->text());
}

void MainWindow::endProgram() {
  QApplication::closeAllWindows();
  QCoreApplication::quit();
}

void MainWindow::openHelpContents() {
  if (helpViewer_ == nullptr) helpViewer_ = new HelpViewer(this);
  helpViewer_->showContents(helpFileCandidates(startDirectory_, QCoreApplication::applicationDirPath()));
  helpViewer_->show();
  helpViewer_->raise();
  helpViewer_->activateWindow();
}

void MainWindow::showAboutBox() {
  if (aboutBox_ == nullptr) aboutBox_ = new AboutBox(this, host_, desktop_);
  aboutBox_->show();
  aboutBox_->raise();
  aboutBox_->activateWindow();
}

// The input list gets the recognised name as if the user had picked it.
void MainWindow::detectInputFormat() {
  if (fillDetectedFormat(host_, Text1->text(), Combo1)) inputFormatPicked();
}

void MainWindow::openComparison() {
  if (compareDialog_ == nullptr) compareDialog_ = new CompareDialog(host_, desktop_, this);
  compareDialog_->show();
  compareDialog_->raise();
  compareDialog_->activateWindow();
}

void MainWindow::outputPathChanged() { Command4->setEnabled(!Text2->text().isEmpty()); }

void MainWindow::inputFormatPicked() {
  const bool twoFileInput = Combo1->currentText() == kTwoFileFormat;
  Text3->setEnabled(twoFileInput);
  Command6->setEnabled(twoFileInput);
}

void MainWindow::outputFormatPicked() {
  const bool twoFileOutput = Combo2->currentText() == kTwoFileFormat;
  Text4->setEnabled(twoFileOutput);
  Command8->setEnabled(twoFileOutput);
}

void MainWindow::partsCsvClicked() {
  const bool partsListOn = Check4->isChecked();
  Text4->setEnabled(partsListOn);
  Command8->setEnabled(partsListOn);
  if (Text4->text().isEmpty()) host_.showMessage(Text(kMessageNoCsvFile));
}

}  // namespace korvanel::ui
