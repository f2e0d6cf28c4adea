#include "ui/shell/main_view.h"

#include "document/veko2012_doc.h"
#include "lang/translation.h"
#include "ui/controls/dialog_scaling.h"
#include "ui/controls/multi_page_ctrl.h"
#include "ui/controls/multi_page_dialog.h"
#include "ui/pages/common/config_page.h"
#include "ui/shell/window_rules.h"

#include <QVBoxLayout>

#include <algorithm>

namespace torva {

void refreshActivePage(const CMultiPageCtrl* ctrl) {
    if (ctrl == nullptr) {
        return;
    }
    if (auto* live = dynamic_cast<ITimerBasedGUI*>(ctrl->getActivePage())) {
        live->refresh();
    }
}

CVeko2012View::CVeko2012View(CVeko2012Doc& doc, std::map<EPage, PageFactory> factories,
                             QWidget* parent)
    : QWidget(parent), m_doc(doc), m_factories(std::move(factories)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    updateFont();
}

void CVeko2012View::createPages() {
    delete m_pageCtrl;
    m_pageCtrl = new CMultiPageCtrl(this);
    layout()->addWidget(m_pageCtrl);
    for (const SPageEntry& entry : pageList(m_doc.device().config())) {
        const auto factory = m_factories.find(entry.page);
        if (factory == m_factories.end() || !factory->second) {
            continue;
        }
        if (CMultiPageDialog* page = factory->second(m_doc)) {
            m_pageCtrl->insertPage(QString::fromStdString(translate(entry.title)), page);
        }
    }
    // Built from the record as it is now, for the link as it is now.
    const bool connected = m_doc.device().isConnected();
    for (int i = 0; i < m_pageCtrl->getPageCount(); ++i) {
        fillConfigPage(m_pageCtrl->getPage(i), connected);
    }
}

void CVeko2012View::connectionChanged(bool connected) {
    if (m_pageCtrl == nullptr) {
        return;
    }
    for (int i = 0; i < m_pageCtrl->getPageCount(); ++i) {
        tellConnectionChanged(m_pageCtrl->getPage(i), connected);
    }
}

void CVeko2012View::refresh() {
    refreshActivePage(m_pageCtrl);
}

void CVeko2012View::retranslate() {
    if (m_pageCtrl != nullptr) {
        m_pageCtrl->retranslatePages();
    }
}

void CVeko2012View::resizeEvent(QResizeEvent* event) {
    updateFont();
    QWidget::resizeEvent(event);
}

void CVeko2012View::updateFont() {
    QFont viewFont(QStringLiteral("Tahoma"));
    viewFont.setWeight(QFont::Normal);
    // Never below 8 pt: a page that does not fit then scrolls.
    viewFont.setPixelSize(std::max(mainViewFontPixelSize(size()), readableFontPixelSize(*this)));
    if (viewFont != font()) {
        setFont(viewFont);
    }
}

} // namespace torva
