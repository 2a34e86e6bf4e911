#include "ui/window_texts.h"

#include <QStringList>

namespace korvanel::ui {

QString numberWithSignPlace(int number) {
  const QString digits = QString::number(number);
  return number < 0 ? digits : QLatin1Char(' ') + digits;
}

QString titleLine(int major, int minor) {
  return kApplicationTitle + QStringLiteral(" Ver") + numberWithSignPlace(major) + QLatin1Char('.') +
         numberWithSignPlace(minor);
}

QString aboutVersionLine(int major, int minor, int revision) {
  return QStringLiteral("ﾊﾞｰｼﾞｮﾝ %1.%2.%3").arg(major).arg(minor).arg(revision);
}

QFont japaneseFont(qreal pointSize, bool bold) {
  QFont font;
  // The first family that the platform has wins; the Noto CJK fonts come with
  // the fonts-noto-cjk package.
  font.setFamilies(QStringList{QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Noto Sans JP"),
                               QStringLiteral("IPAPGothic"), QStringLiteral("VL PGothic"),
                               QStringLiteral("TakaoPGothic"), QStringLiteral("Sans Serif")});
  font.setPointSizeF(pointSize);
  font.setBold(bold);
  return font;
}

}  // namespace korvanel::ui
