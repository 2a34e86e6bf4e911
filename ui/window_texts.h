// Texts and measures that several windows share: the application title, the
// version lines, the Japanese user-interface font and the twips of the
// window layouts.
#pragma once

#include <QFont>
#include <QRect>
#include <QString>

#include "core/text.h"

namespace korvanel::ui {

// The caption of every message box and the title of every window.
inline const QString kApplicationTitle = QStringLiteral("Korvanel");

// A whole number as text with a blank in front when it is not negative
// (" 2", " 0", "-1"), as the title line shows the version.
QString numberWithSignPlace(int number);

// The main window's title line: "Korvanel Ver 2. 0" for version 2.0.
QString titleLine(int major, int minor);

// The About box's version line: "ﾊﾞｰｼﾞｮﾝ 2.0.21" for version 2.0, revision 21.
QString aboutVersionLine(int major, int minor, int revision);

// A proportional Japanese Gothic font of the platform.
QFont japaneseFont(qreal pointSize, bool bold = false);

// Layout positions are given in twips; 15 twips are one pixel at 96 dpi.
constexpr int twipsToPixels(int twips) { return (twips + 7) / 15; }
inline QRect twipsRect(int left, int top, int width, int height) {
  return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

inline QString toQString(const Text& text) { return QString::fromStdU16String(text); }
inline Text toText(const QString& text) { return text.toStdU16String(); }

}  // namespace korvanel::ui
