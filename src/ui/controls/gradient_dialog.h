#pragma once

#include <QDialog>

namespace torva {

// A dialog drawn over the visual manager's background gradient.
class CGradientDialog : public QDialog {
    Q_OBJECT
public:
    explicit CGradientDialog(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace torva
