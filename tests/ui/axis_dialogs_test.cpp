#include "ui/pages/calibration/emu_definition_dlg.h"
#include "ui/pages/calibration/rpm_definition_dlg.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace torva {
namespace {

TEST(AxisDialogs, DefinitionDialogTakesOnlyWhatTheRulesAccept) {
    CDeviceConfig config;
    CEmuDefinitionDlg dialog(config, EEmuChannel::Emu1);
    dialog.show();
    EXPECT_EQ(dialog.minRpmEdit()->text(), "500"); // the record's end points
    EXPECT_EQ(dialog.scaleCombo()->currentIndex(), 0);

    dialog.minValueEdit()->setText("0,5"); // a decimal comma
    dialog.maxValueEdit()->setText("4.5");
    dialog.minRpmEdit()->setText("800");
    dialog.maxRpmEdit()->setText("1400"); // below 1500: refused, naming the limit
    dialog.okButton()->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.problemLabel()->text().contains("1500"));

    dialog.maxValueEdit()->setText("0.2"); // maximum below the minimum
    dialog.okButton()->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.problemLabel()->text(), "Maksymalna wartość musi być większa od minimalnej.");
    dialog.maxValueEdit()->setText("4.5");

    dialog.minRpmEdit()->setText("1500");
    dialog.maxRpmEdit()->setText("1600"); // points would repeat: the smallest span is named
    dialog.okButton()->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.problemLabel()->text().contains("1443"));

    dialog.maxRpmEdit()->setText("4000");
    dialog.okButton()->click();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_TRUE(dialog.newAxes() && dialog.newAxes()->load && dialog.newAxes()->rpm);
    EXPECT_EQ((*dialog.newAxes()->load)[1], 0.75);
    EXPECT_EQ((*dialog.newAxes()->rpm)[0], 1500);
    EXPECT_EQ(config.m_mapCoordinatesEmu1[15], CDeviceConfig().m_mapCoordinatesEmu1[15]);
}

TEST(AxisDialogs, RpmDialogBuildsTheAxisFromItsRange) {
    CRpmDefinitionDlg dialog(800, 4000);
    dialog.show();
    dialog.maxRpmEdit()->setText("max");
    dialog.okButton()->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.problemLabel()->isHidden());
    dialog.maxRpmEdit()->setText("7000"); // above the limit
    dialog.okButton()->click();
    EXPECT_TRUE(dialog.problemLabel()->text().contains("6000"));
    dialog.maxRpmEdit()->setText("4000");
    dialog.okButton()->click();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.rpmAxis()[13], 3600);
    EXPECT_EQ(dialog.rpmAxis()[14], 4000);
}

} // namespace
} // namespace torva
