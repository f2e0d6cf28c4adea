#include "ui/pages/settings/settings_dlg.h"

#include "document/axis_update.h"
#include "document/veko2012_doc.h"
#include "lang/source_text.h"
#include "link/lpg_device.h"
#include "platform/user_interface.h"
#include "ui/controls/gradient_button.h"
#include "ui/controls/transparent_check_box.h"
#include "ui/controls/transparent_group_box.h"
#include "ui/controls/transparent_static.h"
#include "ui/pages/calibration/rpm_definition_dlg.h"
#include "ui/pages/common/handler_guard.h"
#include "ui/pages/common/live_only.h"
#include "ui/pages/common/page_messages.h"
#include "ui/pages/common/up_down_field.h"
#include "ui/pages/common/value_combo.h"
#include "ui/pages/sensors/fuel_sensor_dlg.h"
#include "ui/pages/sensors/fuel_sensor_rules.h"
#include "ui/pages/settings/settings_changes.h"
#include "ui/pages/settings/settings_options.h"
#include "ui/pages/settings/settings_visibility.h"
#include "ui/pages/settings/tps_calibration.h"
#include "ui/pages/tps/seq_calibration_dlg.h"
#include "ui/pages/tps/tps2_corelation_dlg.h"

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

// The handler names the error context lines carry.
const char* spinContext(ESettingsSpin spin) {
    switch (spin) {
    case ESettingsSpin::SwitchRpm:
        return "CSettingsDlg::OnDeltaposSpinRpmSwitch()";
    case ESettingsSpin::TorvaDivider:
        return "CSettingsDlg::OnDeltaposSpinTorvaDivider()";
    case ESettingsSpin::SwitchTempr:
        return "CSettingsDlg::OnDeltaposSpinTemprSwitch()";
    case ESettingsSpin::PressureRef:
        return "CSettingsDlg::OnDeltaposSpinPressureRef()";
    case ESettingsSpin::SwitchPressure:
        return "CSettingsDlg::OnDeltaposSpinPressureSwitch()";
    case ESettingsSpin::MinVcc:
        return "CSettingsDlg::OnDeltaposSpinMinVcc()";
    case ESettingsSpin::Pwm:
        return "CSettingsDlg::OnDeltaposSpinPwm()";
    case ESettingsSpin::PwmOffset:
        return "CSettingsDlg::OnDeltaposSpinPwmOffset()";
    case ESettingsSpin::RpmTh:
        return "CSettingsDlg::OnDeltaposSpinRpmTh()";
    case ESettingsSpin::MaxRpm:
        return "CSettingsDlg::OnDeltaposSpinMaxRpm()";
    case ESettingsSpin::CrInjCutOffTime:
        return "CSettingsDlg::OnDeltaposSpinCrInjCutOffTime()";
    case ESettingsSpin::TpsCutOff:
        return "CSettingsDlg::OnDeltaposSpinTpsCutOff()";
    case ESettingsSpin::TpsDetect:
        return "CSettingsDlg::OnDeltaposSpinTpsDetect()";
    case ESettingsSpin::TurboDetect:
        return "CSettingsDlg::OnDeltaposSpinTurboDetect()";
    case ESettingsSpin::RpmDetect:
        return "CSettingsDlg::OnDeltaposSpinRpmDetect()";
    case ESettingsSpin::DetectTime:
        return "CSettingsDlg::OnDeltaposSpinDetectTime()";
    case ESettingsSpin::CamshaftTh:
        return "CSettingsDlg::OnDeltaposSpinCamshaftTh()";
    case ESettingsSpin::InjDelayAngle:
        return "CSettingsDlg::OnDeltaposSpinInjDelayAngle()";
    case ESettingsSpin::MinGasTempr:
        return "CSettingsDlg::OnDeltaposSpinMinGasTempr()";
    }
    return "CSettingsDlg::OnDeltaposSpin()";
}

