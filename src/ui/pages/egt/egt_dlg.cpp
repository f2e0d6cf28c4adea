#include "ui/pages/egt/egt_dlg.h"

#include "config/device_type.h"
#include "lang/source_text.h"
#include "link/lpg_device.h"
#include "platform/error.h"
#include "platform/user_interface.h"
#include "ui/controls/transparent_check_box.h"
#include "ui/controls/transparent_group_box.h"
#include "ui/controls/transparent_static.h"
#include "ui/pages/common/block_write.h"
#include "ui/pages/common/handler_guard.h"
#include "ui/pages/common/live_only.h"
#include "ui/pages/common/page_messages.h"
#include "ui/pages/common/responsive_call.h"
#include "ui/pages/common/up_down_field.h"
#include "ui/pages/common/value_combo.h"
#include "ui/pages/egt/egt_rules.h"

#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include <utility>
#include <vector>

namespace torva {

namespace {

constexpr const char* kResetFailed = PL("Nie powiodło się zresetowanie urządzenia!");
constexpr int kThermocoupleRows = 8; // 1-8 down the first column, 9-16 down the second
constexpr int kKnockColumns = 4;

// A live value: read-only and left out of the keyboard's way between the controls.
QLineEdit* liveField(QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::NoFocus);
    field->setAlignment(Qt::AlignRight);
    return field;
}

QWidget* withUnit(QWidget* field, const char* unit) {
    auto* row = new QWidget;
    auto* box = new QHBoxLayout(row);
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(field, 1);
    box->addWidget(new CTransparentStatic(QString::fromUtf8(unit)));
    return row;
}

} // namespace

CEGTDlg::CEGTDlg(CLPGDevice& device, QWidget* parent) : CConfigPage(device, parent) {
    auto* columns = new QHBoxLayout(this);
    columns->setContentsMargins(8, 6, 8, 6);
    columns->setSpacing(10);
    auto* left = new QVBoxLayout;
    left->addWidget(buildExhaust());
    left->addWidget(buildKnock());
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(buildThermocouples());
    right->addStretch(1);
    columns->addLayout(left, 3);
    columns->addLayout(right, 2);

    // Rows with a unit beside their field were put together after the fields were made, so the
    // keyboard order is set here: down the left column, then the thermocouples 1 to 16.
    std::vector<QWidget*> order{m_maxExhaust, m_internal,     m_knockMax,
                                m_knockFreq,  m_knockIntTime, m_knockGain};
    order.insert(order.end(), m_thermocouples.begin(), m_thermocouples.end());
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    needsController({m_internal, m_knockFreq, m_knockIntTime, m_knockGain});
    for (QWidget* knock :
         std::initializer_list<QWidget*>{m_knockMax, m_knockFreq, m_knockIntTime, m_knockGain})
        markLiveOnly(knock, live_only::kNotInFile);
    enableThermocouples(device.isConnected());
}

QWidget* CEGTDlg::buildExhaust() {
    auto* group = m_texts.track(new CTransparentGroupBox(this), PL("EGT"));
    auto* form = new QFormLayout(group);
    m_maxExhaust = new CUpDownField(kMaxExhaustTempRule, group);
    form->addRow(
        m_texts.track(new CTransparentStatic(group), PL("Maksymalna temperatura spalin (EGT)")),
        withUnit(m_maxExhaust, "°C"));
    m_internal =
        m_texts.track(new CTransparentCheckBox(group), PL("Wewnętrzna termopara podłączona"));
    form->addRow(m_internal);
    connect(m_maxExhaust, &CUpDownField::stepped, this, &CEGTDlg::OnDeltaposSpinMaxExhaustTempr);
    connect(m_internal, &QCheckBox::clicked, this, [this] { OnClickedChkInternalEgtEnable(); });
    return group;
}

