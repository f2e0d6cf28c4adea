#include "ui/controls/ext_tr_list_ctrl.h"

#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QPixmap>
#include <QTest>

#include <gtest/gtest.h>

namespace torva {
namespace {

// The fault list of the device data page.
class CExtTrListCtrlTest : public ::testing::Test {
protected:
    CExtTrListCtrlTest() {
        m_list.resize(400, 200);
        m_list.InsertColumn(0, "Nr", 50);
        m_list.InsertColumn(1, "Opis", 2000);
        m_list.SetFullRowSel(true);
        m_list.SetTextColor(QColor(150, 0, 0));
        m_list.SetGridColor(QColor(50, 185, 68));
        m_list.SetSelTextBkColor(QColor(50, 185, 68));
    }

    void addRow(const QString& number, const QString& text) {
        const int row = m_list.InsertItem(m_list.GetItemCount(), number);
        m_list.SetItemText(row, 1, text);
    }

    CExtTrListCtrl m_list;
};

TEST_F(CExtTrListCtrlTest, ColumnsKeepTheirHeadingsAndWidths) {
    ASSERT_EQ(m_list.columnCount(), 2);
    EXPECT_EQ(m_list.horizontalHeaderItem(0)->text(), "Nr");
    EXPECT_EQ(m_list.horizontalHeaderItem(1)->text(), "Opis");
    EXPECT_EQ(m_list.columnWidth(0), 50);
    EXPECT_EQ(m_list.columnWidth(1), 2000);
    EXPECT_EQ(m_list.InsertColumn(99, "Extra", 10), 2);
}

TEST_F(CExtTrListCtrlTest, RowsAreInsertedWhereAskedAndEmptiedTogether) {
    addRow("1", "Czujnik ciśnienia gazu: zwarcie");
    addRow("2", "Wtryskiwacz 3: przerwa");
    EXPECT_EQ(m_list.InsertItem(0, "0"), 0);
    ASSERT_EQ(m_list.GetItemCount(), 3);
    EXPECT_EQ(m_list.GetItemText(0, 0), "0");
    EXPECT_EQ(m_list.GetItemText(0, 1), "");
    EXPECT_EQ(m_list.GetItemText(1, 1), "Czujnik ciśnienia gazu: zwarcie");
    EXPECT_EQ(m_list.GetItemText(2, 0), "2");
    EXPECT_FALSE(m_list.SetItemText(3, 0, "x"));
    EXPECT_FALSE(m_list.SetItemText(0, 2, "x"));
    EXPECT_EQ(m_list.GetItemText(5, 5), "");

    m_list.DeleteAllItems();
    EXPECT_EQ(m_list.GetItemCount(), 0);
    EXPECT_EQ(m_list.columnCount(), 2); // the headings stay

    CExtTrListCtrl bare;
    EXPECT_EQ(bare.InsertItem(0, "1"), -1);
}

TEST_F(CExtTrListCtrlTest, AClickSelectsTheWholeRowAndNothingIsEditable) {
    addRow("1", "Błąd A");
    addRow("2", "Błąd B");
    m_list.show();
    const QRect cell = m_list.visualItemRect(m_list.item(1, 0));
    QTest::mouseClick(m_list.viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_TRUE(m_list.item(1, 0)->isSelected());
    EXPECT_TRUE(m_list.item(1, 1)->isSelected());
    EXPECT_FALSE(m_list.item(0, 1)->isSelected());
    QTest::mouseDClick(m_list.viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(m_list.findChild<QLineEdit*>(), nullptr); // no editor opened

    m_list.SetFullRowSel(false);
    m_list.clearSelection();
    QTest::mouseClick(m_list.viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_TRUE(m_list.item(1, 0)->isSelected());
    EXPECT_FALSE(m_list.item(1, 1)->isSelected());
}

TEST_F(CExtTrListCtrlTest, DrawsGridLinesAndSelectionInItsColours) {
    addRow("1", "Błąd A");
    addRow("2", "Błąd B");
    m_list.selectRow(0);
    m_list.show();
    const QImage image = m_list.viewport()->grab().toImage();
    const QRect first = m_list.visualItemRect(m_list.item(0, 0));
    const QRect second = m_list.visualItemRect(m_list.item(1, 0));
    // The vertical grid line between the columns of the unselected row.
    bool gridFound = false;
    for (int x = second.right() - 1; x <= second.right() + 2; ++x) {
        gridFound = gridFound || image.pixelColor(x, second.center().y()) == QColor(50, 185, 68);
    }
    EXPECT_TRUE(gridFound);
    const QColor selected = image.pixelColor(first.center().x() + 15, first.top() + 2);
    EXPECT_EQ(selected, QColor(50, 185, 68));
    const QColor plain = image.pixelColor(second.center().x() + 15, second.top() + 2);
    EXPECT_NE(plain, QColor(50, 185, 68));
}

} // namespace
} // namespace torva
