// The window with a settings file open offline: pages edit the file as they would a controller,
// undo works, Save writes what the controller would hold (keeping the previous version), unsaved
// changes are asked about, and "Zapisz do sterownika…" writes only the ticked groups.
#include "config/block_codec.h"
#include "config/config_diff_groups.h"
#include "config/device_type.h"
#include "config/environment_guard.h"
#include "config/process_state_guard.h"
#include "config/settings_backup.h"
#include "config/settings_io.h"
#include "document/veko2012_doc.h"
#include "lang/languages.h"
#include "lang/translation.h"
#include "link/lpg_device.h"
#include "maps/map_array.h"
#include "maps/map_edit.h"
#include "sim/simulator.h"
#include "support/temp_folder.h"
#include "ui/controls/cell_array.h"
#include "ui/controls/item_edit.h"
#include "ui/controls/msm_caption_bar.h"
#include "ui/controls/multi_page_ctrl.h"
#include "ui/pages/calibration/calibration_pages.h"
#include "ui/pages/calibration/emu_definition_dlg.h"
#include "ui/pages/charts/osc_dlg.h"
#include "ui/pages/common/live_only.h"
#include "ui/pages/common/up_down_field.h"
#include "ui/pages/devdata/dev_data_dlg.h"
#include "ui/pages/maps/map_grid.h"
#include "ui/pages/readings/readings_dlg.h"
#include "ui/pages/settings/settings_dlg.h"
#include "ui/shell/backups_dlg.h"
#include "ui/shell/main_frame.h"
#include "ui/shell/main_menu.h"
#include "ui/shell/main_view.h"
#include "ui/shell/no_connection_dlg.h"
#include "ui/shell/offline_commands.h"
#include "ui/shell/veko_app.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace torva {
namespace {

std::string readBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// Answers the message boxes (with questionAnswer) and, once the comparison opens, ticks the
// base settings, applies them and closes it.
class CUser {
public:
    CUser() {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { answer(); });
        m_timer.start(10);
    }

    QMessageBox::StandardButton questionAnswer = QMessageBox::Yes;
    QString chosenFile; // what a file dialog is given
    QStringList boxTexts;
    int comparisons = 0;

private:
    void answer() {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            boxTexts << box->text();
            // The comparison's own question (Yes/No) is answered Yes.
            QAbstractButton* button = box->button(questionAnswer);
            if (button == nullptr)
                button = box->button(QMessageBox::Yes);
            (button != nullptr ? button : box->buttons().first())->click();
        } else if (auto* compare = qobject_cast<CBackupsDlg*>(modal); compare && !m_comparing) {
            ++comparisons;
            m_comparing = true;
            auto* groups = compare->findChild<QListWidget*>("groups");
            for (int row = 0; row < groups->count(); ++row) {
                QListWidgetItem* item = groups->item(row);
                if (item->data(Qt::UserRole).toULongLong() == *diffGroupOfKey("m_base.m_flags"))
                    item->setCheckState(Qt::Checked);
            }
            // Outside this timer's handler, so that the apply's question is answered by it.
            QTimer::singleShot(0, compare, [this, compare] {
                compare->findChild<QPushButton*>("apply")->click();
                compare->reject();
                m_comparing = false;
            });
        } else if (auto* files = qobject_cast<QFileDialog*>(modal)) {
            files->selectFile(chosenFile);
            static_cast<QDialog*>(files)->accept(); // the dialog's own accept takes the name
        } else if (auto* choice = qobject_cast<CNoConnectionDlg*>(modal)) {
            // A failed connection fails the test instead of hanging it.
            boxTexts << QStringLiteral("no connection");
            choice->withoutButton()->click();
        }
    }

    QTimer m_timer;
    bool m_comparing = false;
};

