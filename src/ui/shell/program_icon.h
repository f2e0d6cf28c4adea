#pragma once

#include <QIcon>

class QPainter;
class QRectF;

namespace torva {

// The program's emblem: a dial with its needle on the accent colour. The same drawing is the
// installed SVG icon (data/torva-diesel.svg).
void paintProgramEmblem(QPainter& painter, const QRectF& box);
QIcon programIcon();

} // namespace torva
