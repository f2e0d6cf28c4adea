// torva-screenshots [--guide] FOLDER: the main window in demo mode (the settings page in front,
// then each editing page that has a picture of its own), its dialogs, a drive's coverage over the
// first calibration page, the backups dialog comparing it with a settings file, and the window
// with that file open offline, in Polish and in English, at 1280 × 800 and at the 800 × 530
// minimum, and the main window at 1280 × 800, the settings page and the axis dialogs in every
// other language with a file, saved as PNG files for people to look at. With --guide: only the
// pictures the user guide shows, in Polish and English, of the demo car driving on gas.
#include "config/config_diff_groups.h"
#include "config/settings_io.h"
#include "diag/diag_file.h"
#include "diag/lpg_thread_manager.h"
#include "document/veko2012_doc.h"
#include "lang/languages.h"
#include "lang/source_text.h"
#include "lang/translation.h"
#include "link/demo_engine.h"
#include "link/demo_sample.h"
#include "link/demo_state.h"
#include "link/lpg_device.h"
#include "ui/controls/multi_page_ctrl.h"
#include "ui/pages/calibration/calibration_page.h"
#include "ui/pages/calibration/emu_definition_dlg.h"
#include "ui/pages/calibration/rpm_definition_dlg.h"
#include "ui/pages/charts/osc_dlg.h"
#include "ui/pages/common/page_texts.h"
#include "ui/pages/common/value_combo.h"
#include "ui/pages/devdata/dev_data_dlg.h"
#include "ui/pages/maps/map_coverage_view.h"
#include "ui/pages/maps/map_grid.h"
#include "ui/pages/maps/value_entry_dlg.h"
#include "ui/pages/sensors/fuel_sensor_dlg.h"
#include "ui/pages/settings/settings_dlg.h"
#include "ui/pages/tps/seq_calibration_dlg.h"
#include "ui/pages/tps/sequence_chart.h"
#include "ui/pages/tps/tps2_corelation_dlg.h"
#include "ui/pages/tps/tps_correlation_chart.h"
#include "ui/shell/backups_dlg.h"
#include "ui/shell/main_frame.h"
#include "ui/shell/main_menu.h"
#include "ui/shell/main_view.h"
#include "ui/shell/no_connection_dlg.h"
#include "ui/shell/offline_commands.h"
#include "ui/shell/readings_view.h"
#include "ui/shell/veko_app.h"
#include "ui/shell/veko_doc.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
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
    // The map tools' value entry, refusing a value above the time map's ceiling.
    CValueEntryDlg entry(translatedText("Ustaw wartość"), translatedText("Wartość:"),
                         QStringLiteral("3.5"), {0, 20, "0.0", "20.0"}, parent);
    entry.show();
    entry.field()->setText(QStringLiteral("25.5"));
    entry.okButton()->click();
    entry.adjustSize();
    processEventsFor(100);
    failures += !saveWidget(entry, QStringLiteral("%1/value-entry-%2.png").arg(folder, language));
    return failures;
}

// A capture at a steady 1800 rpm: one speed edge per revolution, one camshaft edge every second
// revolution, on the controller's 16-bit counter of 2 µs steps.
torva::CapturePages steadyCapture() {
    torva::CapturePages pages{};
    const unsigned revolution = 30000000 / 1800;
    for (std::size_t page = 0; page < pages.size(); ++page)
        for (std::size_t i = 0; i < torva::kCaptureEdges; ++i) {
            const std::size_t edge = page * torva::kCaptureEdges + i;
            pages[page].rpmEdges[i] = static_cast<std::uint16_t>(edge * revolution);
            pages[page].camshaftEdges[i] =
                static_cast<std::uint16_t>(2 * edge * revolution + revolution / 4);
        }
    return pages;
}