class OfflineWindow : public ::testing::Test {
protected:
    OfflineWindow() {
        selectLanguage(kPolishLanguage);
        m_record.m_timeStamp = "07-03-2014-15:04:09";
        m_record.m_devInfo.m_deviceID = kDeviceType25;
        m_record.m_devInfo.m_version = 0x12F;
        m_record.m_devInfo.m_flags1 = 5;
        m_record.m_devInfo.m_serial = "DI001";
        m_record.m_base.m_emuEnable[0] = 1; // the first calibration page
        for (auto& row : m_record.m_mapTimeEmu1)
            row.fill(1.0);
        m_path = m_home.file("car.dsettings");
        EXPECT_TRUE(writeSettings(m_path, m_record));
    }

    template <class Page> Page* page(CVeko2012App& app) {
        CMultiPageCtrl* pages = app.frame().mainView()->pageCtrl();
        for (int i = 0; i < pages->getPageCount(); ++i) {
            if (auto* found = dynamic_cast<Page*>(pages->getPage(i))) {
                pages->activatePage(i);
                QApplication::processEvents();
                return found;
            }
        }
        return nullptr;
    }
    // Pages without a meta-object of their own, which findChild cannot tell apart.
    template <class Widget> static Widget* widget(CVeko2012App& app) {
        for (QWidget* child : app.frame().findChildren<QWidget*>()) {
            if (auto* found = dynamic_cast<Widget*>(child))
                return found;
        }
        return nullptr;
    }
    static QString caption(CVeko2012App& app) { return app.frame().captionBar()->captionText(); }
    static QAction* menu(CVeko2012App& app, const char* text) {
        return app.frame().mainMenu()->findAction(text);
    }
    // The pages are built again once the command that changed the link has returned.
    static void settle() {
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
    }

    test::CProcessStateGuard m_processState;
    test::CTempFolder m_home;
    test::CEnvironmentGuard m_homeVariable{"HOME", m_home.path()};
    test::CEnvironmentGuard m_configVariable{"XDG_CONFIG_HOME", m_home.path() + "/.config"};
    CDeviceConfig m_record{kDeviceType25};
    std::string m_path;
};

