// The desktop program as the host of a conversion: the driver's messages are
// modal message boxes with an OK button and the application title, and its
// progress is shown in the progress window.
#pragma once

#include <QPointer>
#include <QWidget>

#include "core/host.h"
#include "ui/progress_window.h"

namespace korvanel::ui {

class WindowHost : public Host {
 public:
  // `owner` is the window the message boxes and the progress window belong to.
  explicit WindowHost(QWidget* owner = nullptr) : owner_(owner) {}
  void setOwner(QWidget* owner) { owner_ = owner; }

  void showMessage(const Text& message) override;

  // The run happens on the user-interface thread without returning to the
  // event loop, so every change is painted at once; user input waits until
  // the run is over.
  void showProgress() override;
  void setProgressValue(int percent) override;
  void setProgressStatus(const Text& status) override;
  void enableProgressOk() override;
  void hideProgress() override;

  // The progress window while it exists (until the user closes it).
  ProgressWindow* progressWindow() const { return progress_.data(); }

 private:
  void paintProgressNow();

  QPointer<QWidget> owner_;
  QPointer<ProgressWindow> progress_;
};

}  // namespace korvanel::ui
