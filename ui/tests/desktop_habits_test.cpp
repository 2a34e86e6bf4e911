// The window's habits as a desktop program: files dropped onto the file
// fields, file names completed as they are typed, the position and the
// dialogs' folder remembered between runs.
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QCompleter>
#include <QDir>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include "ui/tests/window_test_support.h"
#include "ui/window_memory.h"

using namespace korvanel::ui;
using namespace korvanel::ui::testing;

namespace {

// A drag of `urls` entered and dropped on `field`, with copy and move
// offered as a file manager offers them. The drop action taken, or nothing
// when the field refused the drag.
std::optional<Qt::DropAction> dropOnto(QLineEdit* field, const QList<QUrl>& urls) {
  QMimeData data;
  data.setUrls(urls);
  data.setText(urls.isEmpty() ? QString() : urls.first().toString());
  const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
  const QPoint centre = field->rect().center();
  QDragEnterEvent enter(centre, offered, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(field, &enter);
  if (!enter.isAccepted()) return std::nullopt;
  QDropEvent drop(QPointF(centre), offered, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(field, &drop);
  if (!drop.isAccepted()) return std::nullopt;
  return drop.dropAction();
}

std::unique_ptr<QSettings> settingsIn(const QTemporaryDir& folder) {
  return std::make_unique<QSettings>(folder.filePath(QStringLiteral("korvanel.conf")), QSettings::IniFormat);
}

}  // namespace

class DesktopHabitsTest : public QObject {
  Q_OBJECT

 private slots:
  void aDroppedFileFillsTheField_data();
  void aDroppedFileFillsTheField();
  void typedNamesAreCompleted_data();
  void typedNamesAreCompleted();
  void theWindowComesBackWhereItClosed();
  void dialogsOpenInTheFolderOfTheLastFilePicked();
};

void DesktopHabitsTest::aDroppedFileFillsTheField_data() {
  QTest::addColumn<QString>("field");
  QTest::addColumn<QString>("dragged");  // a name in the start directory, or a URL
  QTest::addColumn<bool>("taken");
  QTest::newRow("input file") << "Text1" << "board.tel" << true;
  QTest::newRow("output file") << "Text2" << "board.tel" << true;
  QTest::newRow("parts list") << "Text3" << "board.tel" << true;
  QTest::newRow("a folder") << "Text1" << "boards" << false;
  QTest::newRow("a remote file") << "Text2" << "https://example.org/board.tel" << false;
}

void DesktopHabitsTest::aDroppedFileFillsTheField() {
  QFETCH(QString, field);
  QFETCH(QString, dragged);
  QFETCH(bool, taken);
  LoadedWindow loaded;
  loaded.writeBytes(QStringLiteral("board.tel"), "$NETS\r\n$END\r\n");
  QVERIFY(QDir(loaded.directory.path()).mkdir(QStringLiteral("boards")));
  auto* box = loaded.window->findChild<QLineEdit*>(field);
  box->setEnabled(true);
  box->setText(QStringLiteral("before"));
  const QUrl url = dragged.contains(QLatin1Char(':')) ? QUrl(dragged) : QUrl::fromLocalFile(loaded.path(dragged));

  const std::optional<Qt::DropAction> action = dropOnto(box, {url});
  QCOMPARE(action.has_value(), taken);
  QCOMPARE(box->text(), taken ? QDir::toNativeSeparators(loaded.path(dragged)) : QStringLiteral("before"));
  // The file manager is asked to copy, so it never moves the file away.
  if (taken) QCOMPARE(*action, Qt::CopyAction);
  if (field == QStringLiteral("Text2")) QCOMPARE(loaded.window->Command4->isEnabled(), true);
}

void DesktopHabitsTest::typedNamesAreCompleted_data() {
  QTest::addColumn<QString>("typed");  // "<start>" stands for the start directory
  QTest::addColumn<QStringList>("completions");
  QTest::newRow("relative name") << "boa" << QStringList{"board-a.tel", "board-b.net", "boards"};
  QTest::newRow("inside a folder") << "boards/" << QStringList{"boards/inner.tel"};
  QTest::newRow("absolute name") << "<start>/boards/in" << QStringList{"<start>/boards/inner.tel"};
}

void DesktopHabitsTest::typedNamesAreCompleted() {
  QFETCH(QString, typed);
  QFETCH(QStringList, completions);
  LoadedWindow loaded;
  for (const char* name : {"board-a.tel", "board-b.net", "other.txt"}) loaded.writeBytes(QLatin1String(name), "x");
  QVERIFY(QDir(loaded.directory.path()).mkdir(QStringLiteral("boards")));
  loaded.writeBytes(QStringLiteral("boards/inner.tel"), "x");
  const QString start = loaded.directory.path();
  typed.replace(QStringLiteral("<start>"), start);
  completions.replaceInStrings(QStringLiteral("<start>"), start);

  QLineEdit* field = loaded.window->Text1;
  typeInto(field, typed);
  QCompleter* completer = field->completer();
  QVERIFY(completer != nullptr);
  // The file system is read in the background.
  QTRY_COMPARE(completer->completionCount(), completions.size());
  QStringList offered;
  for (int row = 0; completer->setCurrentRow(row); ++row) offered.append(completer->currentCompletion());
  QCOMPARE(offered.size(), completions.size());
  for (const QString& completion : completions) QVERIFY2(offered.contains(completion), qPrintable(completion));
  // The first name of the list picked, as with the arrow key and Enter.
  QTRY_VERIFY(completer->popup()->isVisible());
  QTest::keyClick(completer->popup(), Qt::Key_Down);
  QTest::keyClick(completer->popup(), Qt::Key_Return);
  QCOMPARE(field->text(), offered.first());
}

void DesktopHabitsTest::theWindowComesBackWhereItClosed() {
  QTemporaryDir folder;
  InterceptingHost host;
  ScriptedDesktop desktop;
  {
    WindowMemory memory(settingsIn(folder));
    MainWindow window(host, desktop);
    QVERIFY(!memory.keepPosition(window));
    window.move(123, 87);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.Text1->setText(QStringLiteral("board.tel"));
    window.Check1->setChecked(false);
    window.close();
  }
  WindowMemory memory(settingsIn(folder));
  MainWindow window(host, desktop);
  QVERIFY(memory.keepPosition(window));
  QCOMPARE(window.pos(), QPoint(123, 87));
  // Only the place comes back: the fields start empty and the options on.
  QCOMPARE(window.Text1->text(), QString());
  QVERIFY(window.Check1->isChecked() && window.Check2->isChecked() && window.Check3->isChecked());
  QVERIFY(!window.Check4->isChecked());
  // A place on a screen that is gone is not taken.
  settingsIn(folder)->setValue(QStringLiteral("window/position"), QPoint(90000, 90000));
  MainWindow elsewhere(host, desktop);
  QVERIFY(!WindowMemory(settingsIn(folder)).keepPosition(elsewhere));
}

void DesktopHabitsTest::dialogsOpenInTheFolderOfTheLastFilePicked() {
  QTemporaryDir folder;
  QTemporaryDir boards;
  const QString picked = QDir(boards.path()).filePath(QStringLiteral("board.tel"));
  InterceptingHost host;
  ScriptedDesktop scripted;
  scripted.dialogAnswers = {picked, std::nullopt, std::nullopt};
  {
    WindowMemory memory(settingsIn(folder));
    RememberingDesktop desktop(scripted, memory);
    MainWindow window(host, desktop);
    window.browseInputFile();
    QCOMPARE(window.Text1->text(), picked);
  }
  // The next run: the first dialog opens in that folder; a cancel still
  // empties the field, as it does on a first browse.
  WindowMemory memory(settingsIn(folder));
  RememberingDesktop desktop(scripted, memory);
  MainWindow window(host, desktop);
  window.Text2->setText(QStringLiteral("typed.all"));
  window.browseOutputFile();
  QCOMPARE(window.Text2->text(), QString());
  // A folder that is gone is forgotten.
  QVERIFY(QDir(boards.path()).removeRecursively());
  window.browseOutputFile();
  QCOMPARE(scripted.dialogCalls.size(), std::size_t{3});
  QCOMPARE(scripted.dialogCalls[0].startName, QString());
  QCOMPARE(scripted.dialogCalls[1].startName, boards.path());
  QCOMPARE(scripted.dialogCalls[2].startName, QString());
}

QTEST_MAIN(DesktopHabitsTest)
#include "desktop_habits_test.moc"