TEST_F(OfflineWindow, EditsAndUndoReachTheSavedFileAsTheControllerWouldHoldThem) {
    SAppOptions options;
    options.offlineFile = m_path;
    CUser user;
    CVeko2012App app(options);
    ASSERT_TRUE(app.start());
    app.frame().show();
    settle();
    CLPGDevice& device = app.doc().device();
    ASSERT_TRUE(device.isOffline()) << user.boxTexts.join("\n").toStdString();
    EXPECT_TRUE(caption(app).endsWith("PLIK OFFLINE: car.dsettings")) << caption(app).toStdString();
    EXPECT_FALSE(app.doc().polling().isPolling());
    EXPECT_FALSE(app.frame().refreshTimerActive());
    EXPECT_TRUE(menu(app, "Zapisz")->isEnabled());
    EXPECT_FALSE(menu(app, "Aktualizacja sterownika...")->isEnabled());

    // What needs the engine is disabled and says why, wherever it lives in the window.
    const QString why = QString::fromStdString(translate(live_only::kNeedsController));
    auto* readings = widget<CReadingsDlg>(app);
    auto* chart = widget<COscDlg>(app);
    auto* faults = widget<CDevDataDlg>(app);
    ASSERT_TRUE(readings != nullptr && chart != nullptr && faults != nullptr);
    for (QPushButton* live : {readings->autoButton(), readings->gasButton(), chart->recordButton(),
                              faults->readErrorsButton(), faults->clearErrorsButton()}) {
        EXPECT_FALSE(live->isEnabled()) << live->text().toStdString();
        EXPECT_EQ(live->toolTip(), why) << live->text().toStdString();
    }

    // A setting: written at once, as online, without a word about a missing controller.
    auto* settings = page<CSettingsDlg>(app);
    ASSERT_NE(settings, nullptr);
    EXPECT_FALSE(settings->tpsCalibrationButton()->isEnabled());
    EXPECT_FALSE(settings->tpsCalibrationButton()->toolTip().isEmpty());
    // Widgets are touched on the window's thread only, though page writes run on a helper.
    std::atomic<int> captionsOffThread{0};
    QObject::connect(
        &app.frame(), &QWidget::windowTitleChanged, &app.frame(),
        [&] { captionsOffThread += QThread::currentThread() != qApp->thread(); },
        Qt::DirectConnection);
    // One click (20 rpm) changes the record but not what the controller keeps (hundreds).
    settings->spinField(ESettingsSpin::SwitchRpm)->stepBy(1);
    EXPECT_EQ(device.config().m_base.m_switchRPM, 1220);
    settle(); // the write runs on a helper thread; the caption follows on the window's
    EXPECT_TRUE(caption(app).endsWith("car.dsettings")) << caption(app).toStdString();
    for (int click = 0; click < 4; ++click)
        settings->spinField(ESettingsSpin::SwitchRpm)->stepBy(1);
    EXPECT_EQ(device.config().m_base.m_switchRPM, 1300);
    settle();
    EXPECT_TRUE(caption(app).endsWith("car.dsettings*"));
    EXPECT_EQ(captionsOffThread.load(), 0);

    // A map cell raised twice and one step undone.
    auto* calibration = page<CCalibration1>(app);
    ASSERT_NE(calibration, nullptr);
    CCellArray& grid = calibration->timeGrid().view();
    QTest::mouseClick(&grid, Qt::LeftButton, {}, grid.cellRect(4, 6).center());
    QTest::keyClick(&grid, Qt::Key_Up, Qt::ControlModifier);
    QTest::keyClick(&grid, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(device.config().m_mapTimeEmu1[4][6], 1.2);
    QTest::keyClick(&grid, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(device.config().m_mapTimeEmu1[4][6], 1.1);
    EXPECT_TRUE(user.boxTexts.isEmpty()) << user.boxTexts.join("\n").toStdString();

    const std::string before = readBytes(m_path);
    app.frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&app.frame()));
    QTest::keyClick(&grid, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(caption(app).endsWith("car.dsettings")) << caption(app).toStdString();
    CDeviceConfig saved(kDeviceType25);
    ASSERT_TRUE(readSettings(m_path, saved, kDeviceType25));
    EXPECT_EQ(saved.m_base.m_switchRPM, 1300);
    EXPECT_DOUBLE_EQ(saved.m_mapTimeEmu1[4][6], 1.1);
    EXPECT_DOUBLE_EQ(saved.m_mapTimeEmu1[4][7], 1.0);
    // The version it replaced is in the Backup folder, byte for byte.
    const std::vector<SBackupFile> backups = listSettingsBackups(device.config().m_devInfo);
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(backups.front().reason, EBackupReason::FileSave);
    EXPECT_EQ(readBytes(backups.front().path), before);
    EXPECT_TRUE(user.boxTexts.isEmpty()) << user.boxTexts.join("\n").toStdString();
}

TEST_F(OfflineWindow, MapToolsHeadersAndTheAxisDialogEditTheFileWithTheOnlineRefusals) {
    SAppOptions options;
    options.offlineFile = m_path;
    options.simulate = true; // a controller is there, and must hear nothing
    CUser user;
    CVeko2012App app(options);
    ASSERT_TRUE(app.start());
    app.frame().resize(1280, 800);
    app.frame().show();
    settle();
    CLPGDevice& device = app.doc().device();
    ASSERT_TRUE(device.isOffline());
    auto* calibration = page<CCalibration1>(app);
    ASSERT_NE(calibration, nullptr);
    CMapArray& time = calibration->timeGrid().map();

    // A tool over a selection, and one whose result the map cannot hold: refused, nothing kept.
    time.selectRect(2, 3, 4, 3);
    EXPECT_EQ(time.setSelectedTo(2.5), EEditResult::Done);
    EXPECT_DOUBLE_EQ(device.offlineRecord().m_mapTimeEmu1[3][4], 2.5);
    const std::uint64_t edits = device.offlineEdits();
    EXPECT_EQ(time.scaleSelected(100000), EEditResult::Refused);
    EXPECT_EQ(device.offlineEdits(), edits);
    EXPECT_DOUBLE_EQ(device.offlineRecord().m_mapTimeEmu1[3][4], 2.5);
    EXPECT_EQ(time.undo(), EEditResult::Done);
    EXPECT_DOUBLE_EQ(device.offlineRecord().m_mapTimeEmu1[3][4], 1.0);
    EXPECT_EQ(time.redo(), EEditResult::Done);

    // The axis definition dialog (it lays out the RPM axis too).
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<CEmuDefinitionDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->minValueEdit()->setText("1.00");
        dialog->maxValueEdit()->setText("4.00");
        dialog->okButton()->click();
    });
    QTest::mouseClick(calibration->definitionButton(), Qt::LeftButton);
    // As the controller keeps it, to its resolution.
    EXPECT_NEAR(device.offlineRecord().m_mapCoordinatesEmu1[0], 1.0, 0.02);
    EXPECT_NEAR(device.offlineRecord().m_mapCoordinatesEmu1[kMapRows - 1], 4.0, 0.02);

    // An RPM header typed in place; a load point out of order is refused as online.
    CCellArray& grid = calibration->timeGrid().view();
    const auto typeHeader = [&grid](int row, int column, const QString& text) {
        QTest::mouseDClick(&grid, Qt::LeftButton, {}, grid.cellRect(row, column).center());
        auto* edit = grid.findChild<CCellArrayEdit*>();
        ASSERT_NE(edit, nullptr);
        ASSERT_TRUE(edit->isVisible());
        edit->setText(text);
        QTest::keyClick(edit, Qt::Key_Return);
    };
    const RpmAxis rpm = device.config().m_mapRpmCoordinatesEmu1;
    const double between = rpm[3] + CMapEdit::kRpmStep;
    ASSERT_LT(between, rpm[4]);
    typeHeader(-1, 3, QString::number(between));
    EXPECT_DOUBLE_EQ(device.offlineRecord().m_mapRpmCoordinatesEmu1[3], between);
    const LoadAxis load = device.config().m_mapCoordinatesEmu1;
    typeHeader(5, -1, QString::number(load[kMapRows - 1] + 1, 'f', 2));
    EXPECT_EQ(device.offlineRecord().m_mapCoordinatesEmu1, load);
    ASSERT_EQ(user.boxTexts.size(), 1) << "the refusal says why";

    // Clearing the emulation map asks first, as online.
    QTest::mouseClick(calibration->clearEmulationButton(), Qt::LeftButton);
    ASSERT_EQ(user.boxTexts.size(), 2) << user.boxTexts.join("\n").toStdString();
    EXPECT_EQ(device.offlineRecord().m_mapEmu1[7][7], 0.0);

    menu(app, "Zapisz")->trigger();
    CDeviceConfig saved(kDeviceType25);
    ASSERT_TRUE(readSettings(m_path, saved, kDeviceType25));
    EXPECT_DOUBLE_EQ(saved.m_mapTimeEmu1[3][4], 2.5);
    EXPECT_DOUBLE_EQ(saved.m_mapRpmCoordinatesEmu1[3], between);
    EXPECT_EQ(saved.m_mapCoordinatesEmu1, device.offlineRecord().m_mapCoordinatesEmu1);
    EXPECT_EQ(app.simulator()->transcript().size(), 0u);
}

