#pragma once

#include "lang/multilang_gui.h"
#include "lang/timer_based_gui.h"
#include "ui/controls/multi_page_ctrl.h"
#include "ui/shell/page_catalogue.h"

#include <QFont>
#include <QPointer>
#include <QWidget>

namespace torva {

class CVeko2012Doc;

// The lower pane: the page control with the configuration pages.
class CVeko2012View : public QWidget, public ITimerBasedGUI, public IMultilangGUI {
    Q_OBJECT
public:
    CVeko2012View(CVeko2012Doc& doc, std::map<EPage, PageFactory> factories,
                  QWidget* parent = nullptr);

    // The Create command: a new page control in place of the old one, with the pages the
    // configuration calls for.
    void createPages();
    CMultiPageCtrl* pageCtrl() const { return m_pageCtrl; }

    // Tells every editing page that the controller came or went.
    void connectionChanged(bool connected);

    // Only the active page is refreshed, and only when it shows live values.
    void refresh() override;
    void retranslate() override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateFont();

    CVeko2012Doc& m_doc;
    std::map<EPage, PageFactory> m_factories;
    QPointer<CMultiPageCtrl> m_pageCtrl;
};

// Refreshes the active page of ctrl when it shows live values.
void refreshActivePage(const CMultiPageCtrl* ctrl);

} // namespace torva
