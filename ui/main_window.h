// The main window: the input and output files and their format names, the
// options, the pin-number change table, and the commands that start a
// conversion, show the error log and the converted file, open the help and
// the About box.
#pragma once

#include <array>

#include <QMainWindow>
#include <QPointer>
#include <QString>

#include "core/driver.h"
#include "ui/desktop.h"
#include "ui/window_host.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace korvanel::ui {

class AboutBox;
class CompareDialog;
class FormatComboBox;
class HelpViewer;

// The filters of the Open dialog ("description|patterns|...").
inline const QString kNetFileFilter = QStringLiteral(
    "ネットファイル (*.NET) |*.NET;*.WRL;*.CCF;*.ALT;*.SMP;*.PRT;*.NPL|全てのファイル (*.*) |*.*");
inline const QString kInputPartsFileFilter =
    QStringLiteral("ネットファイル (*.NET) |*.NET;*.WRL;*.CCF;*.ALT;*.SMP;*.PRT");
inline const QString kPartsCsvFilter = QStringLiteral("部品ファイル (*.CSV) |*.CSV;*.PRT");

// The format name whose parts file is a second input or output file.
inline const QString kTwoFileFormat = QStringLiteral("MM-COLMO_NEO & MM2");

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // Loads the window with its defaults. The current directory at this moment
  // is the start directory: the conversions make their files there, and the
  // help is looked for there first.
  MainWindow(WindowHost& host, Desktop& desktop, QWidget* parent = nullptr);

  // The entries of a conversion as the controls hold them now (disabled
  // boxes included).
  ConversionFields collectFields() const;

  const QString& startDirectory() const { return startDirectory_; }
  const RunResult& lastRunResult() const { return lastRunResult_; }
  // The About box and the help viewer while they are open.
  AboutBox* aboutBox() const;
  HelpViewer* helpViewer() const;
  CompareDialog* compareDialog() const;

  // The handlers, by what they do; each names the controls that call it.
  void browseInputFile();        // Command1, "入力ファイル"
  void browseOutputFile();       // Command2, "出力ファイル"
  void browseInputPartsFile();   // Command6
  void browsePartsCsvFile();     // Command8
  void startConversion();        // Command4, "開始"
  void showErrorLog();           // Command3
  void showConvertedFile();      // Command7, "結果メモ帳"
  void endProgram();             // Command5, "終了"
  void openHelpContents();       // "目次"
  void showAboutBox();           // "バージョン情報"
  void detectInputFormat();      // detectButton, "判別"
  void openComparison();         // "ネットリスト比較…"

  // The controls.
  QLabel* Label3 = nullptr;
  QLabel* Label1 = nullptr;
  QLineEdit* Text1 = nullptr;
  QPushButton* Command1 = nullptr;
  QLabel* Label6 = nullptr;
  FormatComboBox* Combo1 = nullptr;
  QPushButton* detectButton = nullptr;
  QLabel* Label8 = nullptr;
  QLineEdit* Text3 = nullptr;
  QPushButton* Command6 = nullptr;
  QLabel* Label2 = nullptr;
  QLineEdit* Text2 = nullptr;
  QPushButton* Command2 = nullptr;
  QLabel* Label7 = nullptr;
  FormatComboBox* Combo2 = nullptr;
  QLabel* Label13 = nullptr;
  QCheckBox* Check4 = nullptr;
  QLabel* Label15 = nullptr;
  QLineEdit* Text4 = nullptr;
  QPushButton* Command8 = nullptr;
  QLabel* Label9 = nullptr;
  QLabel* Label10 = nullptr;
  QLabel* Label11 = nullptr;
  QLabel* Label12 = nullptr;
  std::array<QLineEdit*, 30> Trefp{};
  QCheckBox* Check1 = nullptr;
  QLabel* Label4 = nullptr;
  QPushButton* Command4 = nullptr;
  QPushButton* Command7 = nullptr;
  QPushButton* Command3 = nullptr;
  QPushButton* Command5 = nullptr;
  QCheckBox* Check2 = nullptr;
  QLabel* Label5 = nullptr;
  QCheckBox* Check3 = nullptr;
  QLabel* Label14 = nullptr;

  // The menu entries.
  QAction* mnufilein = nullptr;
  QAction* mnufileout = nullptr;
  QAction* mnumemo = nullptr;
  QAction* mnucompare = nullptr;
  QAction* mnufileend = nullptr;
  QAction* runrun = nullptr;
  // 容量制限なし: lifts the fixed-table bounds for large boards.
  QAction* noCapacityLimits = nullptr;
  QAction* mnuhelpmokuji = nullptr;
  QAction* mnuhelpv = nullptr;

 private:
  void makeControls(QWidget* client);
  void makeMenus();
  void connectHandlers();
  void loadDefaults();

  // The shared Open dialog: it starts at the name last chosen through any
  // browse button, and that name goes into `box` also when the user cancels.
  void browseInto(QLineEdit* box, const QString& filter);

  void outputPathChanged();   // Text2
  void inputFormatPicked();   // Combo1
  void outputFormatPicked();  // Combo2
  void partsCsvClicked();     // Check4

  WindowHost& host_;
  Desktop& desktop_;
  QString startDirectory_;
  QString dialogFileName_;
  RunResult lastRunResult_;
  QPointer<AboutBox> aboutBox_;
  QPointer<HelpViewer> helpViewer_;
  QPointer<CompareDialog> compareDialog_;
};

}  // namespace korvanel::ui