TEST_F(OfflineWindow, PagesFollowTheFilesFirmwareNotTheControllerConnectedBefore) {
    m_record.m_devInfo.m_version = 0x107; // before the gas cut-off threshold
    ASSERT_TRUE(writeSettings(m_path, m_record));
    SAppOptions options;
    options.simulate = true;
    CUser user;
    CVeko2012App app(options);
    ASSERT_TRUE(app.start());
    app.frame().show();
    settle();
    ASSERT_TRUE(app.doc().device().isConnected());
    ASSERT_GE(app.doc().device().config().m_devInfo.m_version, 0x12F);

    ASSERT_TRUE(app.frame().offlineCommands().open(m_path));
    settle();
    EXPECT_FALSE(app.doc().polling().isPolling());
    auto* calibration = page<CCalibration1>(app);
    ASSERT_NE(calibration, nullptr);
    EXPECT_TRUE(calibration->mapCutOffField()->isHidden());
    EXPECT_TRUE(caption(app).contains("firmware: v 1.7 ")) << caption(app).toStdString();

    menu(app, "Zamknij plik")->trigger();
    settle();
    EXPECT_FALSE(app.doc().device().isOffline());
    EXPECT_TRUE(app.doc().device().isConnected());
    EXPECT_TRUE(app.doc().polling().isPolling());
    EXPECT_TRUE(caption(app).contains("POŁĄCZONY")) << caption(app).toStdString();
}

