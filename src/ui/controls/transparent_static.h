#pragma once

#include <QLabel>

namespace torva {

// A label drawn straight over whatever lies behind it (page gradient, dialog background).
class CTransparentStatic : public QLabel {
    Q_OBJECT
public:
    explicit CTransparentStatic(QWidget* parent = nullptr);
    explicit CTransparentStatic(const QString& text, QWidget* parent = nullptr);
};

} // namespace torva