QWidget* CEGTDlg::buildKnock() {
    m_knockGroup = m_texts.track(new CTransparentGroupBox(this), PL("Knock"));
    auto* box = new QVBoxLayout(m_knockGroup);
    auto* form = new QFormLayout;
    m_knockMax = new CUpDownField(kKnockMaxSignalRule, m_knockGroup);
    m_knockFreq = new CValueCombo(m_knockGroup);
    m_knockIntTime = new CValueCombo(m_knockGroup);
    m_knockGain = new CValueCombo(m_knockGroup);
    m_knockFreq->setItems(knockFrequencies());
    m_knockIntTime->setItems(knockIntegrationTimes());
    m_knockGain->setItems(knockGains());
    const auto label = [this](const char* text) {
        return m_texts.track(new CTransparentStatic(m_knockGroup), text);
    };
    form->addRow(label(PL("Maksymalny sygnał [V]")), m_knockMax);
    form->addRow(label(PL("Częstotliwość")), withUnit(m_knockFreq, "kHz"));
    form->addRow(label(PL("Czas integracji")), withUnit(m_knockIntTime, "µs"));
    form->addRow(label(PL("Wzmocnienie")), m_knockGain);
    box->addLayout(form);

    auto* levels = new QGridLayout;
    for (std::size_t i = 0; i < kKnockInputs; ++i) {
        const int row = static_cast<int>(i) / kKnockColumns;
        const int column = 2 * (static_cast<int>(i) % kKnockColumns);
        levels->addWidget(m_texts.trackNumbered(new CTransparentStatic(m_knockGroup), PL("Knock"),
                                                static_cast<int>(i) + 1),
                          row, column);
        m_knockLevels[i] = liveField(m_knockGroup);
        levels->addWidget(m_knockLevels[i], row, column + 1);
    }
    box->addLayout(levels);

    connect(m_knockMax, &CUpDownField::stepped, this, &CEGTDlg::OnDeltaposSpinMaxKnock);
    connect(m_knockFreq, &CValueCombo::valueChosen, this, [this] { OnSelendokCmbKnockFreq(); });
    connect(m_knockIntTime, &CValueCombo::valueChosen, this,
            [this] { OnSelendokCmbKnockIntTime(); });
    connect(m_knockGain, &CValueCombo::valueChosen, this, [this] { OnSelendokCmbKnockGain(); });
    return m_knockGroup;
}

QWidget* CEGTDlg::buildThermocouples() {
    auto* group = m_texts.track(new CTransparentGroupBox(this), PL("Zewnętrzne termopary"));
    auto* grid = new QGridLayout(group);
    for (std::size_t i = 0; i < kThermocouples; ++i) {
        const int row = static_cast<int>(i) % kThermocoupleRows;
        const int column = 2 * (static_cast<int>(i) / kThermocoupleRows);
        m_thermocouples[i] = m_texts.trackNumbered(new CTransparentCheckBox(group), PL("Termopara"),
                                                   static_cast<int>(i) + 1);
        m_temperatures[i] = liveField(group);
        grid->addWidget(m_thermocouples[i], row, column);
        grid->addWidget(m_temperatures[i], row, column + 1);
        connect(m_thermocouples[i], &QCheckBox::clicked, this,
                [this, i] { OnClickedChkExtEgt(i); });
    }
    return group;
}

QString CEGTDlg::pageTitle() const {
    return translatedText(PL("Zabezpieczenia"));
}

void CEGTDlg::retranslatePage() {
    m_texts.retranslate();
}

void CEGTDlg::changeEvent(QEvent* event) {
    // The values keep room for their widest text at any font size.
    if (event->type() == QEvent::FontChange) {
        const int digits = fontMetrics().horizontalAdvance(QStringLiteral("0000"));
        m_maxExhaust->setMinimumWidth(digits * 2);
        m_knockMax->setMinimumWidth(digits * 2);
        for (QLineEdit* field : m_temperatures)
            field->setMinimumWidth(digits + 8);
        for (QLineEdit* field : m_knockLevels)
            field->setMinimumWidth(digits + 8);
    }
    CConfigPage::changeEvent(event);
}