TEST_F(OfflineWindow, UnsavedChangesAreSavedDiscardedOrKeptAsTheUserAnswers) {
    SAppOptions options;
    options.offlineFile = m_path;
    options.port = "/nonexistent/ttyTORVA-i25-offline"; // where "Zamknij plik" looks
    CUser user;
    CVeko2012App app(options);
    ASSERT_TRUE(app.start());
    app.frame().show();
    const std::string before = readBytes(m_path);
    COfflineCommands& commands = app.frame().offlineCommands();
    const auto edit = [&app] {
        app.doc().device().config().m_base.m_switchTempr = 50;
        app.doc().device().writeBlock(EBlock::Base);
    };

    edit();
    user.questionAnswer = QMessageBox::Cancel;
    EXPECT_FALSE(app.frame().close());
    menu(app, "Zamknij plik")->trigger();
    EXPECT_TRUE(app.doc().device().isOffline());
    EXPECT_EQ(readBytes(m_path), before);
    EXPECT_EQ(user.boxTexts.size(), 2);
    EXPECT_TRUE(user.boxTexts.front().contains("car.dsettings"));

    user.questionAnswer = QMessageBox::Discard;
    ASSERT_TRUE(commands.open(m_path));
    EXPECT_EQ(readBytes(m_path), before);
    EXPECT_FALSE(app.doc().offlineModified());

    edit();
    user.questionAnswer = QMessageBox::Save;
    menu(app, "Zamknij plik")->trigger();
    settle();
    EXPECT_FALSE(app.doc().device().isOffline());
    EXPECT_FALSE(app.doc().device().isConnected());
    EXPECT_FALSE(menu(app, "Zapisz")->isEnabled());
    EXPECT_TRUE(caption(app).contains("BRAK POŁĄCZENIA")) << caption(app).toStdString();
    CDeviceConfig saved(kDeviceType25);
    ASSERT_TRUE(readSettings(m_path, saved, kDeviceType25));
    EXPECT_EQ(saved.m_base.m_switchTempr, 50);
}