// The two TPS dialogs over the demo controller; the correlation chart plots live samples.
int saveTpsDialogs(torva::CLPGDevice& device, QWidget& parent, const QString& folder,
                   const char* language) {
    int failures = 0;
    torva::CTPS2CorelationDlg correlation(device, &parent);
    correlation.show();
    // A pedal swept up and down: the second TPS follows at half the first's voltage.
    for (int step = 0; step < 400; ++step) {
        const int tps1 = 120 + (step * 7) % 240;
        torva::DiagSample sample{};
        sample.m_signal[4] = static_cast<std::uint16_t>(tps1);
        sample.m_signal[5] = static_cast<std::uint16_t>(tps1 * 9 / 10);
        sample.m_signal[6] = static_cast<std::uint16_t>(tps1 / 2 + step % 5);
        sample.m_signal[7] = static_cast<std::uint16_t>(tps1 * 9 / 20);
        correlation.chart().addSample(sample);
    }
    processEventsFor(300);
    failures += !saveWidget(
        correlation,
        QStringLiteral("%1/tps-correlation-%2.png").arg(folder, QString::fromLatin1(language)));
    correlation.accept();

    torva::CSeqCalibrationDlg sequence(device, &parent);
    sequence.chart().setPulses(torva::sequencePulses(torva::absoluteEdgeTimes(steadyCapture())));
    sequence.show();
    processEventsFor(300);
    failures += !saveWidget(
        sequence,
        QStringLiteral("%1/sequence-signals-%2.png").arg(folder, QString::fromLatin1(language)));
    sequence.accept();

    torva::CFuelSensorDlg sensor(device, &parent);
    sensor.show();
    sensor.showLiveLevel();
    processEventsFor(300);
    failures += !saveWidget(
        sensor, QStringLiteral("%1/fuel-sensor-%2.png").arg(folder, QString::fromLatin1(language)));
    sensor.accept();
    return failures;
}

// The whole settings page at once, below the part the main window shows.
int saveSettingsPage(torva::CVeko2012App& app, const QString& folder, const QString& language) {
    torva::CSettingsDlg settings(app.doc());
    settings.resize(1280, 960);
    settings.fillFromConfig();
    settings.show();
    processEventsFor(300);
    return !saveWidget(settings, QStringLiteral("%1/settings-page-%2.png").arg(folder, language));
}

// The editing pages pictured on their own, found by their titles.
struct SPagePicture {
    const char* title;
    const char* name;
    int settleMs; // the device data page shows its running times from the 11th refresh on
};
constexpr SPagePicture kPagePictures[] = {
    {PL("Zabezpieczenia"), "protection", 600},
    {PL("Dane ECU"), "devdata", 2600},
};

int pageIndex(const torva::CMultiPageCtrl& pages, const char* title) {
    const QString shown = QString::fromStdString(torva::translate(title));
    for (int i = 0; i < pages.getPageCount(); ++i) {
        if (pages.getTitle(i) == shown) {
            return i;
        }
    }
    return -1;
}

// Twenty minutes of a drive that idles, cruises and pulls hard now and then, over the lower
// two thirds of channel 1's axes, as a recording.
std::string writeDriveRecording(const torva::CDeviceConfig& config, const QString& folder) {
    const std::string path = (folder + QStringLiteral("/coverage-drive.oscd")).toStdString();
    std::ofstream out(path, std::ios::binary);
    const double rpmLow = config.m_mapRpmCoordinatesEmu1[1];
    const double rpmSpan = config.m_mapRpmCoordinatesEmu1[10] - rpmLow;
    const double loadLow = config.m_mapCoordinatesEmu1[0];
    const double loadSpan = config.m_mapCoordinatesEmu1[10] - loadLow;
    for (int i = 0; i < 12000; ++i) {
        const double pull = std::max(0.0, std::sin(i / 400.0));
        const double rpm = rpmLow + rpmSpan * pull * (0.6 + 0.4 * std::abs(std::sin(i / 37.0)));
        const double volts = loadLow + loadSpan * pull * std::abs(std::sin(i / 23.0));
        torva::DiagSample sample{};
        sample.m_rpmPeriod = static_cast<std::uint16_t>(15000000 / rpm);
        sample.m_fuelMode = 3;
        sample.m_signal[0] = static_cast<std::uint16_t>(volts / (0.003226 * 4.636));
        sample.m_gasInjTime = static_cast<std::uint16_t>(600 + 2200 * pull);
        out << torva::formatDiagLine(sample, config);
    }
    return path;
}

// Channel 1's page with a drive's coverage over both grids: counts, then the mean gas
// injection time in the cells.
int saveCoverage(torva::CCalibrationPage& page, const torva::CDeviceConfig& config, QWidget& frame,
                 const QString& folder, const QString& language) {
    using namespace torva;
    const std::string drive = writeDriveRecording(config, folder);
    page.coverage().showRecording(drive);
    int failures = 0;
    for (const int choice : {0, 1}) {
        page.coverage().chooser()->setCurrentIndex(choice);
        emit page.coverage().chooser()->activated(choice);
        for (const QSize size : {QSize(1280, 800), QSize(800, 530)}) {
            frame.resize(size);
            processEventsFor(700);
            failures += !saveWidget(frame, QStringLiteral("%1/coverage-%2-%3-%4x%5.png")
                                               .arg(folder)
                                               .arg(choice == 0 ? "counts" : "means")
                                               .arg(language)
                                               .arg(size.width())
                                               .arg(size.height()));
        }
    }
    page.coverage().hideCoverage();
    QFile::remove(QString::fromStdString(drive));
    return failures;
}

