#include "ui/controls/wheel_guard.h"

#include <QApplication>

#include <gtest/gtest.h>

// Widgets need an application object; without a display the tests draw offscreen.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    // As the program runs: a wheel changes only the control that has the focus.
    torva::CWheelGuard::install();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
