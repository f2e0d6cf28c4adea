#pragma once

#include <QWidget>

namespace torva {

// The start-up picture, shown without a frame while the program connects to the controller.
class CSplashDlg : public QWidget {
    Q_OBJECT
public:
    explicit CSplashDlg(QWidget* parent = nullptr);

    // Shows the picture centred on the screen and lets it paint once.
    void showCentred();

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace torva