// The five calibration pages of a 24-volt controller that uses every channel, at both sizes.
int saveCalibrationPages(torva::CVeko2012App& app, const QString& folder, const QString& language) {
    using namespace torva;
    CMainFrame& frame = app.frame();
    CDeviceConfig& config = app.doc().device().config();
    const CDeviceConfig kept = config;
    config.m_devInfo.m_deviceID = 25;
    config.m_base.m_emuEnable = {1, 1, 1, 1};
    config.m_serviceSetup.m_advancedFlags2 |= 0x10;
    config.m_serviceSetup.m_advancedFlags2 &= ~0x80;
    config.m_serviceSetup.m_tpsDigitEmuEnable = 1;
    frame.mainView()->createPages();
    int failures = 0;
    CMultiPageCtrl* pages = frame.mainView()->pageCtrl();
    int number = 0;
    for (int index = 0; index < pages->getPageCount(); ++index) {
        if (dynamic_cast<CCalibrationPage*>(pages->getPage(index)) == nullptr)
            continue;
        ++number;
        pages->activatePage(index);
        for (const QSize size : {QSize(1280, 800), QSize(800, 530)}) {
            frame.resize(size);
            processEventsFor(700);
            failures += !saveWidget(frame, QStringLiteral("%1/calibration%2-%3-%4x%5.png")
                                               .arg(folder)
                                               .arg(number)
                                               .arg(language)
                                               .arg(size.width())
                                               .arg(size.height()));
        }
        if (number == 1)
            failures += saveCoverage(*static_cast<CCalibrationPage*>(pages->getPage(index)), config,
                                     frame, folder, language);
    }
    if (number != 5) {
        std::fprintf(stderr, "%d calibration pages instead of 5\n", number);
        ++failures;
    }
    config = kept;
    frame.mainView()->createPages();
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

// The main window as it opens (readings page above, the lower pane's first page below), the whole
// settings page and the axis dialogs in every further language that has a file, to check its
// script and caption widths.
int saveEveryLanguage(torva::CVeko2012App& app, const QString& folder) {
    using namespace torva;
    int failures = 0;
    QWidget& frame = app.frame();
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
        failures += saveSettingsPage(app, folder, code);
        failures += saveAxisDialogs(app.doc().device().config(), &frame, folder, code);
    }
    return failures;
}

// The window with a settings file open offline and changed (the live controls disabled), its
// File menu, and the question before unsaved changes would be lost.
int saveOfflineWindow(torva::CVeko2012App& app, const std::string& file, const QString& folder,
                      const QString& language) {
    using namespace torva;
    int failures = 0;
    CMainFrame& frame = app.frame();
    if (!frame.offlineCommands().open(file)) {
        std::fprintf(stderr, "could not open %s offline\n", file.c_str());
        return 1;
    }
    CLPGDevice& device = app.doc().device();
    device.config().m_base.m_switchTempr += 5;
    device.writeBlock(EBlock::Base);
    for (const QSize size : {QSize(1280, 800), QSize(800, 530)}) {
        frame.resize(size);
        processEventsFor(700);
        failures += !saveWidget(frame, QStringLiteral("%1/offline-%2-%3x%4.png")
                                           .arg(folder, language)
                                           .arg(size.width())
                                           .arg(size.height()));
    }
    if (QMenu* menu = frame.mainMenu()->findAction(PL("Plik"))->menu()) {
        menu->popup(frame.mapToGlobal(QPoint(0, 0)));
        processEventsFor(300);
        failures +=
            !saveWidget(*menu, QStringLiteral("%1/offline-file-menu-%2.png").arg(folder, language));
        menu->close();
    }
    // The question is modal: pictured once it is up, then answered Cancel.
    QTimer::singleShot(300, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            failures += !saveWidget(
                *box, QStringLiteral("%1/offline-unsaved-%2.png").arg(folder, language));
            box->button(QMessageBox::Cancel)->click();
        }
    });
    frame.offlineCommands().mayLeaveFile();
    // Back to the demo controller, the change left unsaved.
    app.doc().closeOffline();
    app.doc().searchAndConnect();
    frame.onOfflineChanged();
    processEventsFor(700);
    return failures;
}

