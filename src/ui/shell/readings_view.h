#pragma once

#include "lang/multilang_gui.h"
#include "lang/timer_based_gui.h"
#include "ui/shell/page_catalogue.h"

#include <QWidget>

namespace torva {

class CMultiPageCtrl;
class CVeko2012Doc;

// The upper pane: a page control with the readings page ("Odczyty") and the charts
// ("Wykresy").
class CReadingsView : public QWidget, public ITimerBasedGUI, public IMultilangGUI {
    Q_OBJECT
public:
    CReadingsView(CVeko2012Doc& doc, const SPageCatalogue& catalogue, QWidget* parent = nullptr);

    CMultiPageCtrl* pageCtrl() const { return m_pageCtrl; }

    void refresh() override;
    void retranslate() override;

private:
    CMultiPageCtrl* m_pageCtrl;
};

} // namespace torva