const char* comboContext(ESettingsCombo combo) {
    switch (combo) {
    case ESettingsCombo::FuelType:
        return "CSettingsDlg::OnSelendokCmbFuelType()";
    case ESettingsCombo::RpmSignalType:
        return "CSettingsDlg::OnSelendokCmbRpmType()";
    case ESettingsCombo::TpsType:
        return "CSettingsDlg::OnSelendokCmbTpsType()";
    case ESettingsCombo::PressureSensor:
        return "CSettingsDlg::OnSelendokCmbPressureType()";
    case ESettingsCombo::ReducerSensor:
        return "CSettingsDlg::OnSelendokCmbReducerSensor()";
    case ESettingsCombo::GasSensor:
        return "CSettingsDlg::OnSelendokCmbGasSensor()";
    case ESettingsCombo::MapSensorEmulator:
        return "CSettingsDlg::OnSelendokCmbEmu1()";
    case ESettingsCombo::MafEmulator:
        return "CSettingsDlg::OnSelendokCmbEmu2()";
    case ESettingsCombo::Tps1Emulator:
        return "CSettingsDlg::OnSelendokCmbEmu3()";
    case ESettingsCombo::Tps2Emulator:
        return "CSettingsDlg::OnSelendokCmbEmu4()";
    case ESettingsCombo::DigitalTpsEmulator:
        return "CSettingsDlg::OnSelendokCmbEmuTpsDigit()";
    case ESettingsCombo::InjectionControl:
        return "CSettingsDlg::OnSelendokCmbSeqType()";
    case ESettingsCombo::IgnitionOrder:
        return "CSettingsDlg::OnSelendokCmbIgnitionOrder()";
    case ESettingsCombo::InjectorType:
        return "CSettingsDlg::OnSelendokCmbInjectorType()";
    case ESettingsCombo::MountedInjectors:
        return "CSettingsDlg::OnSelendokCmbInjMounted()";
    }
    return "CSettingsDlg::OnSelendokCmb()";
}

const char* checkContext(ESettingsCheck check) {
    switch (check) {
    case ESettingsCheck::WorkMachines:
        return "CSettingsDlg::OnClickedChkWorkMachines()";
    case ESettingsCheck::TpsDouble:
        return "CSettingsDlg::OnClickedChkTpsDouble()";
    case ESettingsCheck::Tempomat:
        return "CSettingsDlg::OnClickedChkTempomat()";
    case ESettingsCheck::MapAveraging:
        return "CSettingsDlg::OnClickedChkMapAveraging()";
    case ESettingsCheck::PercentScale:
        return "CSettingsDlg::OnClickedChkPercentScale()";
    case ESettingsCheck::GasMapWithoutEmulation:
        return "CSettingsDlg::OnClickedChkGasMapWithoutEmulation()";
    case ESettingsCheck::MinGasTemprCheck:
        return "CSettingsDlg::OnClickedChkMinGasTempr()";
    }
    return "CSettingsDlg::OnClickedChk()";
}