// A user interface that hands one prepared file to the next file choice.
class CFileChoiceUi : public torva::CHeadlessUserInterface {
public:
    explicit CFileChoiceUi(std::string path) : m_path(std::move(path)) {}
    std::string chooseFile(const torva::SFileChoice&) override { return m_path; }

private:
    std::string m_path;
};

// The charts page showing a minute of the demo car's drive on gas, opened from a recording.
int saveChartsPicture(torva::CVeko2012App& app, const QString& folder, const QString& language) {
    using namespace torva;
    const std::string recording = (folder + QStringLiteral("/demo-drive.oscd")).toStdString();
    const CDeviceConfig config = app.doc().device().configCopy();
    CDiagFile file;
    if (!file.open(recording))
        return 1;
    for (double second = 0; second < kDemoDriveSeconds; second += 0.15)
        file.appendLine(demoSampleAt(config, second, kFuelModeGas), config);
    file.close();

    CMultiPageCtrl* upper = app.frame().readingsView()->pageCtrl();
    upper->activatePage(1);
    auto* charts = dynamic_cast<COscDlg*>(upper->getPage(1));
    if (charts == nullptr)
        return 1;
    CFileChoiceUi chooser(recording);
    IUserInterface& previous = appUi();
    setAppUi(&chooser);
    charts->OnBnClickedBtnOpen();
    setAppUi(&previous);
    processEventsFor(500);
    const int failures =
        !saveWidget(app.frame(), QStringLiteral("%1/charts-%2.png").arg(folder, language));
    charts->OnBnClickedBtnClear();
    upper->activatePage(0);
    QFile::remove(QString::fromStdString(recording));
    return failures;
}

// The user guide's pictures (docs/guide-*.md): the main window, the first calibration page with
// its live cell and trail and with a drive's coverage, the charts, the protection and ECU data
// pages, the settings page, the axis dialogs, the backups dialog and the question shown when no
// controller answers.
int saveGuidePictures(torva::CVeko2012App& app, const QString& folder) {
    using namespace torva;
    // Mid-drive and on gas, so the maps show their live cell moving and the emulation working.
    setDemoFuelMode(kFuelModeGas);
    restartDemoEngine(24.0);
    CMainFrame& frame = app.frame();
    CMultiPageCtrl* pages = frame.mainView()->pageCtrl();
    CMultiPageCtrl* upper = frame.readingsView()->pageCtrl();
    int failures = 0;
    const auto saveFrame = [&](const QString& name, int settleMs) {
        processEventsFor(settleMs);
        return !saveWidget(frame, QStringLiteral("%1/%2.png").arg(folder, name));
    };
    for (const char* language : {"pl", "en"}) {
        selectLanguage(std::strcmp(language, "pl") == 0 ? kPolishLanguage : kEnglishLanguage);
        const QString code = QString::fromLatin1(language);
        frame.resize(1280, 800);
        pages->activatePage(0);
        upper->activatePage(0);
        failures += saveFrame(QStringLiteral("main-") + code, 1200);

        for (int index = 0; index < pages->getPageCount(); ++index) {
            auto* calibration = dynamic_cast<CCalibrationPage*>(pages->getPage(index));
            if (calibration == nullptr)
                continue;
            pages->activatePage(index);
            calibration->timeGrid().map().selectRect(9, 6, 11, 8);
            calibration->emulationGrid().map().selectRect(9, 6, 11, 8);
            failures += saveFrame(QStringLiteral("calibration-") + code, 1500);
            // The same page with a drive's mean gas injection time per cell.
            const std::string drive = writeDriveRecording(app.doc().device().configCopy(), folder);
            calibration->coverage().showRecording(drive);
            calibration->coverage().chooser()->setCurrentIndex(1);
            emit calibration->coverage().chooser()->activated(1);
            failures += saveFrame(QStringLiteral("coverage-") + code, 300);
            calibration->coverage().hideCoverage();
            QFile::remove(QString::fromStdString(drive));
            break;
        }
        failures += saveChartsPicture(app, folder, code);

        for (const SPagePicture& picture : kPagePictures) {
            const int index = pageIndex(*pages, picture.title);
            if (index < 0 || !pages->activatePage(index)) {
                std::fprintf(stderr, "no page %s\n", picture.name);
                ++failures;
                continue;
            }
            if (auto* devData = dynamic_cast<CDevDataDlg*>(pages->getPage(index)))
                devData->OnBnClickedBtnReadErrors();
            failures += saveFrame(QString::fromLatin1(picture.name) + "-" + code, picture.settleMs);
        }
        pages->activatePage(0);
        failures += saveSettingsPage(app, folder, code);
        failures += saveAxisDialogs(app.doc().device().config(), &frame, folder, code);

        const std::string example = writeDifferingFile(app, folder);
        CBackupsDlg backups(app.doc(), &frame);
        backups.addFile(example);
        backups.selectGroup(*diffGroupOfKey("m_mapEmu1[0][0]"));
        backups.resize(1100, 700);
        backups.show();
        processEventsFor(300);
        failures += !saveWidget(backups, QStringLiteral("%1/backups-%2.png").arg(folder, code));
        backups.close();
        QFile::remove(QString::fromStdString(example));

        const auto translated = [](const char* text) {
            return QString::fromStdString(translate(text));
        };
        CNoConnectionDlg question(
            {translated(PL("Aplikacja nie może nawiązać połączenia ze sterownikiem na żadnym z "
                           "portów COM komputera.")),
             translated(PL("Brak połączenia")), translated(PL("Uruchom w trybie demo")),
             translated(PL("Uruchom bez połączenia"))},
            &frame);
        question.show();
        processEventsFor(100);
        failures +=
            !saveWidget(question, QStringLiteral("%1/no-connection-%2.png").arg(folder, code));
        question.close();
    }
    selectLanguage(kPolishLanguage);
    return failures;
}

} // namespace

