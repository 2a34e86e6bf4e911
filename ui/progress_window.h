// The progress window of a conversion: the title, a status line, a bar from
// 0 to 100 and an OK button that the driver enables when the run finished.
// It stays on top of the other windows without taking the input from them.
#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace korvanel::ui {

class ProgressWindow : public QWidget {
  Q_OBJECT

 public:
  // A new window, loaded: OK disabled, caption and title set. OK and the
  // window's close box close it for good (it is deleted).
  explicit ProgressWindow(QWidget* owner);

  void setValue(int percent);
  void setStatus(const QString& status);
  void enableOk();
  // Back to the state of a freshly loaded window, for the next run.
  void disableOk();

  // The controls, for the tests.
  QLabel* Label2 = nullptr;  // the application title
  QLabel* Label1 = nullptr;  // the status text
  QProgressBar* ProgressBar1 = nullptr;
  QPushButton* Command1 = nullptr;  // "OK"
};

}  // namespace korvanel::ui
