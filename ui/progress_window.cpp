#include "ui/progress_window.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "ui/window_texts.h"

namespace korvanel::ui {

ProgressWindow::ProgressWindow(QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                         Qt::CustomizeWindowHint) {
  setObjectName(QStringLiteral("Form3"));
  setAttribute(Qt::WA_DeleteOnClose);
  setFont(japaneseFont(9));
  setFixedSize(twipsToPixels(4575), twipsToPixels(1980));
  setWindowTitle(kApplicationTitle + QStringLiteral("の処理状況"));

  Label2 = new QLabel(kApplicationTitle, this);
  Label2->setObjectName(QStringLiteral("Label2"));
  Label2->setFont(japaneseFont(15.75, true));
  Label2->setGeometry(twipsRect(120, 120, 4335, 375));

  Label1 = new QLabel(this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setFont(japaneseFont(12));
  Label1->setGeometry(twipsRect(240, 600, 4095, 255));

  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setValue(0);
  ProgressBar1->setTextVisible(false);
  ProgressBar1->setGeometry(twipsRect(120, 1080, 4335, 255));

  Command1 = new QPushButton(QStringLiteral("OK"), this);
  Command1->setObjectName(QStringLiteral("Command1"));
  Command1->setGeometry(twipsRect(1680, 1440, 1215, 375));
  Command1->setEnabled(false);
  connect(Command1, &QPushButton::clicked, this, &QWidget::close);

  // Beside the owner's centre, so that the window opens where the user looks.
  if (owner != nullptr) {
    const QRect ownerFrame = owner->frameGeometry();
    move(ownerFrame.center() - rect().center());
  }
}

void ProgressWindow::setValue(int percent) { ProgressBar1->setValue(percent); }

void ProgressWindow::setStatus(const QString& status) { Label1->setText(status); }

void ProgressWindow::enableOk() { Command1->setEnabled(true); }

void ProgressWindow::disableOk() { Command1->setEnabled(false); }

}  // namespace korvanel::ui
