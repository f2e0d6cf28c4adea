// The settings page itself: its groups in columns, filled from the record, the rows shown for
// the controller, and the rebuild its handlers ask for.
#include "ui/pages/settings/settings_dlg.h"

#include "document/veko2012_doc.h"
#include "lang/source_text.h"
#include "link/lpg_device.h"
#include "platform/user_interface.h"
#include "ui/controls/transparent_check_box.h"
#include "ui/controls/transparent_group_box.h"
#include "ui/pages/common/handler_guard.h"
#include "ui/pages/common/live_only.h"
#include "ui/pages/common/up_down_field.h"
#include "ui/pages/common/value_combo.h"
#include "ui/pages/sensors/fuel_sensor_rules.h"
#include "ui/pages/settings/settings_visibility.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace torva {

namespace {

constexpr int kColumnSpacing = 8;

SValueList valueList(const ComboOptions& options) {
    SValueList list;
    for (const SComboOption& option : options)
        list.items.push_back({option.text, option.value});
    return list;
}

} // namespace

CSettingsDlg::CSettingsDlg(CVeko2012Doc& doc, QWidget* parent)
    : CConfigPage(doc.device(), parent), m_doc(doc),
      m_actions(doc.device(), appUi(), [this](ESettingsRefresh) { requestRefresh(); }),
      m_scroll(new QScrollArea(this)), m_content(new QWidget) {
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The page's gradient shows through.
    m_scroll->viewport()->setAutoFillBackground(false);
    m_content->setAutoFillBackground(false);
    m_scroll->setWidget(m_content);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_scroll);

    buildGroups();
    m_columns = new QHBoxLayout(m_content);
    m_columns->setSpacing(kColumnSpacing);
    arrangeColumns();

    // The page scrolls while its fields wait for a controller.
    setEditingArea(m_content);
    // Combos and these boxes act only through the controller; the up-downs and the other boxes
    // change the record without one.
    needsController({m_fuelSensor, m_tpsCalibration, m_rpmDefinition,
                     m_checks.at(ESettingsCheck::WorkMachines),
                     m_checks.at(ESettingsCheck::GasMapWithoutEmulation)});
    for (const auto& [combo, widget] : m_combos)
        needsController({widget});
    // What a load of a settings file sets by itself, or keeps as the controller has it.
    markLiveOnly(m_spins.at(ESettingsSpin::MinVcc), live_only::kNotInFile);
    markLiveOnly(m_spins.at(ESettingsSpin::MinGasTempr), live_only::kNotInFile);
}

QString CSettingsDlg::pageTitle() const {
    return translatedText(PL("Ustawienia"));
}

void CSettingsDlg::arrangeColumns() {
    int widest = 0;
    for (const CTransparentGroupBox* group : m_groups)
        widest = std::max(widest, group->minimumSizeHint().width());
    // The page's own width: the scroll area's viewport follows it only once shown.
    const int width = this->width() - m_scroll->verticalScrollBar()->sizeHint().width();
    const int fits = std::max(1, (width + kColumnSpacing) / (widest + kColumnSpacing));
    const int count = std::min<int>(fits, 4);
    if (count == m_columnCount)
        return;
    m_columnCount = count;

    while (QLayoutItem* item = m_columns->takeAt(0))
        delete item; // the column layouts only; the groups belong to the content widget
    int total = 0;
    for (const CTransparentGroupBox* group : m_groups)
        total += group->sizeHint().height();
    const int perColumn = total / count;
    std::vector<QVBoxLayout*> columns;
    for (int i = 0; i < count; ++i) {
        auto* column = new QVBoxLayout;
        m_columns->addLayout(column, 1);
        columns.push_back(column);
    }
    // Groups keep their order, top to bottom then left to right, in columns of even height.
    int column = 0;
    int filled = 0;
    for (CTransparentGroupBox* group : m_groups) {
        const int height = group->sizeHint().height();
        if (filled > 0 && filled + height / 2 > perColumn && column + 1 < count) {
            ++column;
            filled = 0;
        }
        columns[column]->addWidget(group);
        filled += height;
    }
    for (QVBoxLayout* c : columns)
        c->addStretch(1);
}

void CSettingsDlg::resizeEvent(QResizeEvent* event) {
    CConfigPage::resizeEvent(event);
    arrangeColumns();
}

void CSettingsDlg::retranslatePage() {
    m_texts.retranslate();
    for (const auto& [combo, box] : m_combos)
        box->retranslate();
    m_fuelSensor->retranslate();
    fitColumns();
}

void CSettingsDlg::showSpin(ESettingsSpin spin) {
    const CDeviceConfig& config = device().config();
    CUpDownField* field = m_spins.at(spin);
    field->setRule(upDownRule(spinRule(spin, config)));
    field->showValue(spinValue(spin, config));
}

