#pragma once

#include <QGroupBox>

namespace torva {

// A titled frame drawn straight over whatever lies behind it: a thin rounded outline, broken
// where the title sits, and the title in bold.
class CTransparentGroupBox : public QGroupBox {
    Q_OBJECT
public:
    explicit CTransparentGroupBox(QWidget* parent = nullptr);
    explicit CTransparentGroupBox(const QString& title, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace torva
