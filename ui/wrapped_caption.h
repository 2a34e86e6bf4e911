// Captions that wrap the way the window's layout expects: a line ends at a run
// of blanks that no longer fits on it (blanks at the end of a line are
// dropped), a word that does not fit moves to the next line, and a word longer
// than a whole line is broken between characters. Lines move closer together
// when the caption would not fit the control's height otherwise.
#pragma once

#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QString>
#include <QStringList>

namespace korvanel::ui {

// The lines of `caption` in `width` pixels of `font`.
QStringList wrapCaption(const QString& caption, const QFont& font, int width);

// A label that shows its text wrapped as above; text() stays as set.
class CaptionLabel : public QLabel {
  Q_OBJECT

 public:
  CaptionLabel(const QString& text, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// A button whose caption wraps onto further lines when it is too wide.
class CaptionButton : public QPushButton {
  Q_OBJECT

 public:
  CaptionButton(const QString& text, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace korvanel::ui
