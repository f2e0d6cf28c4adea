#pragma once

#include <QCheckBox>

namespace torva {

// A check box whose text is drawn straight over whatever lies behind it.
class CTransparentCheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit CTransparentCheckBox(QWidget* parent = nullptr);
    explicit CTransparentCheckBox(const QString& text, QWidget* parent = nullptr);
};

} // namespace torva
