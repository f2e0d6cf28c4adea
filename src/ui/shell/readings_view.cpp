#include "ui/shell/readings_view.h"

#include "lang/source_text.h"
#include "lang/translation.h"
#include "ui/controls/multi_page_ctrl.h"
#include "ui/controls/multi_page_dialog.h"
#include "ui/shell/main_view.h"

#include <QVBoxLayout>

namespace torva {

CReadingsView::CReadingsView(CVeko2012Doc& doc, const SPageCatalogue& catalogue, QWidget* parent)
    : QWidget(parent), m_pageCtrl(new CMultiPageCtrl(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pageCtrl);
    const std::pair<const char*, const PageFactory*> pages[] = {
        {PL("Odczyty"), &catalogue.readingsPage},
        {PL("Wykresy"), &catalogue.chartsPage},
    };
    for (const auto& [title, factory] : pages) {
        if (*factory) {
            if (CMultiPageDialog* page = (*factory)(doc)) {
                m_pageCtrl->insertPage(QString::fromStdString(translate(title)), page);
            }
        }
    }
}

void CReadingsView::refresh() {
    refreshActivePage(m_pageCtrl);
}

void CReadingsView::retranslate() {
    m_pageCtrl->retranslatePages();
}

} // namespace torva
