#include "ui/pages/sensors/fuel_sensor_dlg.h"

#include "config/device_config.h"
#include "lang/source_text.h"
#include "link/diag_sample.h"
#include "link/lpg_device.h"
#include "platform/user_interface.h"
#include "ui/controls/gradient_button.h"
#include "ui/controls/transparent_bar_display.h"
#include "ui/controls/transparent_check_box.h"
#include "ui/controls/transparent_group_box.h"
#include "ui/controls/transparent_static.h"
#include "ui/pages/common/handler_guard.h"
#include "ui/pages/common/live_only.h"
#include "ui/pages/common/page_texts.h"
#include "ui/pages/common/up_down_field.h"
#include "ui/pages/common/value_combo.h"
#include "ui/pages/sensors/fuel_sensor_rules.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace torva {

namespace {

constexpr int kTimerMs = 500;
constexpr int kTicksPerLevel = 5;

// Type 13's thresholds are shown in bar.
constexpr SUpDownRule kBarDisplayRule{.step = 0.8, .min = 0, .max = 204, .format = "%.1f"};

} // namespace

CFuelSensorDlg::CFuelSensorDlg(CLPGDevice& device, QWidget* parent)
    : CGradientDialog(parent), m_device(device), m_actions(device, appUi()) {
    setWindowTitle(translatedText(PL("Czujnik poziomu gazu")));
    auto* close = new CGradientButton(translatedText(PL("Zamknij")), this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildTypeGroup());
    layout->addWidget(buildCalibrationGroup());
    layout->addWidget(buildVirtualGroup());
    layout->addStretch(1);
    layout->addLayout(buttons);

    // Choices and calibrations need the controller; threshold, litres and switch changes are
    // kept in the record without one (the buzzer excepted).
    const bool connected = m_device.isConnected();
    for (QWidget* control : std::initializer_list<QWidget*>{
             m_type, m_setMin, m_setMax, m_switches[static_cast<int>(EFuelSensorSwitch::Buzzer)]})
        control->setEnabled(connected);
    // They take the level the engine's sensor shows now.
    markLiveOnly(m_setMin);
    markLiveOnly(m_setMax);
    applyLiveOnly(this, m_device);

    fillFromConfig();
    connect(&m_timer, &QTimer::timeout, this, &CFuelSensorDlg::onTimer);
    m_timer.start(kTimerMs);
}

QWidget* CFuelSensorDlg::buildTypeGroup() {
    auto* group = new CTransparentGroupBox(translatedText(PL("Czujnik poziomu gazu")), this);
    auto* grid = new QGridLayout(group);
    m_type = new CValueCombo(group);
    m_type->setItems(fuelSensorTypeList(m_device.config().m_devInfo.m_version));
    connect(m_type, &CValueCombo::valueChosen, this, [this] { OnSelendokCmbType(); });
    grid->addWidget(new CTransparentStatic(translatedText(PL("Typ:")), group), 0, 0);
    grid->addWidget(m_type, 0, 1);
    const std::array<const char*, 4> captions{
        PL("Zasilanie z zaworu"), PL("Start w trybie AUTO po opróżnieniu zbiornika"),
        PL("Nie pozwalaj na wzrost poziomu wskazywanego"), PL("Sygnał buzzera ciągły")};
    for (std::size_t i = 0; i < captions.size(); ++i) {
        auto* box = new CTransparentCheckBox(translatedText(captions[i]), group);
        const auto which = static_cast<EFuelSensorSwitch>(i);
        connect(box, &QCheckBox::clicked, this,
                [this, which](bool on) { OnClickedSwitch(which, on); });
        m_switches[i] = box;
        grid->addWidget(box, static_cast<int>(i) + 1, 0, 1, 2);
    }
    grid->setColumnStretch(1, 1);
    return group;
}

QWidget* CFuelSensorDlg::buildCalibrationGroup() {
    m_calibrationGroup =
        new CTransparentGroupBox(translatedText(PL("Kalibracja czujnika poziomu gazu")), this);
    auto* thresholds = new QHBoxLayout;
    const std::array<const char*, 4> names{"R1", "R2", "R3", "R4"};
    for (std::size_t i = 0; i < names.size(); ++i) {
        auto* field = new CUpDownField(kFuelThresholdRule, m_calibrationGroup);
        field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("0000.00")));
        const auto threshold = static_cast<EFuelThreshold>(i);
        connect(field, &CUpDownField::stepped, this,
                [this, threshold](int clicks) { OnDeltaposSpinThreshold(threshold, clicks); });
        m_thresholds[i] = field;
        thresholds->addWidget(
            new CTransparentStatic(QString::fromLatin1(names[i]), m_calibrationGroup));
        thresholds->addWidget(field, 1);
    }
    m_barUnit = new CTransparentStatic(QStringLiteral("[bar]"), m_calibrationGroup);
    thresholds->addWidget(m_barUnit);

    m_level = new QLineEdit(m_calibrationGroup);
    m_level->setReadOnly(true);
    m_levelBar =
        new CTransparentBarDisplay(QString(), QStringLiteral("%.0f%%"), 100, 4, m_calibrationGroup);
    m_setMin = new CGradientButton(translatedText(PL("Ustaw minimum")), m_calibrationGroup);
    m_setMax = new CGradientButton(translatedText(PL("Ustaw maksimum")), m_calibrationGroup);
    connect(m_setMin, &QPushButton::clicked, this, &CFuelSensorDlg::OnBnClickedBtnSetMin);
    connect(m_setMax, &QPushButton::clicked, this, &CFuelSensorDlg::OnBnClickedBtnSetMax);
    auto* level = new QHBoxLayout;
    level->addWidget(new CTransparentStatic(translatedText(PL("Poziom gazu")), m_calibrationGroup));
    level->addWidget(m_level, 1);
    level->addWidget(m_setMin);
    level->addWidget(m_setMax);

    auto* layout = new QVBoxLayout(m_calibrationGroup);
    layout->addLayout(thresholds);
    layout->addLayout(level);
    layout->addWidget(m_levelBar);
    return m_calibrationGroup;
}

