#include "ui/window_memory.h"

#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QWidget>

namespace korvanel::ui {
namespace {

const QString kPositionKey = QStringLiteral("window/position");
const QString kLastFolderKey = QStringLiteral("dialogs/lastFolder");

}  // namespace

WindowMemory::WindowMemory(std::unique_ptr<QSettings> settings) : settings_(std::move(settings)) {}

std::unique_ptr<QSettings> WindowMemory::userSettings() {
  return std::make_unique<QSettings>(QStringLiteral("korvanel"), QStringLiteral("korvanel"));
}

bool WindowMemory::keepPosition(QWidget& window) {
  window.installEventFilter(this);
  const QVariant remembered = settings_->value(kPositionKey);
  if (!remembered.isValid()) return false;
  const QPoint position = remembered.toPoint();
  // On a screen that is gone now, the window would be out of reach.
  if (QGuiApplication::screenAt(position) == nullptr) return false;
  window.move(position);
  return true;
}

bool WindowMemory::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Close) {
    settings_->setValue(kPositionKey, static_cast<QWidget*>(watched)->pos());
    settings_->sync();
  }
  return false;
}

QString WindowMemory::lastFolder() const {
  const QString folder = settings_->value(kLastFolderKey).toString();
  return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

void WindowMemory::rememberFolderOf(const QString& file) {
  settings_->setValue(kLastFolderKey, QFileInfo(file).absolutePath());
  settings_->sync();
}

std::optional<QString> RememberingDesktop::chooseFileToOpen(QWidget* owner, const QString& filter,
                                                           const QString& startName) {
  const std::optional<QString> chosen =
      desktop_.chooseFileToOpen(owner, filter, startName.isEmpty() ? memory_.lastFolder() : startName);
  if (chosen) memory_.rememberFolderOf(*chosen);
  return chosen;
}

}  // namespace korvanel::ui
