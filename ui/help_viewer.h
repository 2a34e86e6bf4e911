// The help: the program's help document korvanel.hlp (HTML), shown at its
// contents in a window of its own.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

class QPushButton;
class QTextBrowser;

namespace korvanel::ui {

inline const QString kHelpFileName = QStringLiteral("korvanel.hlp");
// The anchor of the contents in the help document.
inline const QString kHelpContentsAnchor = QStringLiteral("contents");

// The places the help file is looked for, in order: the start directory,
// the program's own directory (where the build puts it), then the data
// directory of an installed program (share/korvanel beside its bin).
QStringList helpFileCandidates(const QString& startDirectory, const QString& programDirectory);

// The first candidate that exists, or the empty text.
QString findHelpFile(const QStringList& candidates);

class HelpViewer : public QWidget {
  Q_OBJECT

 public:
  explicit HelpViewer(QWidget* owner);

  // Shows the first help file of `candidates` at its contents, or, when none
  // exists, says so and where it was looked for.
  void showContents(const QStringList& candidates);

  QTextBrowser* browser() const { return browser_; }

 private:
  QTextBrowser* browser_ = nullptr;
  QPushButton* contentsButton_ = nullptr;
  QString helpFile_;
};

}  // namespace korvanel::ui
