#include "ui/controls/transparent_check_box.h"

namespace torva {

CTransparentCheckBox::CTransparentCheckBox(QWidget* parent)
    : CTransparentCheckBox(QString(), parent) {}

CTransparentCheckBox::CTransparentCheckBox(const QString& text, QWidget* parent)
    : QCheckBox(text, parent) {
    setAutoFillBackground(false);
    setAttribute(Qt::WA_TranslucentBackground);
}

} // namespace torva
