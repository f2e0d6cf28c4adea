// The settings page's group boxes and their rows: what each row shows and which handler it calls.
#include "ui/pages/settings/settings_dlg.h"

#include "lang/source_text.h"
#include "link/lpg_device.h"
#include "ui/controls/gradient_button.h"
#include "ui/controls/transparent_check_box.h"
#include "ui/controls/transparent_group_box.h"
#include "ui/controls/transparent_static.h"
#include "ui/pages/common/live_only.h"
#include "ui/pages/common/up_down_field.h"
#include "ui/pages/common/value_combo.h"

#include <QGridLayout>
#include <QHBoxLayout>

namespace torva {

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
    connect(box, &CValueCombo::valueChosen, this, [this, combo] { OnSelendokCmb(combo); });
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
    connect(m_fuelSensor, &CValueCombo::valueChosen, this,
            &CSettingsDlg::OnSelendokCmbFuelSensorType);
    auto* more = new CGradientButton(QStringLiteral("..."), sensorGroup);
    more->setMaximumWidth(more->fontMetrics().horizontalAdvance(QStringLiteral("....")) * 3);
    connect(more, &QAbstractButton::clicked, this, &CSettingsDlg::OnBnClickedBtnFuelSensor);
    auto* sensorRow = new QHBoxLayout;
    sensorRow->addWidget(m_fuelSensor, 1);
    sensorRow->addWidget(more);
    QWidget* sensorLabel = newLabel(PL("Typ:"), sensorGroup);
    grid->addWidget(sensorLabel, 0, 0);
    grid->addLayout(sensorRow, 0, 1);
    m_fuelSensorRow = {sensorLabel, {m_fuelSensor, more}};

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

} // namespace torva
