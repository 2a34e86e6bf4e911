// The dialog that compares two netlists: a file, its format and, for the
// two-file format, its parts file on each side, the report of the
// comparison in a read-only text view, and a button that saves the report.
// Also the recognition of a file's format that the main window's "判別"
// button shares with the dialog.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>

#include "core/compare.h"
#include "core/host.h"
#include "core/text.h"
#include "ui/desktop.h"

class QCheckBox;
class QGridLayout;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace korvanel::ui {

class FormatComboBox;

inline const QString kMessageFormatNotRecognised = QStringLiteral("ネットフォーマットを判別できませんでした。");
// Followed by the names that fit equally well.
inline const QString kMessageFormatsFitEqually =
    QStringLiteral("ネットフォーマットを一つに決められません。同じ程度に当てはまるフォーマット：");
inline const QString kMessageCannotReadFile = QStringLiteral("ファイルを読めません。");

// Recognises the format of `file` and puts the first name of the module that
// fits best into `combo`; shows a message through `host` when none fits,
// when several fit equally well or when the file cannot be read. True when
// the list was filled.
bool fillDetectedFormat(Host& host, const QString& file, FormatComboBox* combo);

class CompareDialog : public QDialog {
  Q_OBJECT

 public:
  // The Save dialog: a file name, or nothing when the user cancelled.
  using SaveFileChooser = std::function<std::optional<QString>(QWidget* owner, const QString& startName)>;

  CompareDialog(Host& host, Desktop& desktop, QWidget* parent = nullptr);

  // Reads both files, compares them and shows the report.
  void compare();
  // Saves the report shown (cp932, CR LF) where the user chooses.
  void saveReport();

  // The Save dialog; the tests script it.
  SaveFileChooser chooseFileToSave;

  // One side of the comparison.
  struct Side {
    QLineEdit* file = nullptr;
    QPushButton* browse = nullptr;
    FormatComboBox* format = nullptr;
    QPushButton* detect = nullptr;
    QLineEdit* partsFile = nullptr;
    QPushButton* browseParts = nullptr;
  };
  Side sideA;
  Side sideB;
  QCheckBox* ignoreCase = nullptr;
  QPushButton* compareButton = nullptr;
  QPlainTextEdit* report = nullptr;
  QPushButton* saveButton = nullptr;
  QPushButton* closeButton = nullptr;

 private:
  Side makeSide(const QString& label, int row, QGridLayout* grid);
  void browseInto(QLineEdit* box);
  void formatPicked(const Side& side);
  // The netlist of one side; false (the message shown) when it could not be
  // read.
  bool read(const Side& side, Netlist& netlist);

  Host& host_;
  Desktop& desktop_;
  QString dialogFileName_;
};

}  // namespace korvanel::ui
