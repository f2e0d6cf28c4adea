#include "ui/controls/multi_page_ctrl.h"
#include "ui/controls/multi_page_dialog.h"
#include "ui/controls/page_button.h"
#include "ui/controls/page_selection.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

namespace torva {
namespace {

// A page that writes down what the page control does to it, in order.
class CRecordingPage : public CMultiPageDialog {
public:
    CRecordingPage(QString name, QStringList& log) : m_name(std::move(name)), m_log(log) {}

    QString translatedTitle;

    QString pageTitle() const override {
        m_log << m_name + ":title";
        return translatedTitle;
    }
    void retranslatePage() override { m_log << m_name + ":retranslate"; }

protected:
    void onInit() override { m_log << m_name + ":init"; }
    void onActivate() override { m_log << m_name + ":activate"; }
    void onDeactivate() override { m_log << m_name + ":deactivate"; }

private:
    QString m_name;
    QStringList& m_log;
};

TEST(CPageSelection, FirstPageBecomesActiveAndLaterInsertionsKeepIt) {
    CPageSelection selection;
    EXPECT_EQ(selection.active(), -1);
    EXPECT_EQ(selection.insert().activate, 0);
    const SPageSwitch second = selection.insert();
    EXPECT_EQ(second.activate, -1);
    EXPECT_EQ(second.deactivate, -1);
    EXPECT_EQ(selection.active(), 0);
    EXPECT_EQ(selection.count(), 2);
}

TEST(CPageSelection, ActivatingSwitchesOnlyForAnotherValidPage) {
    CPageSelection selection;
    selection.insert();
    selection.insert();
    selection.insert();
    const SPageSwitch change = selection.activate(2);
    EXPECT_EQ(change.deactivate, 0);
    EXPECT_EQ(change.activate, 2);
    for (int index : {2, 3, -1}) {
        const SPageSwitch none = selection.activate(index);
        EXPECT_EQ(none.activate, -1) << index;
        EXPECT_EQ(selection.active(), 2) << index;
    }
}

TEST(CPageSelection, RemovingPagesKeepsOneActivePage) {
    CPageSelection selection;
    for (int i = 0; i < 4; ++i) {
        selection.insert();
    }
    selection.activate(2);

    // A page before the active one: the same page stays active under its new index.
    EXPECT_EQ(selection.remove(0).activate, -1);
    EXPECT_EQ(selection.active(), 1);

    // The active page in the middle: its successor takes over.
    SPageSwitch change = selection.remove(1);
    EXPECT_EQ(change.deactivate, 1);
    EXPECT_EQ(change.activate, 1);

    // The active page at the end: the new last page takes over.
    change = selection.remove(1);
    EXPECT_EQ(change.activate, 0);
    EXPECT_EQ(selection.remove(0).activate, -1);
    EXPECT_EQ(selection.active(), -1);
    EXPECT_EQ(selection.remove(0).deactivate, -1);
    EXPECT_EQ(selection.count(), 0);
}

TEST(CPageSelection, NeighbourWrapsAround) {
    CPageSelection selection;
    EXPECT_EQ(selection.neighbour(1), -1);
    for (int i = 0; i < 3; ++i) {
        selection.insert();
    }
    EXPECT_EQ(selection.neighbour(1), 1);
    EXPECT_EQ(selection.neighbour(-1), 2);
    selection.activate(2);
    EXPECT_EQ(selection.neighbour(1), 0);
}

class CMultiPageCtrlTest : public ::testing::Test {
protected:
    CMultiPageCtrlTest() {
        m_ctrl.resize(600, 400);
        for (const char* name : {"Ustawienia", "Zabezpieczenia", "Dane ECU"}) {
            auto* page = new CRecordingPage(QString::fromUtf8(name), m_log);
            m_pages.push_back(page);
            m_ctrl.insertPage(QString::fromUtf8(name), page);
        }
        m_ctrl.show();
        m_log.clear();
    }

    int visiblePages() const {
        int visible = 0;
        for (int i = 0; i < m_ctrl.getPageCount(); ++i) {
            visible += m_ctrl.getPage(i)->isVisible() ? 1 : 0;
        }
        return visible;
    }

