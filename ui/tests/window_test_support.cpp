#include "ui/tests/window_test_support.h"

#include <QAbstractItemView>
#include <QDir>
#include <QFile>
#include <QTest>

#include "ui/window_texts.h"

namespace korvanel::ui::testing {

std::optional<QString> ScriptedDesktop::chooseFileToOpen(QWidget*, const QString& filter, const QString& startName) {
  dialogCalls.push_back({filter, startName});
  std::optional<QString> answer;
  if (!dialogAnswers.empty()) {
    answer.swap(dialogAnswers.front());
    dialogAnswers.pop_front();
  }
  return answer;
}

void InterceptingHost::showMessage(const Text& message) {
  events.append(QStringLiteral("message: ") + toQString(message));
  const ProgressWindow* progress = progressWindow();
  progressVisibleAtMessage.push_back(progress != nullptr && progress->isVisible());
}

void InterceptingHost::showProgress() {
  events.append(QStringLiteral("show"));
  WindowHost::showProgress();
}

void InterceptingHost::setProgressValue(int percent) {
  events.append(QStringLiteral("value: %1").arg(percent));
  WindowHost::setProgressValue(percent);
}

void InterceptingHost::setProgressStatus(const Text& status) {
  events.append(QStringLiteral("status: ") + toQString(status));
  WindowHost::setProgressStatus(status);
}

void InterceptingHost::enableProgressOk() {
  events.append(QStringLiteral("ok"));
  WindowHost::enableProgressOk();
}

void InterceptingHost::hideProgress() {
  events.append(QStringLiteral("hide"));
  WindowHost::hideProgress();
}

QStringList InterceptingHost::messages() const {
  QStringList found;
  const QString prefix = QStringLiteral("message: ");
  for (const QString& event : events) {
    if (event.startsWith(prefix)) found.append(event.mid(prefix.size()));
  }
  return found;
}

LoadedWindow::LoadedWindow() : previousDirectory(QDir::currentPath()) {
  QDir::setCurrent(directory.path());
  window = std::make_unique<MainWindow>(host, desktop);
  window->show();
  [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(window.get());
}

LoadedWindow::~LoadedWindow() {
  window.reset();
  QDir::setCurrent(previousDirectory);
}

bool LoadedWindow::exists(const QString& name) const { return QFile::exists(path(name)); }

QByteArray LoadedWindow::readBytes(const QString& name) const {
  QFile file(path(name));
  if (!file.open(QIODevice::ReadOnly)) return QByteArrayLiteral("<missing>");
  return file.readAll();
}

void LoadedWindow::writeBytes(const QString& name, const QByteArray& bytes) const {
  QFile file(path(name));
  if (file.open(QIODevice::WriteOnly)) file.write(bytes);
}

bool pickFromList(QComboBox* combo, const QString& name) {
  const int index = combo->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (index < 0) return false;
  combo->showPopup();
  QAbstractItemView* list = combo->view();
  const QModelIndex entry = list->model()->index(index, combo->modelColumn(), combo->rootModelIndex());
  list->scrollTo(entry);
  const QPoint centre = list->visualRect(entry).center();
  // A press and release on the entry, as a click in the open list.
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
  return combo->currentIndex() == index;
}

void typeInto(QWidget* widget, const QString& text) {
  widget->setFocus();
  QTest::keyClicks(widget, text);
}

}  // namespace korvanel::ui::testing
