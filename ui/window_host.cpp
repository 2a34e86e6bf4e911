#include "ui/window_host.h"

#include <QCoreApplication>
#include <QMessageBox>

#include "ui/window_texts.h"

namespace korvanel::ui {

void WindowHost::showMessage(const Text& message) {
  QMessageBox box(QMessageBox::NoIcon, kApplicationTitle, toQString(message), QMessageBox::Ok, owner_);
  // Above the progress window, which stays on top of everything else.
  box.setWindowFlag(Qt::WindowStaysOnTopHint);
  box.setFont(japaneseFont(9));
  box.exec();
}

void WindowHost::showProgress() {
  if (progress_ == nullptr) {
    progress_ = new ProgressWindow(owner_);
  } else {
    // Still open from the previous run: it starts again as if new, so a
    // finished run's OK cannot stay enabled through the next one.
    progress_->disableOk();
  }
  progress_->show();
  progress_->raise();
  paintProgressNow();
}

void WindowHost::setProgressValue(int percent) {
  if (progress_ == nullptr) return;
  progress_->setValue(percent);
  paintProgressNow();
}

void WindowHost::setProgressStatus(const Text& status) {
  if (progress_ == nullptr) return;
  progress_->setStatus(toQString(status));
  paintProgressNow();
}

void WindowHost::enableProgressOk() {
  if (progress_ == nullptr) return;
  progress_->enableOk();
  paintProgressNow();
}

void WindowHost::hideProgress() {
  if (progress_ != nullptr) progress_->hide();
}

void WindowHost::paintProgressNow() {
  if (progress_ == nullptr || !progress_->isVisible()) return;
  progress_->repaint();
  // Lets the window system map and expose the window; clicks and keys stay
  // queued, so nothing can start a second run meanwhile.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace korvanel::ui