    QStringList m_log;
    CMultiPageCtrl m_ctrl;
    std::vector<CRecordingPage*> m_pages;
};

TEST_F(CMultiPageCtrlTest, PagesKeepInsertionOrderAndTheFirstOneIsShown) {
    ASSERT_EQ(m_ctrl.getPageCount(), 3);
    EXPECT_EQ(m_ctrl.getTitle(0), "Ustawienia");
    EXPECT_EQ(m_ctrl.getTitle(2), "Dane ECU");
    EXPECT_EQ(m_ctrl.getPage(1), m_pages[1]);
    EXPECT_EQ(m_ctrl.getActivePage(), m_pages[0]);
    EXPECT_TRUE(m_pages[0]->isVisible());
    EXPECT_TRUE(m_pages[0]->isActive());
    EXPECT_EQ(visiblePages(), 1);
    EXPECT_TRUE(m_ctrl.getButton(0)->isActive());
    EXPECT_FALSE(m_ctrl.getButton(1)->isActive());
    EXPECT_EQ(m_ctrl.getPage(3), nullptr);
    EXPECT_EQ(m_ctrl.getPage(-1), nullptr);
}

TEST_F(CMultiPageCtrlTest, TheShownPageFillsTheControlBelowTheButtons) {
    m_ctrl.resize(700, 500);
    m_ctrl.activatePage(1);
    QCoreApplication::sendPostedEvents();
    const QRect button = m_ctrl.getButton(1)->widget()->geometry();
    const QRect page = m_pages[1]->geometry();
    EXPECT_EQ(page.width(), 700);
    EXPECT_GT(page.height(), 500 - 3 * button.height());
    EXPECT_EQ(m_pages[1]->mapTo(&m_ctrl, QPoint(0, 0)).y() + page.height(), 500);
}

TEST(CMultiPageCtrl, EachPageIsInitialisedOnceWhenInserted) {
    QStringList log;
    CMultiPageCtrl ctrl;
    auto* page = new CRecordingPage("A", log);
    ctrl.insertPage("A", page);
    page->init();
    EXPECT_EQ(log, QStringList({"A:init", "A:activate"}));
    EXPECT_TRUE(page->isInitialised());
}

TEST_F(CMultiPageCtrlTest, ActivatingAPageDeactivatesThePreviousOneFirst) {
    std::vector<int> signalled;
    QObject::connect(&m_ctrl, &CMultiPageCtrl::pageActivated,
                     [&](int index) { signalled.push_back(index); });

    EXPECT_TRUE(m_ctrl.activatePage(2));
    EXPECT_EQ(m_log, QStringList({"Ustawienia:deactivate", "Dane ECU:activate"}));
    EXPECT_EQ(m_ctrl.getActiveIndex(), 2);
    EXPECT_FALSE(m_pages[0]->isVisible());
    EXPECT_TRUE(m_pages[2]->isVisible());
    EXPECT_EQ(visiblePages(), 1);
    EXPECT_FALSE(m_ctrl.getButton(0)->isActive());
    EXPECT_TRUE(m_ctrl.getButton(2)->isActive());

    // The active page again, or a page that does not exist: nothing happens.
    m_log.clear();
    EXPECT_TRUE(m_ctrl.activatePage(2));
    EXPECT_FALSE(m_ctrl.activatePage(3));
    EXPECT_TRUE(m_log.isEmpty());
    EXPECT_EQ(signalled, std::vector<int>({2}));
}

TEST_F(CMultiPageCtrlTest, ClickingAPageButtonShowsItsPage) {
    m_ctrl.getButton(1)->widget()->click();
    EXPECT_EQ(m_ctrl.getActivePage(), m_pages[1]);
    EXPECT_EQ(visiblePages(), 1);

    EXPECT_TRUE(m_ctrl.activatePage(m_ctrl.getButton(2)));
    EXPECT_EQ(m_ctrl.getActiveIndex(), 2);
    CPageButton stranger;
    EXPECT_FALSE(m_ctrl.activatePage(&stranger));
    EXPECT_EQ(m_ctrl.getActiveIndex(), 2);
}

TEST_F(CMultiPageCtrlTest, TitlesChangeOnTheButtons) {
    m_ctrl.changeTitle(1, "Protection");
    EXPECT_EQ(m_ctrl.getTitle(1), "Protection");
    EXPECT_EQ(m_ctrl.getButton(1)->widget()->text(), "Protection");
    m_ctrl.changeTitle(7, "nothing");
    EXPECT_EQ(m_ctrl.getTitle(7), QString());
}

TEST_F(CMultiPageCtrlTest, RetranslationTitlesEachPageThenLetsItRetranslate) {
    m_pages[0]->translatedTitle = "Settings";
    m_pages[2]->translatedTitle = "ECU data";
    m_ctrl.retranslatePages();
    EXPECT_EQ(m_log, QStringList({"Ustawienia:title", "Ustawienia:retranslate",
                                  "Zabezpieczenia:title", "Zabezpieczenia:retranslate",
                                  "Dane ECU:title", "Dane ECU:retranslate"}));
    EXPECT_EQ(m_ctrl.getTitle(0), "Settings");
    EXPECT_EQ(m_ctrl.getTitle(1), "Zabezpieczenia"); // no title of its own: unchanged
    EXPECT_EQ(m_ctrl.getTitle(2), "ECU data");
}

TEST_F(CMultiPageCtrlTest, RemovingTheActivePageShowsTheNextOne) {
    m_ctrl.activatePage(1);
    m_log.clear();
    m_ctrl.removePage(1);
    EXPECT_EQ(m_log, QStringList({"Zabezpieczenia:deactivate", "Dane ECU:activate"}));
    ASSERT_EQ(m_ctrl.getPageCount(), 2);
    EXPECT_EQ(m_ctrl.getActivePage(), m_pages[2]);
    EXPECT_EQ(m_ctrl.getTitle(1), "Dane ECU");
    EXPECT_EQ(visiblePages(), 1);

    // The removed page goes with the next turn of the event loop, and its button with it.
    QPointer<CMultiPageDialog> removed = m_pages[1];
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(removed.isNull());
    m_ctrl.getButton(0)->widget()->click();
    EXPECT_EQ(m_ctrl.getActivePage(), m_pages[0]);
}

TEST_F(CMultiPageCtrlTest, ControlTabCyclesThroughThePages) {
    auto press = [this](int key, Qt::KeyboardModifiers modifiers) {
        return m_ctrl.checkMsg(QKeyEvent(QEvent::KeyPress, key, modifiers));
    };
    EXPECT_TRUE(press(Qt::Key_Tab, Qt::ControlModifier));
    EXPECT_EQ(m_ctrl.getActiveIndex(), 1);
    EXPECT_TRUE(press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier));
    EXPECT_TRUE(press(Qt::Key_PageUp, Qt::ControlModifier));
    EXPECT_EQ(m_ctrl.getActiveIndex(), 2);
    EXPECT_TRUE(press(Qt::Key_PageDown, Qt::ControlModifier));
    EXPECT_EQ(m_ctrl.getActiveIndex(), 0);
    EXPECT_FALSE(press(Qt::Key_Tab, Qt::NoModifier));
    EXPECT_FALSE(press(Qt::Key_A, Qt::ControlModifier));
    EXPECT_EQ(m_ctrl.getActiveIndex(), 0);
}

TEST_F(CMultiPageCtrlTest, SwitchingByKeyboardFocusesThePagesFirstField) {
    auto* page = m_pages[1];
    auto* layout = new QVBoxLayout(page);
    auto* hidden = new QLineEdit(page);
    hidden->hide();
    auto* field = new QLineEdit(page);
    layout->addWidget(hidden);
    layout->addWidget(field);
    m_ctrl.activateWindow();

    m_ctrl.checkMsg(QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, Qt::ControlModifier));
    EXPECT_EQ(page->focusWidget(), field);
}

TEST_F(CMultiPageCtrlTest, MissingPageIsRefused) {
    EXPECT_EQ(m_ctrl.insertPage("x", nullptr), -1);
    EXPECT_EQ(m_ctrl.getPageCount(), 3);
}

TEST(CMultiPageDialog, ScalesDesignRectanglesToItsSize) {
    CMultiPageDialog page;
    page.resize(800, 300);
    EXPECT_EQ(page.dialog2AppSize(QRect(10, 20, 30, 40)), QRect(10, 20, 30, 40));
    page.setDesignSize(QSize(400, 200));
    EXPECT_EQ(page.dialog2AppSize(QRect(10, 20, 30, 40)), QRect(20, 30, 60, 60));
}

} // namespace
} // namespace torva
