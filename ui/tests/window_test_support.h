// What the window tests share: a desktop whose dialogs answer from a script,
// a host that records every message and progress call while keeping the real
// progress window, and a main window loaded in a scratch start directory.
#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QComboBox>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "ui/desktop.h"
#include "ui/main_window.h"
#include "ui/window_host.h"

namespace korvanel::ui::testing {

class ScriptedDesktop : public Desktop {
 public:
  struct DialogCall {
    QString filter;
    QString startName;
  };

  std::optional<QString> chooseFileToOpen(QWidget* owner, const QString& filter, const QString& startName) override;
  void openInTextViewer(const QString& path) override { viewedFiles.append(path); }
  bool startSystemInformation() override {
    ++systemInformationStarts;
    return systemInformationAvailable;
  }

  // The dialog's answers in order: a file name, or nothing for Cancel.
  std::deque<std::optional<QString>> dialogAnswers;
  std::vector<DialogCall> dialogCalls;
  QStringList viewedFiles;
  bool systemInformationAvailable = false;
  int systemInformationStarts = 0;
};

// The messages are recorded instead of shown; the progress window is the
// real one. Events read "message: ...", "show", "value: 10", "status: ...",
// "ok", "hide".
class InterceptingHost : public WindowHost {
 public:
  void showMessage(const Text& message) override;
  void showProgress() override;
  void setProgressValue(int percent) override;
  void setProgressStatus(const Text& status) override;
  void enableProgressOk() override;
  void hideProgress() override;

  QStringList messages() const;

  QStringList events;
  // For each message: whether the progress window was visible meanwhile.
  std::vector<bool> progressVisibleAtMessage;
};

// A main window loaded with a fresh temporary directory as the current
// directory; the previous current directory comes back afterwards.
class LoadedWindow {
 public:
  LoadedWindow();
  ~LoadedWindow();

  QString path(const QString& name) const { return directory.filePath(name); }
  bool exists(const QString& name) const;
  QByteArray readBytes(const QString& name) const;
  void writeBytes(const QString& name, const QByteArray& bytes) const;

  QString previousDirectory;
  QTemporaryDir directory;
  InterceptingHost host;
  ScriptedDesktop desktop;
  std::unique_ptr<MainWindow> window;
};

// Picks `name` from the drop-down list the way a user does: the list opens,
// the entry is clicked.
bool pickFromList(QComboBox* combo, const QString& name);

// Text typed into a widget key by key, as the user types it.
void typeInto(QWidget* widget, const QString& text);

}  // namespace korvanel::ui::testing
