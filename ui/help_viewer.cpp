#include "ui/help_viewer.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/window_texts.h"

namespace korvanel::ui {

QStringList helpFileCandidates(const QString& startDirectory, const QString& programDirectory) {
  const QString installed =
      QDir::cleanPath(QDir(programDirectory).filePath(QStringLiteral(KORVANEL_HELP_FROM_PROGRAM)));
  QStringList candidates;
  for (const QString& directory : {startDirectory, programDirectory, installed}) {
    const QString candidate = QDir(directory).filePath(kHelpFileName);
    const bool seen = std::any_of(candidates.begin(), candidates.end(), [&](const QString& earlier) {
      return QFileInfo(earlier).absoluteFilePath() == QFileInfo(candidate).absoluteFilePath();
    });
    if (!seen) candidates.append(candidate);
  }
  return candidates;
}

QString findHelpFile(const QStringList& candidates) {
  for (const QString& candidate : candidates) {
    if (QFileInfo(candidate).isFile()) return candidate;
  }
  return {};
}

HelpViewer::HelpViewer(QWidget* owner) : QWidget(owner, Qt::Window) {
  setObjectName(QStringLiteral("helpViewer"));
  setAttribute(Qt::WA_DeleteOnClose);
  setFont(japaneseFont(10));
  setWindowTitle(kApplicationTitle + QStringLiteral(" ヘルプ"));
  resize(640, 560);

  contentsButton_ = new QPushButton(QStringLiteral("目次"), this);
  contentsButton_->setObjectName(QStringLiteral("contentsButton"));
  auto* backButton = new QPushButton(QStringLiteral("戻る"), this);
  backButton->setObjectName(QStringLiteral("backButton"));
  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("helpBrowser"));
  browser_->setOpenExternalLinks(false);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(contentsButton_);
  buttons->addWidget(backButton);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(browser_);

  connect(backButton, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(browser_, &QTextBrowser::backwardAvailable, backButton, &QPushButton::setEnabled);
  backButton->setEnabled(false);
  connect(contentsButton_, &QPushButton::clicked, this, [this] {
    if (helpFile_.isEmpty()) return;
    QUrl contents = QUrl::fromLocalFile(QFileInfo(helpFile_).absoluteFilePath());
    contents.setFragment(kHelpContentsAnchor);
    browser_->setSource(contents, QTextDocument::HtmlResource);
  });
}

void HelpViewer::showContents(const QStringList& candidates) {
  helpFile_ = findHelpFile(candidates);
  contentsButton_->setEnabled(!helpFile_.isEmpty());
  if (helpFile_.isEmpty()) {
    QString notFound = QStringLiteral("<p>ヘルプファイル %1 が見つかりません。</p><p>探した場所:</p><ul>")
                           .arg(kHelpFileName.toHtmlEscaped());
    for (const QString& candidate : candidates) {
      notFound += QStringLiteral("<li>") + QDir::toNativeSeparators(candidate).toHtmlEscaped() +
                  QStringLiteral("</li>");
    }
    notFound += QStringLiteral("</ul>");
    browser_->clearHistory();
    browser_->setHtml(notFound);
    return;
  }
  QUrl contents = QUrl::fromLocalFile(QFileInfo(helpFile_).absoluteFilePath());
  contents.setFragment(kHelpContentsAnchor);
  browser_->clearHistory();
  browser_->setSource(contents, QTextDocument::HtmlResource);
}

}  // namespace korvanel::ui
