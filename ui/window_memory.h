// What the program remembers between runs in its settings (QSettings): the
// main window's position, and the folder of the last file picked in a file
// dialog, where the dialogs then open. The fields and options are not
// remembered: they start empty and on, as the window loads them.
#pragma once

#include <memory>
#include <optional>

#include <QObject>
#include <QSettings>
#include <QString>

#include "ui/desktop.h"

class QWidget;

namespace korvanel::ui {

class WindowMemory : public QObject {
  Q_OBJECT

 public:
  explicit WindowMemory(std::unique_ptr<QSettings> settings);

  // The user's own settings: korvanel/korvanel.conf in the configuration
  // folder (~/.config).
  static std::unique_ptr<QSettings> userSettings();

  // Puts `window` where it was when it last closed (within the screens there
  // are now), and remembers its position each time it closes. False when
  // nothing is remembered yet.
  bool keepPosition(QWidget& window);

  // The folder of the last file picked, while it still exists; else empty.
  QString lastFolder() const;
  void rememberFolderOf(const QString& file);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::unique_ptr<QSettings> settings_;
};

// The desktop's file dialogs, opened in the remembered folder when the window
// has no name to start from; each file picked makes its folder the one
// remembered.
class RememberingDesktop : public Desktop {
 public:
  RememberingDesktop(Desktop& desktop, WindowMemory& memory) : desktop_(desktop), memory_(memory) {}

  std::optional<QString> chooseFileToOpen(QWidget* owner, const QString& filter, const QString& startName) override;
  void openInTextViewer(const QString& path) override { desktop_.openInTextViewer(path); }
  bool startSystemInformation() override { return desktop_.startSystemInformation(); }

 private:
  Desktop& desktop_;
  WindowMemory& memory_;
};

}  // namespace korvanel::ui
