#pragma once

#include <QPushButton>

namespace torva {

// A push button with a rounded gradient face; the default button wears the accent colour.
class CGradientButton : public QPushButton {
    Q_OBJECT
public:
    explicit CGradientButton(QWidget* parent = nullptr);
    explicit CGradientButton(const QString& text, QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace torva
