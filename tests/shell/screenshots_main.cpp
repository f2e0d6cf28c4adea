// torva-screenshots FOLDER: the main window in demo mode, its dialogs, and the backups dialog
// comparing it with a settings file, in Polish and in English, at 1280 × 800 and at the
// 800 × 530 minimum, and the main window at 1280 × 800 with the axis dialogs in every other
// language with a file, saved as PNG files for people to look at.
#include "config/config_diff_groups.h"
#include "config/document/veko2012_doc.h"
#include "config/settings_io.h"
#include "diag/lpg_thread_manager.h"
#include "lang/languages.h"
#include "lang/translation.h"
#include "ui/pages/calibration/emu_definition_dlg.h"
#include "ui/pages/calibration/rpm_definition_dlg.h"
#include "ui/shell/backups_dlg.h"
#include "ui/shell/main_frame.h"
#include "ui/shell/veko_app.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>

#include <cstdio>
#include <map>

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

// A settings file that differs from the demo controller in a few settings and map cells.
std::string writeDifferingFile(torva::CVeko2012App& app, const QString& folder) {
    torva::CDeviceConfig other = app.doc().device().config();
    other.m_timeStamp = "07-03-2014-15:04:09";
    other.m_base.m_switchRPM += 300;
    other.m_base.m_switchTempr += 5;
    other.m_mapEmu1[4][6] += 12;
    other.m_mapEmu1[5][6] += 10;
    other.m_mapEmu1[5][7] += 8;
    const std::string path = (folder + QStringLiteral("/backup-example.dsettings")).toStdString();
    torva::writeSettings(path, other);
    return path;
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

// Two-letter code of a language menu entry, for the file names.
QString languageCode(int index) {
    static const std::map<int, const char*> codes{
        {0, "pl"}, {1, "en"},  {2, "ru"},  {3, "it"},  {4, "de"},  {5, "th"},  {7, "es"},
        {8, "fr"}, {11, "el"}, {13, "sr"}, {14, "hr"}, {15, "bs"}, {18, "bg"}, {19, "sl"}};
    const auto it = codes.find(index);
    return QString::fromLatin1(it == codes.end() ? "xx" : it->second);
}

// The main window as it opens (readings page above, the lower pane's first page below) and the
// axis dialogs in every further language that has a file, to check its script and caption widths.
int saveEveryLanguage(const torva::CDeviceConfig& config, QWidget& frame, const QString& folder) {
    using namespace torva;
    int failures = 0;
    frame.resize(1280, 800);
    for (const SLanguage& language : languageMenu()) {
        if (language.index == kPolishLanguage || language.index == kEnglishLanguage)
            continue; // saved with the dialogs
        const QString code = languageCode(language.index);
        if (!isLanguageAvailable(language.index)) {
            std::fprintf(stderr, "no language file for %s\n", qPrintable(code));
            continue;
        }
        selectLanguage(language.index);
        processEventsFor(1500);
        failures += !saveWidget(frame, QStringLiteral("%1/main-%2-1280x800.png").arg(folder, code));
        failures += saveAxisDialogs(config, &frame, folder, code);
    }
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
    failures += saveEveryLanguage(app.doc().device().config(), frame, folder);
    const std::string example = writeDifferingFile(app, folder);
    for (const auto& language : languages) {
        selectLanguage(language.language);
        for (const QSize& size : sizes) {
            CBackupsDlg backups(app.doc(), &frame);
            backups.addFile(example);
            backups.selectGroup(*diffGroupOfKey("m_mapEmu1[0][0]"));
            backups.resize(size);
            backups.show();
            processEventsFor(300);
            const QString path = QStringLiteral("%1/backups-%2-%3x%4.png")
                                     .arg(folder, QString::fromLatin1(language.name))
                                     .arg(size.width())
                                     .arg(size.height());
            failures += !saveWidget(backups, path);
        }
    }
    QFile::remove(QString::fromStdString(example));
    app.shutdown();
    return failures == 0 ? 0 : 1;
}
