#include "ui/controls/transparent_static.h"

namespace torva {

CTransparentStatic::CTransparentStatic(QWidget* parent) : CTransparentStatic(QString(), parent) {}

CTransparentStatic::CTransparentStatic(const QString& text, QWidget* parent)
    : QLabel(text, parent) {
    setAutoFillBackground(false);
    setAttribute(Qt::WA_TranslucentBackground);
}

} // namespace torva
