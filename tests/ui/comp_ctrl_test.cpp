#include "ui/controls/comp_ctrl.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>

#include <gtest/gtest.h>

namespace torva {
namespace {

TEST(CCompCtrl, TakesThePlaceholdersSlotInALayout) {
    QWidget page;
    auto* group = new QGroupBox("Korelacja", &page);
    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel("TPS 1"), 0, 0);
    auto* placeholder = new QLabel(group);
    placeholder->setObjectName("chartPlaceholder");
    placeholder->setMinimumSize(120, 80);
    grid->addWidget(placeholder, 1, 0, 1, 2);
    QPointer<QLabel> watched = placeholder;

    auto* chart = new CCompCtrl;
    ASSERT_TRUE(chart->CreateFromStatic("chartPlaceholder", &page));
    EXPECT_TRUE(watched.isNull());
    EXPECT_EQ(chart->parentWidget(), group);
    EXPECT_EQ(chart->objectName(), "chartPlaceholder");
    EXPECT_EQ(chart->minimumSize(), QSize(120, 80));
    int row = -1, column = -1, rowSpan = 0, columnSpan = 0;
    grid->getItemPosition(grid->indexOf(chart), &row, &column, &rowSpan, &columnSpan);
    EXPECT_EQ(row, 1);
    EXPECT_EQ(column, 0);
    EXPECT_EQ(columnSpan, 2);

    page.resize(400, 300);
    page.show();
    EXPECT_TRUE(chart->isVisible());
    EXPECT_GE(chart->width(), 120);
}

TEST(CCompCtrl, TakesThePlaceholdersGeometryWithoutALayout) {
    QWidget page;
    auto* placeholder = new QLabel(&page);
    placeholder->setGeometry(30, 40, 200, 90);
    auto* hidden = new QLabel(&page);
    hidden->setObjectName("hiddenPlaceholder");
    hidden->hide();

    auto* console = new CCompCtrl;
    ASSERT_TRUE(console->CreateFromStatic(placeholder));
    EXPECT_EQ(console->geometry(), QRect(30, 40, 200, 90));

    auto* other = new CCompCtrl(&page);
    ASSERT_TRUE(other->CreateFromStatic("hiddenPlaceholder", &page));
    page.show();
    EXPECT_TRUE(console->isVisible());
    EXPECT_FALSE(other->isVisible());
}

TEST(CCompCtrl, WithoutAPlaceholderNothingChanges) {
    QWidget page;
    CCompCtrl control;
    EXPECT_FALSE(control.CreateFromStatic("missing", &page));
    EXPECT_FALSE(control.CreateFromStatic("", &page));
    EXPECT_FALSE(control.CreateFromStatic("missing", nullptr));
    QLabel orphan;
    EXPECT_FALSE(control.CreateFromStatic(&orphan));
    EXPECT_EQ(control.parentWidget(), nullptr);
}

} // namespace
} // namespace torva
