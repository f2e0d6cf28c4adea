#pragma once

#include <QMenuBar>

namespace torva {

// The main window's menu bar in the visual manager's caption colour, with the accent colour
// on the open item; its drop-down menus follow the same scheme.
class CMSMMenuBar : public QMenuBar {
    Q_OBJECT
public:
    explicit CMSMMenuBar(QWidget* parent = nullptr);

    // Takes the installed visual manager's colours; the manager calls it when installed.
    void applyVisualManager();
};

} // namespace torva
