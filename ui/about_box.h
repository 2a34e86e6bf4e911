// The About box: the program's icon, title and version, a warning against
// unauthorised copying, OK and a button that starts a system information
// viewer.
#pragma once

#include <QWidget>

#include "core/host.h"
#include "ui/desktop.h"

class QLabel;
class QPushButton;

namespace korvanel::ui {

class AboutBox : public QWidget {
  Q_OBJECT

 public:
  // Shown without blocking; OK and the close box close it for good.
  AboutBox(QWidget* owner, Host& host, Desktop& desktop);

  QLabel* picIcon = nullptr;
  QLabel* lblTitle = nullptr;
  QLabel* lblVersion = nullptr;
  QLabel* lblDisclaimer = nullptr;
  QPushButton* cmdOK = nullptr;
  QPushButton* cmdSysInfo = nullptr;

 private:
  void startSystemInformation();

  Host& host_;
  Desktop& desktop_;
};

}  // namespace korvanel::ui
