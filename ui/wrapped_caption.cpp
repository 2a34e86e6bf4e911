#include "ui/wrapped_caption.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace korvanel::ui {
namespace {

bool isBlank(QChar character) { return character == QLatin1Char(' ') || character == QChar(0x3000); }

// The caption cut into runs of blanks and runs of other characters.
QStringList runsOf(const QString& caption) {
  QStringList runs;
  for (const QChar character : caption) {
    if (runs.isEmpty() || isBlank(runs.last().back()) != isBlank(character)) runs.append(QString());
    runs.last().append(character);
  }
  return runs;
}

// Draws `lines` into `area`, top-aligned or centred vertically, each line
// aligned horizontally by `alignment`.
void drawLines(QPainter& painter, const QRect& area, const QStringList& lines, Qt::Alignment alignment) {
  const QFontMetricsF metrics(painter.font());
  qreal lineStep = metrics.lineSpacing();
  if (lines.size() > 1 && lineStep * lines.size() > area.height()) {
    lineStep = std::max(area.height() / static_cast<qreal>(lines.size()), metrics.height() * 0.7);
  }
  const qreal textHeight = lineStep * (lines.size() - 1) + metrics.height();
  qreal top = area.top();
  if (alignment & Qt::AlignVCenter) top += (area.height() - textHeight) / 2;
  for (const QString& line : lines) {
    const QRectF lineArea(area.left(), top, area.width(), metrics.height());
    painter.drawText(lineArea, static_cast<int>((alignment & Qt::AlignHorizontal_Mask) | Qt::AlignTop), line);
    top += lineStep;
  }
}

}  // namespace

QStringList wrapCaption(const QString& caption, const QFont& font, int width) {
  const QFontMetricsF metrics(font);
  QStringList lines{QString()};
  qreal lineWidth = 0;
  auto startLine = [&] {
    // Blanks at the end of a line are not seen.
    QString& ended = lines.last();
    while (!ended.isEmpty() && isBlank(ended.back())) ended.chop(1);
    lines.append(QString());
    lineWidth = 0;
  };
  for (const QString& run : runsOf(caption)) {
    const qreal runWidth = metrics.horizontalAdvance(run);
    const bool fits = lineWidth + runWidth <= width;
    if (isBlank(run.front())) {
      // Blanks that reach past the end of the line end it.
      if (fits) {
        lines.last() += run;
        lineWidth += runWidth;
      } else {
        startLine();
      }
      continue;
    }
    if (!fits && !lines.last().isEmpty()) startLine();
    // A word wider than a whole line is broken between its characters.
    for (const QChar character : run) {
      const qreal characterWidth = metrics.horizontalAdvance(character);
      if (lineWidth + characterWidth > width && !lines.last().isEmpty()) startLine();
      lines.last() += character;
      lineWidth += characterWidth;
    }
  }
  if (lines.size() > 1 && lines.last().isEmpty()) lines.removeLast();
  return lines;
}

CaptionLabel::CaptionLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
  setWordWrap(true);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void CaptionLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
  const QRect area = contentsRect();
  drawLines(painter, area, wrapCaption(text(), font(), area.width()), alignment());
}

CaptionButton::CaptionButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {}

void CaptionButton::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  const QString caption = option.text;
  option.text.clear();
  painter.drawControl(QStyle::CE_PushButton, option);
  const QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this).adjusted(1, 0, -1, 0);
  painter.setPen(option.palette.color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
  drawLines(painter, area, wrapCaption(caption, font(), area.width()), Qt::AlignHCenter | Qt::AlignVCenter);
}

}  // namespace korvanel::ui