TEST_F(OfflineWindow, SaveAsWritesElsewhereAndGoesOnWithTheNewName) {
    SAppOptions options;
    options.offlineFile = m_path;
    CUser user;
    CVeko2012App app(options);
    ASSERT_TRUE(app.start());
    app.frame().show();
    const std::string before = readBytes(m_path);
    CLPGDevice& device = app.doc().device();
    device.config().m_base.m_switchTempr = 45;
    device.writeBlock(EBlock::Base);

    const std::string copy = m_home.file("copy.dsettings");
    user.chosenFile = QString::fromStdString(copy);
    menu(app, "Zapisz jako…")->trigger();
    EXPECT_EQ(app.doc().offlinePath(), copy);
    EXPECT_TRUE(caption(app).endsWith("copy.dsettings")) << caption(app).toStdString();
    EXPECT_EQ(readBytes(m_path), before);

    // Later edits and saves go to the new file.
    device.config().m_base.m_switchTempr = 47;
    device.writeBlock(EBlock::Base);
    menu(app, "Zapisz")->trigger();
    CDeviceConfig saved(kDeviceType25);
    ASSERT_TRUE(readSettings(copy, saved, kDeviceType25));
    EXPECT_EQ(saved.m_base.m_switchTempr, 47);
    EXPECT_EQ(readBytes(m_path), before);
    EXPECT_TRUE(user.boxTexts.isEmpty()) << user.boxTexts.join("\n").toStdString();
}

TEST_F(OfflineWindow, WriteToControllerBacksItUpAndWritesOnlyTheTickedGroups) {
    SAppOptions options;
    options.offlineFile = m_path;
    options.simulate = true;
    CUser user;
    CVeko2012App app(options);
    ASSERT_TRUE(app.start());
    CLPGDevice& device = app.doc().device();
    ASSERT_TRUE(device.isOffline());
    EXPECT_EQ(app.simulator()->transcript().size(), 0u);
    device.config().m_base.m_flags |= 0x01;
    device.config().m_mapEmu1[2][2] = 7;
    device.writeBlock(EBlock::Base);
    device.writeBlock(EBlock::EmuMap1);
    const CDeviceConfig file = device.offlineRecord();
    const std::vector<std::uint8_t> emuMap = app.simulator()->blockImage(14);

    user.questionAnswer = QMessageBox::Save;
    menu(app, "Zapisz do sterownika…")->trigger();
    settle();
    ASSERT_EQ(user.comparisons, 1) << user.boxTexts.join("\n").toStdString();
    EXPECT_TRUE(device.isConnected());
    EXPECT_FALSE(device.isOffline());
    EXPECT_EQ(device.config().m_base.m_flags, file.m_base.m_flags);
    EXPECT_EQ(app.simulator()->blockImage(3), encodeBlock(EBlock::Base, device.config()));
    EXPECT_EQ(app.simulator()->blockImage(14), emuMap); // not ticked, not sent
    // The file's previous version, then the controller before the comparison and before the
    // apply.
    std::multiset<EBackupReason> reasons;
    for (const auto& entry : std::filesystem::directory_iterator(settingsBackupFolder())) {
        const auto backup = parseSettingsBackupName(entry.path().filename().string());
        reasons.insert(backup->reason.value_or(EBackupReason::Firmware));
    }
    EXPECT_EQ(reasons,
              (std::multiset<EBackupReason>{EBackupReason::FileSave, EBackupReason::FileLoad,
                                            EBackupReason::PartialApply}));
}

TEST_F(OfflineWindow, AFileForAnotherFirmwareIsRefusedBeforeAnythingIsWritten) {
    m_record.m_devInfo.m_version = 0x12E;
    ASSERT_TRUE(writeSettings(m_path, m_record));
    SAppOptions options;
    options.offlineFile = m_path;
    options.simulate = true;
    CUser user;
    CVeko2012App app(options);
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(app.doc().device().isOffline());
    menu(app, "Zapisz do sterownika…")->trigger();
    EXPECT_EQ(user.comparisons, 0);
    ASSERT_FALSE(user.boxTexts.isEmpty());
    EXPECT_TRUE(user.boxTexts.last().contains("v 1.46")) << user.boxTexts.last().toStdString();
    EXPECT_TRUE(user.boxTexts.last().contains("v 1.47"));
    for (const SBlockInfo& block : blockTable())
        EXPECT_EQ(app.simulator()->transcript().countRequests(block.code), 0u) << block.name;
}

} // namespace
} // namespace torva