void CSettingsDlg::setRowVisible(const SRow& row, bool visible) {
    row.label->setVisible(visible);
    for (QWidget* control : row.controls)
        control->setVisible(visible);
}

void CSettingsDlg::showVisibility() {
    const SSettingsVisibility shown = settingsVisibility(device().config());
    setRowVisible(m_spinRows.at(ESettingsSpin::MaxRpm), shown.maxRpmOnGas);
    setRowVisible(m_spinRows.at(ESettingsSpin::RpmTh), shown.rpmThreshold);
    setRowVisible(m_comboRows.at(ESettingsCombo::RpmSignalType), shown.rpmSignalType);
    setRowVisible(m_checkRows.at(ESettingsCheck::TpsDouble), shown.tpsDouble);
    setRowVisible(m_comboRows.at(ESettingsCombo::Tps1Emulator), shown.tpsEmulator1);
    setRowVisible(m_comboRows.at(ESettingsCombo::Tps2Emulator), shown.tpsEmulator2);
    setRowVisible(m_comboRows.at(ESettingsCombo::DigitalTpsEmulator), shown.digitalTpsEmulator);
    setRowVisible(m_comboRows.at(ESettingsCombo::MafEmulator), shown.mafEmulator);
    setRowVisible(m_checkRows.at(ESettingsCheck::MapAveraging), shown.mapAveraging);
    setRowVisible(m_comboRows.at(ESettingsCombo::InjectionControl), shown.injectionSequence);
    setRowVisible(m_spinRows.at(ESettingsSpin::CamshaftTh), shown.injectionSequence);
    setRowVisible(m_spinRows.at(ESettingsSpin::InjDelayAngle), shown.injectionSequence);
    setRowVisible(m_comboRows.at(ESettingsCombo::IgnitionOrder), shown.injectionSequence);
    m_seqCalibration->setVisible(shown.injectionSequence);
    setRowVisible(m_checkRows.at(ESettingsCheck::WorkMachines), shown.workMachines);
    setRowVisible(m_spinRows.at(ESettingsSpin::MinGasTempr), shown.minGasTempr);
}

void CSettingsDlg::fillFromConfig() {
    const CDeviceConfig& config = device().config();
    for (const auto& [combo, box] : m_combos) {
        box->setItems(valueList(comboOptions(combo, config)));
        box->selectValue(comboValue(combo, config));
    }
    m_fuelSensor->setItems(valueList(fuelSensorOptions(config.m_devInfo.m_version)));
    if (const std::optional<int> shown = shownFuelSensor(config))
        m_fuelSensor->selectValue(*shown);
    else
        m_fuelSensor->selectNothing();
    for (const auto& [check, box] : m_checks)
        box->setChecked(checkOn(check, config));
    for (const auto& [spin, field] : m_spins)
        showSpin(spin);
    showVisibility();
    showFirmwareGates();
    fitColumns();
}

void CSettingsDlg::gateRow(const SRow& row, EBlock block) {
    const SDevInfo& info = device().config().m_devInfo;
    const std::optional<std::int32_t> needed =
        blockExists(block, info.m_version, info.m_deviceID) ? std::nullopt : blockFirmware(block);
    gateByFirmware(row.label, needed);
    for (QWidget* control : row.controls)
        gateByFirmware(control, needed);
}

void CSettingsDlg::showFirmwareGates() {
    const CDeviceConfig& config = device().config();
    for (const auto& [spin, row] : m_spinRows)
        gateRow(row, spinRule(spin, config).block);
    for (const auto& [combo, row] : m_comboRows)
        gateRow(row, comboBlock(combo));
    for (const auto& [check, row] : m_checkRows)
        gateRow(row, checkBlock(check));
    gateRow(m_fuelSensorRow, EBlock::Sensors);
}

void CSettingsDlg::fitColumns() {
    // Every item of a list stays readable; the rows shown and the lists decide the groups'
    // sizes and so how many columns fit.
    for (const auto& [combo, box] : m_combos)
        box->setMinimumWidth(box->sizeHint().width());
    m_fuelSensor->setMinimumWidth(m_fuelSensor->sizeHint().width());
    m_columnCount = 0;
    arrangeColumns();
}

void CSettingsDlg::requestRefresh() {
    m_refreshRequested = true;
}

void CSettingsDlg::handle(const char* context, const std::function<void()>& body) {
    runHandler(context, body);
    // Asked for only now: a handler's waits keep the window's events flowing, and a rebuild
    // run inside one would delete this page under its own handler. One rebuild serves every
    // refresh the handler asked for; the new page is filled from the record it left.
    if (m_refreshRequested && !m_refreshPosted) {
        m_refreshPosted = true;
        m_doc.refreshPages();
    }
}

} // namespace torva