bool checkOn(ESettingsCheck check, const CDeviceConfig& config) {
    switch (check) {
    case ESettingsCheck::WorkMachines:
        return workMachinesOn(config);
    case ESettingsCheck::TpsDouble:
        return tpsDoubleOn(config);
    case ESettingsCheck::Tempomat:
        return tempomatOn(config);
    case ESettingsCheck::MapAveraging:
        return mapAveragingOn(config);
    case ESettingsCheck::PercentScale:
        return percentScaleOn(config);
    case ESettingsCheck::GasMapWithoutEmulation:
        return gasMapWithoutEmulationOn(config);
    case ESettingsCheck::MinGasTemprCheck:
        return minGasTemprCheckOn(config);
    }
    return false;
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

QWidget* CSettingsDlg::newLabel(const char* text, QWidget* parent) {
    auto* label = new CTransparentStatic(translatedText(text), parent);
    // A long caption takes two lines rather than squeeze its field.
    label->setWordWrap(true);
    m_texts.track(label, text);
    return label;
}

CTransparentGroupBox* CSettingsDlg::newGroup(const char* title, QGridLayout*& grid) {
    auto* group = new CTransparentGroupBox(m_content);
    if (title != nullptr) {
        m_texts.track(group, title);
    }
    grid = new QGridLayout(group);
    // The fields keep their width at the right; the captions take the rest.
    grid->setColumnStretch(0, 1);
    m_groups.push_back(group);
    return group;
}

void CSettingsDlg::addSpinRow(QGridLayout* grid, ESettingsSpin spin, const char* caption) {
    QWidget* parent = grid->parentWidget();
    auto* field = new CUpDownField(upDownRule(spinRule(spin, device().config())), parent);
    field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("0000000.00")));
    connect(field, &CUpDownField::stepped, this,
            [this, spin](int clicks) { OnDeltaposSpin(spin, clicks); });
    const int row = grid->rowCount();
    QWidget* label = newLabel(caption, parent);
    grid->addWidget(label, row, 0);
    grid->addWidget(field, row, 1);
    m_spins[spin] = field;
    m_spinRows[spin] = {label, {field}};
}

void CSettingsDlg::addComboRow(QGridLayout* grid, ESettingsCombo combo, const char* caption,
                               bool ownLine) {
    QWidget* parent = grid->parentWidget();
    auto* box = new CValueCombo(parent);
    box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    connect(box, &QComboBox::activated, this, [this, combo] { OnSelendokCmb(combo); });
    const int row = grid->rowCount();
    QWidget* label = newLabel(caption, parent);
    if (ownLine) {
        grid->addWidget(label, row, 0, 1, 2);
        grid->addWidget(box, row + 1, 0, 1, 2);
    } else {
        grid->addWidget(label, row, 0);
        grid->addWidget(box, row, 1);
    }
    m_combos[combo] = box;
    m_comboRows[combo] = {label, {box}};
}

void CSettingsDlg::addCheckRow(QGridLayout* grid, ESettingsCheck check, const char* caption) {
    QWidget* parent = grid->parentWidget();
    auto* box = m_texts.track(new CTransparentCheckBox(parent), caption);
    connect(box, &QCheckBox::clicked, this, [this, check](bool on) { OnClickedChk(check, on); });
    grid->addWidget(box, grid->rowCount(), 0, 1, 2);
    m_checks[check] = box;
    m_checkRows[check] = {box, {}};
}

QAbstractButton* CSettingsDlg::addButtonRow(QGridLayout* grid, const char* caption) {
    auto* button = m_texts.track(new CGradientButton(grid->parentWidget()), caption);
    grid->addWidget(button, grid->rowCount(), 0, 1, 2);
    return button;
}

