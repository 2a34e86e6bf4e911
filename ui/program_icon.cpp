#include "ui/program_icon.h"

#include <QPainter>
#include <QPixmap>

namespace korvanel::ui {

void paintProgramIcon(QPainter& painter) {
  painter.setPen(QPen(QColor(0x0b, 0x3d, 0x1e), 2));
  painter.setBrush(QColor(0x1e, 0x7a, 0x3c));
  painter.drawRoundedRect(QRectF(3, 3, 58, 58), 6, 6);

  // Copper traces joining three pads: one net.
  const QColor copper(0xe8, 0xb0, 0x4a);
  painter.setPen(QPen(copper, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  painter.drawPolyline(QPolygonF{QPointF(15, 16), QPointF(32, 16), QPointF(32, 48), QPointF(49, 48)});
  painter.drawLine(QPointF(32, 32), QPointF(49, 32));

  painter.setPen(Qt::NoPen);
  painter.setBrush(copper);
  for (const QPointF& pad : {QPointF(15, 16), QPointF(49, 32), QPointF(49, 48)}) painter.drawEllipse(pad, 6.5, 6.5);
  painter.setBrush(QColor(0x1e, 0x7a, 0x3c));
  for (const QPointF& pad : {QPointF(15, 16), QPointF(49, 32), QPointF(49, 48)}) painter.drawEllipse(pad, 2.5, 2.5);
}

QImage programIconImage(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / double(kProgramIconGrid), size / double(kProgramIconGrid));
  paintProgramIcon(painter);
  return image;
}

QIcon programIcon() {
  QIcon icon;
  for (const int size : {16, 24, 32, 48, 64}) icon.addPixmap(QPixmap::fromImage(programIconImage(size)));
  return icon;
}

}  // namespace korvanel::ui
