#include "ui/controls/multi_page_ctrl.h"

#include "ui/controls/msm_visual_manager.h"
#include "ui/controls/multi_page_dialog.h"
#include "ui/controls/page_button.h"

#include <QAbstractButton>
#include <QBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollArea>

namespace torva {

namespace {

// The strip behind the page buttons, underlined in the accent colour where it meets the page.
class CButtonRow : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        const auto& colours = CMSMVisualManager::get().colours();
        QPainter painter(this);
        QLinearGradient gradient(0, 0, 0, height());
        gradient.setColorAt(0.0, colours.caption.lighter(108));
        gradient.setColorAt(1.0, colours.caption);
        painter.fillRect(rect(), gradient);
        painter.fillRect(QRect(0, height() - 2, width(), 2), colours.accent);
    }
};

} // namespace

CMultiPageCtrl::CMultiPageCtrl(QWidget* parent)
    : QWidget(parent), m_buttonRow(new CButtonRow(this)),
      m_buttonLayout(new QHBoxLayout(m_buttonRow)), m_pageArea(new QWidget),
      m_pageLayout(new QVBoxLayout(m_pageArea)) {
    m_buttonLayout->setContentsMargins(6, 4, 6, 2);
    m_buttonLayout->setSpacing(2);
    m_buttonLayout->addStretch(1);
    m_pageLayout->setContentsMargins(0, 0, 0, 0);
    m_pageLayout->setSpacing(0);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_buttonRow);
    // A page smaller than its controls need at the smallest readable text scrolls; the pages
    // that scroll on their own (settings, calibration) always fit.
    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->viewport()->setAutoFillBackground(false);
    m_pageArea->setAutoFillBackground(false);
    scroll->setWidget(m_pageArea);
    layout->addWidget(scroll, 1);
    setFocusPolicy(Qt::StrongFocus);
}

int CMultiPageCtrl::insertPage(const QString& title, IMultiPageButton* button,
                               CMultiPageDialog* page) {
    if (!button || !page) {
        delete page;
        if (button) {
            delete button->widget();
        }
        return -1;
    }
    button->setTitle(title);
    button->setActive(false);
    m_buttonLayout->insertWidget(m_buttonLayout->count() - 1, button->widget());
    connect(button->widget(), &QAbstractButton::clicked, this,
            [this, button] { activatePage(button); });

    page->hide();
    page->setParent(m_pageArea);
    m_pageLayout->addWidget(page);
    m_pages.push_back({button, page});
    page->init();
    apply(m_selection.insert());
    return getPageCount() - 1;
}

int CMultiPageCtrl::insertPage(const QString& title, CMultiPageDialog* page) {
    return insertPage(title, new CPageButton, page);
}

void CMultiPageCtrl::removePage(int index) {
    if (!valid(index)) {
        return;
    }
    const SPageSwitch change = m_selection.remove(index);
    const SPage removed = m_pages[size_t(index)];
    if (change.deactivate == index) {
        removed.page->deactivate();
    }
    m_pages.erase(m_pages.begin() + index);
    // Deferred: the removal may come from a handler of the page or its button.
    removed.page->hide();
    removed.page->setParent(nullptr);
    removed.page->deleteLater();
    removed.button->widget()->hide();
    removed.button->widget()->disconnect(this);
    removed.button->widget()->deleteLater();
    apply({-1, change.activate});
}

bool CMultiPageCtrl::activatePage(int index) {
    const SPageSwitch change = m_selection.activate(index);
    if (change.activate < 0) {
        return valid(index);
    }
    apply(change);
    return true;
}

bool CMultiPageCtrl::activatePage(const IMultiPageButton* button) {
    for (size_t i = 0; i < m_pages.size(); ++i) {
        if (m_pages[i].button == button) {
            return activatePage(int(i));
        }
    }
    return false;
}

CMultiPageDialog* CMultiPageCtrl::getActivePage() const {
    return getPage(getActiveIndex());
}

CMultiPageDialog* CMultiPageCtrl::getPage(int index) const {
    return valid(index) ? m_pages[size_t(index)].page : nullptr;
}

IMultiPageButton* CMultiPageCtrl::getButton(int index) const {
    return valid(index) ? m_pages[size_t(index)].button : nullptr;
}

void CMultiPageCtrl::changeTitle(int index, const QString& title) {
    if (valid(index)) {
        m_pages[size_t(index)].button->setTitle(title);
    }
}

QString CMultiPageCtrl::getTitle(int index) const {
    return valid(index) ? m_pages[size_t(index)].button->title() : QString();
}

void CMultiPageCtrl::retranslatePages() {
    for (const SPage& entry : m_pages) {
        const QString title = entry.page->pageTitle();
        if (!title.isEmpty()) {
            entry.button->setTitle(title);
        }
        entry.page->retranslatePage();
    }
}

bool CMultiPageCtrl::checkMsg(const QKeyEvent& event) {
    if (event.type() != QEvent::KeyPress || !(event.modifiers() & Qt::ControlModifier)) {
        return false;
    }
    int step = 0;
    switch (event.key()) {
    case Qt::Key_Tab:
        step = (event.modifiers() & Qt::ShiftModifier) ? -1 : 1;
        break;
    case Qt::Key_Backtab:
    case Qt::Key_PageUp:
        step = -1;
        break;
    case Qt::Key_PageDown:
        step = 1;
        break;
    default:
        return false;
    }
    const int target = m_selection.neighbour(step);
    if (target < 0) {
        return false;
    }
    activatePage(target);
    if (CMultiPageDialog* page = getActivePage()) {
        page->focus();
    }
    return true;
}

void CMultiPageCtrl::keyPressEvent(QKeyEvent* event) {
    if (!checkMsg(*event)) {
        QWidget::keyPressEvent(event);
    }
}

void CMultiPageCtrl::apply(const SPageSwitch& change) {
    if (valid(change.deactivate)) {
        m_pages[size_t(change.deactivate)].button->setActive(false);
        m_pages[size_t(change.deactivate)].page->deactivate();
    }
    if (valid(change.activate)) {
        m_pages[size_t(change.activate)].button->setActive(true);
        m_pages[size_t(change.activate)].page->activate();
        emit pageActivated(change.activate);
    }
}

} // namespace torva
