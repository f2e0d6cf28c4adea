// torva-screenshots FOLDER: the main window in demo mode, in Polish and in English, at
// 1280 × 800 and at the 800 × 530 minimum, and the axis dialogs, saved as PNG files for people
// to look at.
#include "config/document/veko2012_doc.h"
#include "diag/lpg_thread_manager.h"
#include "lang/languages.h"
#include "lang/translation.h"
#include "ui/pages/calibration/emu_definition_dlg.h"
#include "ui/pages/calibration/rpm_definition_dlg.h"
#include "ui/shell/main_frame.h"
#include "ui/shell/veko_app.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>

#include <cstdio>

namespace {

void processEventsFor(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

bool saveWidget(QWidget& widget, const QString& path) {
    if (widget.grab().save(path)) {
        std::printf("%s\n", qPrintable(path));
        return true;
    }
    std::fprintf(stderr, "could not write %s\n", qPrintable(path));
    return false;
}

// The axis dialogs of channel 1 as they open, and the RPM dialog refusing a range whose points
// would repeat.
int saveAxisDialogs(const torva::CDeviceConfig& config, QWidget* parent, const QString& folder,
                    const QString& language) {
    using namespace torva;
    int failures = 0;
    CEmuDefinitionDlg definition(config, EEmuChannel::Emu1, parent);
    definition.show();
    processEventsFor(100);
    failures +=
        !saveWidget(definition, QStringLiteral("%1/emu-definition-%2.png").arg(folder, language));
    CRpmDefinitionDlg rpm(config.m_mapRpmCoordinatesEmu1[0],
                          config.m_mapRpmCoordinatesEmu1[kMapColumns - 1], parent);
    rpm.show();
    processEventsFor(100);
    failures += !saveWidget(rpm, QStringLiteral("%1/rpm-definition-%2.png").arg(folder, language));
    rpm.minRpmEdit()->setText(QStringLiteral("1500"));
    rpm.maxRpmEdit()->setText(QStringLiteral("1600"));
    rpm.okButton()->click();
    rpm.adjustSize();
    processEventsFor(100);
    failures +=
        !saveWidget(rpm, QStringLiteral("%1/rpm-definition-refused-%2.png").arg(folder, language));
    return failures;
}

} // namespace

int main(int argc, char** argv) {
    using namespace torva;
    if (argc != 2) {
        std::fprintf(stderr, "Usage: torva-screenshots FOLDER\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    openLanguageFiles();
    selectLanguage(kPolishLanguage);
    lpgThreadManager();
    QApplication application(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);

    CVeko2012App app(demoOptions());
    if (!app.start()) {
        return 1;
    }
    CMainFrame& frame = app.frame();
    frame.show();
    const struct {
        int language;
        const char* name;
    } languages[] = {{kPolishLanguage, "pl"}, {kEnglishLanguage, "en"}};
    const QSize sizes[] = {QSize(1280, 800), QSize(800, 530)};
    int failures = 0;
    for (const auto& language : languages) {
        selectLanguage(language.language);
        for (const QSize& size : sizes) {
            frame.resize(size);
            // Long enough for the demo samples to reach the gauges and the switch panel.
            processEventsFor(1500);
            const QString path = QStringLiteral("%1/main-%2-%3x%4.png")
                                     .arg(folder, QString::fromLatin1(language.name))
                                     .arg(size.width())
                                     .arg(size.height());
            failures += !saveWidget(frame, path);
        }
        failures += saveAxisDialogs(app.doc().device().config(), &frame, folder,
                                    QString::fromLatin1(language.name));
    }
    app.shutdown();
    return failures == 0 ? 0 : 1;
}