void CEGTDlg::fillFromConfig() {
    const CDeviceConfig config = device().configCopy();
    const std::uint16_t mask = config.m_tempomatSetup.m_extExhaustTemprMask;
    for (std::size_t i = 0; i < kThermocouples; ++i)
        m_thermocouples[i]->setChecked(thermocoupleWatched(mask, i));
    m_internal->setChecked((config.m_base.m_advancedFlags & kInternalThermocoupleOffFlag) == 0);
    m_maxExhaust->showValue(config.m_base.m_maxExhaustTemp);

    const SServiceSetup& service = config.m_serviceSetup;
    m_knockMax->showValue(service.m_knockMaxSignal);
    m_knockFreq->selectValue(service.m_knockFreq);
    m_knockIntTime->selectValue(service.m_knockIntTime);
    m_knockGain->selectValue(service.m_knockGain);
    m_knockShown = knockShown(config.m_devInfo);
    m_knockGroup->setVisible(m_knockShown);
    enableThermocouples(device().isConnected());
}

void CEGTDlg::connectionChanged(bool connected) {
    CConfigPage::connectionChanged(connected);
    enableThermocouples(connected);
}

void CEGTDlg::enableThermocouples(bool connected) {
    const bool hasMask =
        device().withConfig([](CDeviceConfig& c) { return thermocouplesEditable(c.m_devInfo); });
    // Older firmware has no block for the mask: the boxes say which it needs.
    const QString needed = hasMask ? QString() : firmwareNeededText(kTempomatBlockVersion);
    for (QCheckBox* box : m_thermocouples) {
        box->setEnabled(connected && hasMask);
        box->setToolTip(needed);
    }
}

void CEGTDlg::refresh() {
    if (!device().isConnected()) {
        // The last reading is no temperature of now.
        clearTemperatures();
        for (QLineEdit* field : m_knockLevels)
            field->clear();
        return;
    }
    const std::uint16_t mask = device().withConfig(
        [](CDeviceConfig& c) { return c.m_tempomatSetup.m_extExhaustTemprMask; });
    if (mask == 0)
        clearTemperatures();
    if (!exhaustReadDue(mask, m_knockShown))
        return;
    ExhaustRecord record{};
    bool read = false;
    try {
        // Every 200 ms: in the background, as the readings page reads, so input never waits.
        runInBackground([&] { read = device().readExhaustRecord(record); });
    } catch (const IError&) {
        // The fields keep their last values; the next tick asks again.
        return;
    }
    if (read)
        showReading(decodeExhaustRecord(record), mask);
}

void CEGTDlg::showReading(const SExhaustReading& reading, std::uint16_t mask) {
    // A thermocouple the controller does not watch has no temperature to show.
    for (std::size_t i = 0; i < kThermocouples; ++i) {
        m_temperatures[i]->setText(
            thermocoupleWatched(mask, i)
                ? QString::fromStdString(temperatureText(reading.temperatures[i]))
                : QString());
    }
    if (!m_knockShown)
        return;
    for (std::size_t i = 0; i < kKnockInputs; ++i)
        m_knockLevels[i]->setText(QString::fromStdString(knockLevelText(reading.knockLevels[i])));
}

void CEGTDlg::clearTemperatures() {
    for (QLineEdit* field : m_temperatures)
        field->clear();
}

void CEGTDlg::OnDeltaposSpinMaxExhaustTempr(int clicks) {
    runHandler("CEGTDlg::OnDeltaposSpinMaxExhaustTempr()", [&] {
        const auto [changed, shown] = device().withConfig([&](CDeviceConfig& c) {
            const double before = c.m_base.m_maxExhaustTemp;
            kMaxExhaustTempRule.stepField(c.m_base.m_maxExhaustTemp, clicks);
            return std::pair{c.m_base.m_maxExhaustTemp != before, c.m_base.m_maxExhaustTemp};
        });
        m_maxExhaust->showValue(shown);
        if (changed)
            writeBlockReported(device(), EBlock::Base);
    });
}