int main(int argc, char** argv) {
    using namespace torva;
    const bool guide = argc == 3 && std::strcmp(argv[1], "--guide") == 0;
    if (argc != 2 && !guide) {
        std::fprintf(stderr, "Usage: torva-screenshots [--guide] FOLDER\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    openLanguageFiles();
    selectLanguage(kPolishLanguage);
    lpgThreadManager();
    QApplication application(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[argc - 1]);
    QDir().mkpath(folder);

    CVeko2012App app(demoOptions());
    if (!app.start()) {
        return 1;
    }
    CMainFrame& frame = app.frame();
    frame.show();
    if (guide) {
        const int failures = saveGuidePictures(app, folder);
        app.shutdown();
        return failures == 0 ? 0 : 1;
    }
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
            const QString suffix = QStringLiteral("%1-%2x%3.png")
                                       .arg(QString::fromLatin1(language.name))
                                       .arg(size.width())
                                       .arg(size.height());
            failures += !saveWidget(frame, folder + QStringLiteral("/main-") + suffix);
            CMultiPageCtrl* pages = frame.mainView()->pageCtrl();
            for (const SPagePicture& picture : kPagePictures) {
                const int index = pageIndex(*pages, picture.title);
                if (index < 0 || !pages->activatePage(index)) {
                    std::fprintf(stderr, "no page %s\n", picture.name);
                    ++failures;
                    continue;
                }
                if (auto* devData = dynamic_cast<CDevDataDlg*>(pages->getPage(index))) {
                    devData->OnBnClickedBtnReadErrors();
                }
                processEventsFor(picture.settleMs);
                const QString name = QString::fromLatin1(picture.name);
                failures += !saveWidget(frame, folder + QStringLiteral("/%1-").arg(name) + suffix);
            }
            pages->activatePage(0);
            // The charts in the upper pane, with the settings page below them.
            CMultiPageCtrl* upper = frame.readingsView()->pageCtrl();
            upper->activatePage(1);
            processEventsFor(600);
            failures += !saveWidget(frame, folder + QStringLiteral("/charts-") + suffix);
            upper->activatePage(0);
        }
        failures += saveAxisDialogs(app.doc().device().config(), &frame, folder,
                                    QString::fromLatin1(language.name));
        failures += saveTpsDialogs(app.doc().device(), frame, folder, language.name);
        failures += saveSettingsPage(app, folder, QString::fromLatin1(language.name));
        failures += saveCalibrationPages(app, folder, QString::fromLatin1(language.name));
    }
    failures += saveEveryLanguage(app, folder);
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
        failures += saveOfflineWindow(app, example, folder, QString::fromLatin1(language.name));
    }
    QFile::remove(QString::fromStdString(example));
    app.shutdown();
    return failures == 0 ? 0 : 1;
}
