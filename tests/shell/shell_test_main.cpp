#include "lang/translation.h"
#include "ui/controls/wheel_guard.h"

#include <QApplication>

#include <gtest/gtest.h>

// Windows need an application object; without a display the tests draw offscreen. The language
// files beside the binary are opened as the program opens them.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    torva::openLanguageFiles();
    QApplication application(argc, argv);
    // As the program runs: a wheel changes only the control that has the focus.
    torva::CWheelGuard::install();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