void CEGTDlg::OnClickedChkInternalEgtEnable() {
    runHandler("CEGTDlg::OnClickedChkInternalEgtEnable()", [&] {
        if (!device().isConnected())
            return;
        const bool connectedThermocouple = m_internal->isChecked();
        const bool changed = device().withConfig([&](CDeviceConfig& c) {
            const std::uint8_t before = c.m_base.m_advancedFlags;
            if (connectedThermocouple)
                c.m_base.m_advancedFlags &= ~kInternalThermocoupleOffFlag;
            else
                c.m_base.m_advancedFlags |= kInternalThermocoupleOffFlag;
            return c.m_base.m_advancedFlags != before;
        });
        if (changed)
            writeBlockReported(device(), EBlock::Base);
    });
}

void CEGTDlg::OnClickedChkExtEgt(std::size_t thermocouple) {
    runHandler("CEGTDlg::OnClickedChkExtEgt()", [&] {
        if (!device().isConnected())
            return;
        const bool watched = m_thermocouples[thermocouple]->isChecked();
        const auto [changed, mask] = device().withConfig([&](CDeviceConfig& c) {
            std::uint16_t& field = c.m_tempomatSetup.m_extExhaustTemprMask;
            const std::uint16_t before = field;
            field = withThermocouple(field, thermocouple, watched);
            return std::pair{field != before, field};
        });
        if (!changed || !writeBlockReported(device(), EBlock::Tempomat) || mask == 0)
            return;
        // The controller takes a new set of thermocouples on its next start.
        bool reset = false;
        runResponsively([&] { reset = device().resetDevice(); });
        if (!reset)
            appUi().message(kResetFailed, page_message::kCaption, EIcon::Error);
    });
}

void CEGTDlg::OnDeltaposSpinMaxKnock(int clicks) {
    runHandler("CEGTDlg::OnDeltaposSpinMaxKnock()", [&] {
        const auto [changed, shown] = device().withConfig([&](CDeviceConfig& c) {
            const double before = c.m_serviceSetup.m_knockMaxSignal;
            kKnockMaxSignalRule.stepField(c.m_serviceSetup.m_knockMaxSignal, clicks);
            return std::pair{c.m_serviceSetup.m_knockMaxSignal != before,
                             c.m_serviceSetup.m_knockMaxSignal};
        });
        m_knockMax->showValue(shown);
        if (changed)
            writeBlockReported(device(), EBlock::Service);
    });
}

void CEGTDlg::storeKnockChoice(const CValueCombo& combo, std::uint8_t SServiceSetup::*field) {
    if (!device().isConnected())
        return;
    const std::optional<int> chosen = combo.selectedValue();
    if (!chosen)
        return;
    const bool changed = device().withConfig([&](CDeviceConfig& c) {
        std::uint8_t& stored = c.m_serviceSetup.*field;
        if (stored == *chosen)
            return false;
        stored = static_cast<std::uint8_t>(*chosen);
        return true;
    });
    if (changed)
        writeBlockReported(device(), EBlock::Service);
}

void CEGTDlg::OnSelendokCmbKnockFreq() {
    runHandler("CEGTDlg::OnSelendokCmbKnockFreq()",
               [&] { storeKnockChoice(*m_knockFreq, &SServiceSetup::m_knockFreq); });
}

void CEGTDlg::OnSelendokCmbKnockIntTime() {
    runHandler("CEGTDlg::OnSelendokCmbKnockIntTime()",
               [&] { storeKnockChoice(*m_knockIntTime, &SServiceSetup::m_knockIntTime); });
}

void CEGTDlg::OnSelendokCmbKnockGain() {
    runHandler("CEGTDlg::OnSelendokCmbKnockGain()",
               [&] { storeKnockChoice(*m_knockGain, &SServiceSetup::m_knockGain); });
}

} // namespace torva
