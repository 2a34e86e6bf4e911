// What the windows ask of the desktop around them: the Open dialog, a text
// viewer for the error log and the converted file, and a system information
// viewer. The program uses the platform's; the tests script their own.
#pragma once

#include <optional>

#include <QString>
#include <QStringList>

class QWidget;

namespace korvanel::ui {

class Desktop {
 public:
  virtual ~Desktop() = default;

  // The Open dialog with `filter` ("description|patterns|description|patterns",
  // patterns separated by ";"), starting at `startName`: a file name, or a
  // folder to open in. The chosen file name, or nothing when the user
  // cancelled.
  virtual std::optional<QString> chooseFileToOpen(QWidget* owner, const QString& filter,
                                                  const QString& startName) = 0;

  // Shows a text file in the platform's text viewer; a failure to start it is
  // ignored.
  virtual void openInTextViewer(const QString& path) = 0;

  // Starts a system information viewer; false when none could be started.
  virtual bool startSystemInformation() = 0;
};

class PlatformDesktop : public Desktop {
 public:
  std::optional<QString> chooseFileToOpen(QWidget* owner, const QString& filter, const QString& startName) override;
  void openInTextViewer(const QString& path) override;
  bool startSystemInformation() override;
};

// The dialog's filter as Qt name filters: "ネットファイル (*.NET) |*.NET;*.WRL"
// becomes "ネットファイル (*.NET) (*.NET *.WRL)". The pattern "*.*" means every
// file, also those without an extension, so it becomes "*".
QStringList nameFiltersOf(const QString& filter);

// The system information viewers looked for, in order of preference.
QStringList systemInformationViewers();

// The first of `programs` found in `searchPaths` (the PATH when empty), or
// the empty text.
QString findFirstProgram(const QStringList& programs, const QStringList& searchPaths = {});

}  // namespace korvanel::ui