QWidget* CFuelSensorDlg::buildVirtualGroup() {
    m_virtualGroup =
        new CTransparentGroupBox(translatedText(PL("Wirtualny czujnik poziomu gazu")), this);
    auto* row = new QHBoxLayout(m_virtualGroup);
    m_liters = new CUpDownField(kLitresRule, m_virtualGroup);
    connect(m_liters, &CUpDownField::stepped, this, &CFuelSensorDlg::OnDeltaposSpinLiters);
    row->addWidget(new CTransparentStatic(translatedText(PL("Ilość zatankowana do zbiornika")),
                                          m_virtualGroup));
    row->addWidget(m_liters);
    row->addWidget(new CTransparentStatic(QStringLiteral("L"), m_virtualGroup));
    row->addStretch(1);
    return m_virtualGroup;
}

void CFuelSensorDlg::fillFromConfig() {
    const CDeviceConfig& config = m_device.config();
    m_liters->showValue(config.m_tempomatSetup.m_vCppLitersToTank);
    for (std::size_t i = 0; i < m_switches.size(); ++i)
        m_switches[i]->setChecked(fuelSensorSwitchOn(config, static_cast<EFuelSensorSwitch>(i)));
    if (const std::optional<int> shown = shownFuelSensor(config))
        m_type->selectValue(*shown);
    else
        m_type->selectNothing();
    showType(recogniseFuelSensor(config));
}

void CFuelSensorDlg::showType(int type) {
    m_shownType = type;
    const bool virtualSensor = type == fuel_sensor::kVirtual;
    m_virtualGroup->setVisible(virtualSensor);
    m_calibrationGroup->setVisible(!virtualSensor);
    for (std::size_t i = 0; i < m_switches.size(); ++i)
        if (static_cast<EFuelSensorSwitch>(i) != EFuelSensorSwitch::Buzzer)
            m_switches[i]->setVisible(!virtualSensor);
    m_barUnit->setVisible(fuelSensorInBar(type));
    showThresholds();
}

void CFuelSensorDlg::showThresholds() {
    const SFuelThresholds t = fuelThresholds(m_device.config().m_sensorsSetup);
    const std::array<std::uint8_t, 4> raw{t.quarter, t.half, t.hgw, t.full};
    const bool inBar = m_shownType == fuel_sensor::kCng201C;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        m_thresholds[i]->setRule(inBar ? kBarDisplayRule : kFuelThresholdRule);
        m_thresholds[i]->showValue(inBar ? raw[i] * 0.8 : raw[i]);
    }
}

void CFuelSensorDlg::showLevel(std::uint8_t raw) {
    m_level->setText(QString::fromStdString(fuelValueText(raw, m_shownType)));
    m_levelBar->setPos(fuelLevelPercent(raw, m_device.config().m_sensorsSetup));
}

void CFuelSensorDlg::onTimer() {
    if (++m_ticks % kTicksPerLevel == 0)
        showLiveLevel();
}

void CFuelSensorDlg::showLiveLevel() {
    if (!m_device.isConnected() || m_device.diagData().count() == 0)
        return;
    DiagSample sample{};
    m_device.diagData().latest(sample);
    showLevel(sample.m_fuelLevelRaw);
}

void CFuelSensorDlg::OnSelendokCmbType() {
    runHandler("CFuelSensorDlg::OnSelendokCmbType()", [&] {
        if (const std::optional<int> type = m_type->selectedValue())
            m_actions.selectType(*type);
        fillFromConfig();
    });
}

void CFuelSensorDlg::OnClickedSwitch(EFuelSensorSwitch which, bool on) {
    runHandler("CFuelSensorDlg::OnClickedSwitch()", [&] {
        m_actions.setSwitch(which, on);
        switchBox(which)->setChecked(fuelSensorSwitchOn(m_device.config(), which));
    });
}

void CFuelSensorDlg::OnDeltaposSpinThreshold(EFuelThreshold threshold, int clicks) {
    runHandler("CFuelSensorDlg::OnDeltaposSpinThreshold()", [&] {
        m_actions.stepThreshold(threshold, clicks);
        showThresholds();
    });
}

void CFuelSensorDlg::OnBnClickedBtnSetMin() {
    runHandler("CFuelSensorDlg::OnBnClickedBtnSetMin()", [&] {
        if (const auto level = m_actions.setMinimum())
            showLevel(*level);
        showThresholds();
    });
}

void CFuelSensorDlg::OnBnClickedBtnSetMax() {
    runHandler("CFuelSensorDlg::OnBnClickedBtnSetMax()", [&] {
        if (const auto level = m_actions.setMaximum())
            showLevel(*level);
        showThresholds();
    });
}

void CFuelSensorDlg::OnDeltaposSpinLiters(int clicks) {
    runHandler("CFuelSensorDlg::OnDeltaposSpinLiters()", [&] {
        m_actions.stepLitres(clicks);
        m_liters->showValue(m_device.config().m_tempomatSetup.m_vCppLitersToTank);
    });
}

} // namespace torva