void CSettingsDlg::buildGroups() {
    QGridLayout* grid = nullptr;
    using S = ESettingsSpin;
    using C = ESettingsCombo;

    // The fuel type and work machines rows belong to no group of their own.
    newGroup(nullptr, grid);
    addComboRow(grid, C::FuelType, PL("Typ paliwa"));
    addCheckRow(grid, ESettingsCheck::WorkMachines, PL("Maszyny robocze"));

    newGroup(PL("Obroty"), grid);
    addComboRow(grid, C::RpmSignalType, PL("Typ:"));
    addSpinRow(grid, S::RpmTh, PL("Próg dla sygnału obrotów:"));
    addSpinRow(grid, S::TorvaDivider, PL("Dzielnik:"));
    addSpinRow(grid, S::SwitchRpm, PL("Obroty automatycznego przełączenia:"));
    m_rpmDefinition = addButtonRow(grid, PL("Zakres RPM"));
    connect(m_rpmDefinition, &QAbstractButton::clicked, this,
            &CSettingsDlg::OnClickedBtnRpmDefinition);

    newGroup(PL("TPS"), grid);
    addComboRow(grid, C::TpsType, PL("Typ TPS"));
    addSpinRow(grid, S::TpsCutOff, PL("Próg TPS odcięcia paliwa"));
    addCheckRow(grid, ESettingsCheck::TpsDouble, PL("TPS podwójny"));
    m_tpsCalibration = addButtonRow(grid, PL("Kalibracja TPS"));
    connect(m_tpsCalibration, &QAbstractButton::clicked, this,
            &CSettingsDlg::OnClickedBtnTpsCalibration);
    QAbstractButton* correlation = addButtonRow(grid, PL("Korelacja TPS 2"));
    connect(correlation, &QAbstractButton::clicked, this,
            &CSettingsDlg::OnBnClickedBtnTps2Correlation);
    markLiveOnly(m_tpsCalibration);
    markLiveOnly(correlation);

    newGroup(PL("Emulatory"), grid);
    addComboRow(grid, C::MapSensorEmulator, PL("Emulator Map Sensor"));
    addComboRow(grid, C::MafEmulator, PL("Emulator MAF"));
    addComboRow(grid, C::Tps1Emulator, PL("Emulator TPS1"));
    addComboRow(grid, C::Tps2Emulator, PL("Emulator TPS2"));
    addComboRow(grid, C::DigitalTpsEmulator, PL("Emulator TPS cyfrowy"));

    newGroup(PL("Ciśnienie"), grid);
    addComboRow(grid, C::PressureSensor, PL("Typ:"));
    addSpinRow(grid, S::PressureRef, PL("Ciśnienie robocze:"));
    addSpinRow(grid, S::SwitchPressure, PL("Ciśnienie minimalne:"));

    newGroup(PL("Temperatura"), grid);
    addComboRow(grid, C::ReducerSensor, PL("Reduktora:"));
    addComboRow(grid, C::GasSensor, PL("Gazu:"));
    addSpinRow(grid, S::SwitchTempr, PL("Temp. automatycznego przełączenia:"));

    newGroup(PL("Wtryskiwacze"), grid);
    addComboRow(grid, C::MountedInjectors, PL("Ilość zamontowanych:"));
    addComboRow(grid, C::InjectorType, PL("Typ:"));
    addSpinRow(grid, S::Pwm, PL("Ograniczenie napięcia:"));
    addSpinRow(grid, S::PwmOffset, PL("Impuls pełnego napięcia:"));
    addSpinRow(grid, S::CrInjCutOffTime, PL("Czas wtrysku CR przy cut-off [ms]"));
    addComboRow(grid, C::InjectionControl, PL("Sposób sterowania"), true);
    addSpinRow(grid, S::CamshaftTh, PL("Próg dla sygnału"));
    addSpinRow(grid, S::InjDelayAngle, PL("Opóźnienie wtrysku gazu [st]"));
    addComboRow(grid, C::IgnitionOrder, PL("Kolejność zapłonów (DIESEL)"));
    m_seqCalibration = addButtonRow(grid, PL("Kalibracja sygnałów dla sekwencji gazowej"));
    connect(m_seqCalibration, &QAbstractButton::clicked, this,
            &CSettingsDlg::OnBnClickedBtnSeqCalibration);
    markLiveOnly(m_seqCalibration);

    newGroup(PL("Tempomat"), grid);
    addCheckRow(grid, ESettingsCheck::Tempomat, PL("Obsługa tempomatu"));
    addSpinRow(grid, S::TpsDetect, PL("Próg TPS"));
    addSpinRow(grid, S::TurboDetect, PL("Próg Map sensor"));
    addSpinRow(grid, S::RpmDetect, PL("Próg RPM"));
    addSpinRow(grid, S::DetectTime, PL("Czas wykrycia"));

    newGroup(PL("Mapy"), grid);
    addCheckRow(grid, ESettingsCheck::MapAveraging, PL("Uśrednianie map"));
    addCheckRow(grid, ESettingsCheck::PercentScale, PL("Skala na mapach procentowa"));
    addCheckRow(grid, ESettingsCheck::GasMapWithoutEmulation,
                PL("Mapa gazowa aktywna przy wyłączonej emulacji"));

    newGroup(PL("Czujnik poziomu gazu"), grid);
    QWidget* sensorGroup = grid->parentWidget();
    m_fuelSensor = new CValueCombo(sensorGroup);
    m_fuelSensor->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    connect(m_fuelSensor, &QComboBox::activated, this, &CSettingsDlg::OnSelendokCmbFuelSensorType);
    auto* more = new CGradientButton(QStringLiteral("..."), sensorGroup);
    more->setMaximumWidth(more->fontMetrics().horizontalAdvance(QStringLiteral("....")) * 3);
    connect(more, &QAbstractButton::clicked, this, &CSettingsDlg::OnBnClickedBtnFuelSensor);
    auto* sensorRow = new QHBoxLayout;
    sensorRow->addWidget(m_fuelSensor, 1);
    sensorRow->addWidget(more);
    grid->addWidget(newLabel(PL("Typ:"), sensorGroup), 0, 0);
    grid->addLayout(sensorRow, 0, 1);

    newGroup(PL("Zabezpieczenia"), grid);
    addSpinRow(grid, S::MaxRpm, PL("Maksymalne obroty na gazie:"));
    addSpinRow(grid, S::MinVcc, PL("Minimalne napięcie zasilania:"));
    addSpinRow(grid, S::MinGasTempr, PL("Minimalna temperatura gazu:"));
    // The box switches the check on and off; it sits beside its value.
    auto* minGasTempr = new CTransparentCheckBox(grid->parentWidget());
    connect(minGasTempr, &QCheckBox::clicked, this,
            [this](bool on) { OnClickedChk(ESettingsCheck::MinGasTemprCheck, on); });
    grid->addWidget(minGasTempr, grid->rowCount() - 1, 2);
    m_checks[ESettingsCheck::MinGasTemprCheck] = minGasTempr;
    m_spinRows[S::MinGasTempr].controls.push_back(minGasTempr);
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
    m_fuelSensor->selectValue(recogniseFuelSensor(config));
    for (const auto& [check, box] : m_checks)
        box->setChecked(checkOn(check, config));
    for (const auto& [spin, field] : m_spins)
        showSpin(spin);
    showVisibility();
    fitColumns();
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

void CSettingsDlg::OnDeltaposSpin(ESettingsSpin spin, int clicks) {
    handle(spinContext(spin), [&] {
        m_actions.stepSpin(spin, clicks > 0 ? +1 : -1);
        showSpin(spin);
    });
}

void CSettingsDlg::OnSelendokCmb(ESettingsCombo combo) {
    handle(comboContext(combo), [&] {
        const std::optional<int> chosen = m_combos.at(combo)->selectedValue();
        if (chosen) {
            const int value = *chosen;
            switch (combo) {
            case ESettingsCombo::FuelType:
                m_actions.selectFuelType(value);
                break;
            case ESettingsCombo::RpmSignalType:
                m_actions.selectRpmSignalType(value);
                break;
            case ESettingsCombo::TpsType:
                m_actions.selectTpsType(value);
                break;
            case ESettingsCombo::PressureSensor:
                m_actions.selectPressureType(value);
                break;
            case ESettingsCombo::ReducerSensor:
                m_actions.selectReducerTemperatureSensor(value);
                break;
            case ESettingsCombo::GasSensor:
                m_actions.selectGasTemperatureSensor(value);
                break;
            case ESettingsCombo::MapSensorEmulator:
                m_actions.selectEmulator(0, value);
                break;
            case ESettingsCombo::MafEmulator:
                m_actions.selectEmulator(1, value);
                break;
            case ESettingsCombo::Tps1Emulator:
                m_actions.selectEmulator(2, value);
                break;
            case ESettingsCombo::Tps2Emulator:
                m_actions.selectEmulator(3, value);
                break;
            case ESettingsCombo::DigitalTpsEmulator:
                m_actions.selectDigitalTpsEmulator(value);
                break;
            case ESettingsCombo::InjectionControl:
                m_actions.selectInjectionControl(value);
                break;
            case ESettingsCombo::IgnitionOrder:
                m_actions.selectIgnitionOrder(value);
                break;
            case ESettingsCombo::InjectorType:
                m_actions.selectInjectorType(value);
                break;
            case ESettingsCombo::MountedInjectors:
                m_actions.selectMountedInjectors(value);
                break;
            }
        }
        // The controls show the record, whichever way the handler ended.
        fillFromConfig();
    });
}

void CSettingsDlg::OnSelendokCmbFuelSensorType() {
    handle("CSettingsDlg::OnSelendokCmbFuelSensorType()", [&] {
        if (const std::optional<int> chosen = m_fuelSensor->selectedValue())
            m_actions.selectFuelSensorType(*chosen);
        fillFromConfig();
    });
}

void CSettingsDlg::OnClickedChk(ESettingsCheck check, bool on) {
    handle(checkContext(check), [&] {
        switch (check) {
        case ESettingsCheck::WorkMachines:
            m_actions.setWorkMachines(on);
            break;
        case ESettingsCheck::TpsDouble:
            m_actions.setTpsDouble(on);
            break;
        case ESettingsCheck::Tempomat:
            m_actions.setTempomat(on);
            break;
        case ESettingsCheck::MapAveraging:
            m_actions.setMapAveraging(on);
            break;
        case ESettingsCheck::PercentScale:
            m_actions.setPercentScale(on);
            break;
        case ESettingsCheck::GasMapWithoutEmulation:
            m_actions.setGasMapWithoutEmulation(on);
            break;
        case ESettingsCheck::MinGasTemprCheck:
            m_actions.setMinGasTemprCheck(on);
            break;
        }
        fillFromConfig();
    });
}

void CSettingsDlg::OnClickedBtnTpsCalibration() {
    handle("CSettingsDlg::OnClickedBtnTpsCalibration()", [&] {
        CTpsCalibration(device(), appUi()).run();
        fillFromConfig();
    });
}

void CSettingsDlg::OnClickedBtnRpmDefinition() {
    handle("CSettingsDlg::OnClickedBtnRpmDefinition()", [&] {
        if (!device().isConnected())
            return;
        const RpmAxis& axis = device().config().m_mapRpmCoordinatesEmu1;
        CRpmDefinitionDlg dialog(axis.front(), axis.back(), this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        SNewAxes axes;
        axes.rpm = dialog.rpmAxis();
        if (updateLiveAxes(device(), EEmuChannel::Emu1, axes) == EAxisWrite::WriteFailed)
            appUi().message(page_message::kWriteFailed, "TORVA", EIcon::Error);
        requestRefresh();
    });
}

void CSettingsDlg::OnBnClickedBtnTps2Correlation() {
    handle("CSettingsDlg::OnBnClickedBtnTps2Correlation()", [&] {
        CTPS2CorelationDlg dialog(device(), this);
        dialog.exec();
    });
}

void CSettingsDlg::OnBnClickedBtnSeqCalibration() {
    handle("CSettingsDlg::OnBnClickedBtnSeqCalibration()", [&] {
        CSeqCalibrationDlg dialog(device(), this);
        dialog.exec();
    });
}

void CSettingsDlg::OnBnClickedBtnFuelSensor() {
    handle("CSettingsDlg::OnBnClickedBtnFuelSensor()", [&] {
        CFuelSensorDlg dialog(device(), this);
        dialog.exec();
        fillFromConfig();
    });
}

} // namespace torva
