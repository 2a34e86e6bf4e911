#include "ui/about_box.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "korvanel/version.h"
#include "ui/program_icon.h"
#include "ui/window_texts.h"

namespace korvanel::ui {
namespace {

const QString kSystemInformationUnavailable = QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません");

const QString kDisclaimer = QStringLiteral(
    "警告: このプログラムは著作権法により保護されています。このプログラムの全部または一部を"
    "権利者の許諾なく複製したり、複製物を頒布したりすることは禁じられています。");

}  // namespace

AboutBox::AboutBox(QWidget* owner, Host& host, Desktop& desktop)
    : QWidget(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      host_(host),
      desktop_(desktop) {
  setObjectName(QStringLiteral("frmAbout"));
  setAttribute(Qt::WA_DeleteOnClose);
  setFont(japaneseFont(9));
  setFixedSize(twipsToPixels(5730), twipsToPixels(3930));
  setWindowTitle(kApplicationTitle + QStringLiteral("のﾊﾞｰｼﾞｮﾝ情報"));

  picIcon = new QLabel(this);
  picIcon->setObjectName(QStringLiteral("picIcon"));
  picIcon->setPixmap(programIcon().pixmap(32, 32));
  picIcon->setGeometry(twipsRect(240, 240, 540, 540));
  picIcon->setAlignment(Qt::AlignCenter);

  lblTitle = new QLabel(kApplicationTitle, this);
  lblTitle->setObjectName(QStringLiteral("lblTitle"));
  lblTitle->setFont(japaneseFont(12, true));
  lblTitle->setGeometry(twipsRect(1050, 240, 3885, 480));

  lblVersion = new QLabel(aboutVersionLine(kVersionMajor, kVersionMinor, kVersionPatch), this);
  lblVersion->setObjectName(QStringLiteral("lblVersion"));
  lblVersion->setGeometry(twipsRect(1050, 780, 3885, 300));

  auto* separator = new QFrame(this);
  separator->setFrameShape(QFrame::HLine);
  separator->setFrameShadow(QFrame::Sunken);
  separator->setGeometry(twipsRect(225, 2430, 5280, 30));

  lblDisclaimer = new QLabel(kDisclaimer, this);
  lblDisclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
  lblDisclaimer->setWordWrap(true);
  lblDisclaimer->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  lblDisclaimer->setGeometry(twipsRect(255, 2625, 3870, 1125));

  cmdOK = new QPushButton(QStringLiteral("OK"), this);
  cmdOK->setObjectName(QStringLiteral("cmdOK"));
  cmdOK->setDefault(true);
  cmdOK->setGeometry(twipsRect(4245, 2625, 1260, 375));
  connect(cmdOK, &QPushButton::clicked, this, &QWidget::close);

  cmdSysInfo = new QPushButton(QStringLiteral("ｼｽﾃﾑ情報(&S)..."), this);
  cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
  cmdSysInfo->setGeometry(twipsRect(4260, 3075, 1245, 375));
  connect(cmdSysInfo, &QPushButton::clicked, this, &AboutBox::startSystemInformation);
}

void AboutBox::startSystemInformation() {
  if (!desktop_.startSystemInformation()) host_.showMessage(toText(kSystemInformationUnavailable));
}

}  // namespace korvanel::ui
