#include "ui/compare_dialog.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <exception>

#include "core/format_detection.h"
#include "formats/builtin_formats.h"
#include "ui/format_combo_box.h"
#include "ui/main_window.h"
#include "ui/window_texts.h"

namespace korvanel::ui {
namespace {

const QString kMessageNoFileToCompare = QStringLiteral("比較するファイル名を指定してください。");
const QString kMessageNoFormatToCompare = QStringLiteral("比較するファイルのネット種別を指定してください。");
const QString kMessageCannotWriteFile = QStringLiteral("ファイルに書き込めません。");
const QString kReportFilter = QStringLiteral("テキストファイル (*.txt)");

QPushButton* makeButton(const QString& name, const QString& caption) {
  auto* button = new QPushButton(caption);
  button->setObjectName(name);
  return button;
}

QLineEdit* makeTextBox(const QString& name) {
  auto* box = new QLineEdit;
  box->setObjectName(name);
  return box;
}

std::optional<QString> platformSaveDialog(QWidget* owner, const QString& startName) {
  const QString chosen = QFileDialog::getSaveFileName(owner, kApplicationTitle, startName, kReportFilter);
  if (chosen.isEmpty()) return std::nullopt;
  return chosen;
}

}  // namespace

bool fillDetectedFormat(Host& host, const QString& file, FormatComboBox* combo) {
  if (file.isEmpty()) {
    host.showMessage(Text(kMessageNoInputFile));
    return false;
  }
  std::vector<DetectedFormat> best;
  try {
    const ProbeInput input = ProbeInput::ofFile(toPath(toText(file)), Encoding::Cp932);
    best = bestFormats(detectFormats(builtinFormats(), input));
    if (best.empty() && input.headError()) {
      host.showMessage(toText(kMessageCannotReadFile + QLatin1Char('\n') + QString::fromStdString(*input.headError())));
      return false;
    }
  } catch (const std::exception& error) {
    host.showMessage(toText(kMessageCannotReadFile + QLatin1Char('\n') + QString::fromUtf8(error.what())));
    return false;
  }
  if (best.empty()) {
    host.showMessage(toText(kMessageFormatNotRecognised));
    return false;
  }
  if (best.size() > 1) {
    QStringList names;
    for (const DetectedFormat& format : best) names.append(toQString(joinedNames(format)));
    host.showMessage(toText(kMessageFormatsFitEqually + names.join(QStringLiteral("、"))));
    return false;
  }
  combo->setCurrentIndex(combo->findText(toQString(best.front().names.front())));
  return true;
}

CompareDialog::CompareDialog(Host& host, Desktop& desktop, QWidget* parent)
    : QDialog(parent), chooseFileToSave(platformSaveDialog), host_(host), desktop_(desktop) {
  setObjectName(QStringLiteral("compare"));
  setWindowTitle(QStringLiteral("ネットリスト比較"));
  setFont(japaneseFont(9));

  auto* grid = new QGridLayout;
  sideA = makeSide(QStringLiteral("ファイルA"), 0, grid);
  sideB = makeSide(QStringLiteral("ファイルB"), 3, grid);

  ignoreCase = new QCheckBox(QStringLiteral("大文字と小文字を区別しない"));
  ignoreCase->setObjectName(QStringLiteral("ignoreCase"));
  compareButton = makeButton(QStringLiteral("compareButton"), QStringLiteral("比較"));
  grid->addWidget(ignoreCase, 6, 1);
  grid->addWidget(compareButton, 6, 2);

  report = new QPlainTextEdit;
  report->setObjectName(QStringLiteral("report"));
  report->setReadOnly(true);
  report->setLineWrapMode(QPlainTextEdit::NoWrap);
  report->setFont(QFont(QStringLiteral("monospace"), 9));
  report->setMinimumSize(640, 320);

  saveButton = makeButton(QStringLiteral("saveButton"), QStringLiteral("保存…"));
  saveButton->setEnabled(false);
  closeButton = makeButton(QStringLiteral("closeButton"), QStringLiteral("閉じる"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(saveButton);
  buttons->addWidget(closeButton);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(report);
  layout->addLayout(buttons);

  connect(compareButton, &QPushButton::clicked, this, &CompareDialog::compare);
  connect(saveButton, &QPushButton::clicked, this, &CompareDialog::saveReport);
  connect(closeButton, &QPushButton::clicked, this, &QDialog::close);
}

CompareDialog::Side CompareDialog::makeSide(const QString& label, int row, QGridLayout* grid) {
  const QString prefix = row == 0 ? QStringLiteral("A") : QStringLiteral("B");
  Side side;
  side.file = makeTextBox(QStringLiteral("file") + prefix);
  side.browse = makeButton(QStringLiteral("browse") + prefix, QStringLiteral("参照"));
  side.format = new FormatComboBox(builtinFormats().inputNames(), nullptr);
  side.format->setObjectName(QStringLiteral("format") + prefix);
  side.detect = makeButton(QStringLiteral("detect") + prefix, QStringLiteral("判別"));
  side.partsFile = makeTextBox(QStringLiteral("parts") + prefix);
  side.partsFile->setEnabled(false);
  side.browseParts = makeButton(QStringLiteral("browseParts") + prefix, QStringLiteral("参照"));
  side.browseParts->setEnabled(false);

  grid->addWidget(new QLabel(label), row, 0);
  grid->addWidget(side.file, row, 1);
  grid->addWidget(side.browse, row, 2);
  grid->addWidget(new QLabel(QStringLiteral("ネット種別")), row + 1, 0);
  grid->addWidget(side.format, row + 1, 1);
  grid->addWidget(side.detect, row + 1, 2);
  grid->addWidget(new QLabel(QStringLiteral("部品ファイル")), row + 2, 0);
  grid->addWidget(side.partsFile, row + 2, 1);
  grid->addWidget(side.browseParts, row + 2, 2);

  connect(side.browse, &QPushButton::clicked, this, [this, side] { browseInto(side.file); });
  connect(side.browseParts, &QPushButton::clicked, this, [this, side] { browseInto(side.partsFile); });
  connect(side.format, &QComboBox::activated, this, [this, side] { formatPicked(side); });
  connect(side.detect, &QPushButton::clicked, this, [this, side] {
    if (fillDetectedFormat(host_, side.file->text(), side.format)) formatPicked(side);
  });
  return side;
}

void CompareDialog::browseInto(QLineEdit* box) {
  if (const std::optional<QString> chosen = desktop_.chooseFileToOpen(this, kNetFileFilter, dialogFileName_)) {
    dialogFileName_ = *chosen;
    box->setText(*chosen);
  }
}

// The parts file is asked for only with the two-file format.
void CompareDialog::formatPicked(const Side& side) {
  const bool twoFiles = side.format->currentText() == kTwoFileFormat;
  side.partsFile->setEnabled(twoFiles);
  side.browseParts->setEnabled(twoFiles);
}

bool CompareDialog::read(const Side& side, Netlist& netlist) {
  if (side.file->text().isEmpty()) {
    host_.showMessage(toText(kMessageNoFileToCompare));
    return false;
  }
  if (side.format->currentText().isEmpty()) {
    host_.showMessage(toText(kMessageNoFormatToCompare));
    return false;
  }
  const Text partsFile = side.partsFile->isEnabled() ? toText(side.partsFile->text()) : Text();
  const RunResult result =
      readNetlist(toText(side.format->currentText()), ReaderArguments{toPath(toText(side.file->text())), partsFile},
                  Encoding::Cp932, host_, builtinFormats(), netlist);
  if (result.outcome == RunOutcome::Failed) {
    host_.showMessage(
        toText(kMessageCannotReadFile + QLatin1Char('\n') + QString::fromUtf8(result.failure.c_str())));
  }
  return result.outcome == RunOutcome::Finished;
}

void CompareDialog::compare() {
  Netlist a;
  Netlist b;
  if (!read(sideA, a) || !read(sideB, b)) return;
  const NetlistComparison comparison = compareNetlists(a, b, ComparisonOptions{ignoreCase->isChecked()});
  const auto sideLine = [](const QString& letter, const Side& side) {
    return letter + QStringLiteral(": ") + side.file->text() + QStringLiteral(" (") + side.format->currentText() +
           QStringLiteral(")\n");
  };
  report->setPlainText(sideLine(QStringLiteral("A"), sideA) + sideLine(QStringLiteral("B"), sideB) + QLatin1Char('\n') +
                       toQString(comparisonReport(comparison)));
  saveButton->setEnabled(true);
}

void CompareDialog::saveReport() {
  const std::optional<QString> chosen = chooseFileToSave(this, dialogFileName_);
  if (!chosen) return;
  // Like the error log: cp932, every line ended with CR LF.
  QString content = report->toPlainText();
  if (content.endsWith(QLatin1Char('\n'))) content.chop(1);
  content.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  try {
    writeWholeFile(toPath(toText(*chosen)), toText(content), Encoding::Cp932);
  } catch (const std::exception& error) {
    host_.showMessage(toText(kMessageCannotWriteFile + QLatin1Char('\n') + QString::fromUtf8(error.what())));
  }
}

}  // namespace korvanel::ui
