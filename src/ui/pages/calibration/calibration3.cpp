// "Mapa TPS 1": the TPS jump limiter under the grids and the correlation table.
#include "ui/pages/calibration/calibration_pages.h"

#include "lang/translation.h"
#include "link/lpg_device.h"
#include "platform/user_interface.h"
#include "ui/controls/gradient_button.h"
#include "ui/controls/transparent_check_box.h"
#include "ui/controls/transparent_static.h"
#include "ui/pages/common/live_only.h"
#include "ui/pages/common/page_messages.h"
#include "ui/pages/common/responsive_call.h"
#include "ui/pages/common/up_down_field.h"

#include <QGridLayout>
#include <QHBoxLayout>

namespace torva {

using namespace calibration;

namespace {

const SUpDownRule kTpsJumpShown{.step = 0.01, .min = 0, .max = 1, .format = "%.2f"};
const SUpDownRule kEmLimitDelayShown{.step = 25, .min = 25, .max = 5000, .format = "%.0f"};

constexpr const char* kBoxCaptions[] = {"EMU1", "EMU2", "EMU3", "EMU4", PL("Mapa gazowa")};

} // namespace

CCalibration3::CCalibration3(CLPGDevice& device, QWidget* parent)
    : CCalibrationPage(device, EEmuChannel::Emu3, "CCalibration3", parent) {
    // Two lines under the grids, so that they fit the narrowest window: the limiter's fields and
    // the correlation table, then its check boxes.
    auto* fields = new QHBoxLayout;
    auto* boxes = new QHBoxLayout;
    bottomRow()->addLayout(fields, 0, 0);
    bottomRow()->addLayout(boxes, 1, 0);
    const auto addCaption = [&](const char* text, bool translatable) {
        auto* label = new CTransparentStatic;
        if (translatable)
            m_texts.track(label, text);
        else
            label->setText(QString::fromUtf8(text));
        fields->addWidget(label);
    };
    addCaption(PL("Skok TPS"), true);
    m_tpsJump = new CUpDownField(kTpsJumpShown);
    fields->addWidget(m_tpsJump);
    addCaption("[V]", false);
    fields->addSpacing(12);
    addCaption(PL("Czas ograniczenia emulacji"), true);
    m_emLimitDelay = new CUpDownField(kEmLimitDelayShown);
    fields->addWidget(m_emLimitDelay);
    addCaption("[ms]", false);
    for (CUpDownField* field : {m_tpsJump, m_emLimitDelay}) {
        field->setMinimumWidth(64);
        field->setMaximumWidth(90);
    }
    connect(m_tpsJump, &CUpDownField::stepped, this, &CCalibration3::OnDeltaposSpinTpsJump);
    connect(m_emLimitDelay, &CUpDownField::stepped, this,
            &CCalibration3::OnDeltaposSpinEmLimitDelay);
    fields->addStretch(1);

    // "Mapa gazowa" first on screen, then EMU1...EMU4.
    for (int box : {4, 0, 1, 2, 3}) {
        m_boxes[box] = new CTransparentCheckBox;
        m_texts.track(m_boxes[box], kBoxCaptions[box]);
        boxes->addWidget(m_boxes[box]);
    }
    boxes->addStretch(1);
    connect(m_boxes[0], &QCheckBox::clicked, this, &CCalibration3::OnClickedChkEmu1Flag);
    connect(m_boxes[1], &QCheckBox::clicked, this, &CCalibration3::OnClickedChkEmu2Flag);
    connect(m_boxes[2], &QCheckBox::clicked, this, &CCalibration3::OnClickedChkEmu3Flag);
    connect(m_boxes[3], &QCheckBox::clicked, this, &CCalibration3::OnClickedChkEmu4Flag);
    connect(m_boxes[4], &QCheckBox::clicked, this, &CCalibration3::OnClickedChkGasMapFlag);

    m_correlation = new CGradientButton;
    m_texts.track(m_correlation, PL("Tabl. korelacji"));
    boxes->addWidget(m_correlation);
    connect(m_correlation, &QPushButton::clicked, this, &CCalibration3::OnClickedBtnTps2Out);
    needsController({m_correlation});
    markLiveOnly(m_correlation);
}

void CCalibration3::refreshExtras(const CDeviceConfig& config) {
    m_tpsJump->showValue(config.m_serviceSetup.m_tpsJump);
    m_emLimitDelay->showValue(config.m_serviceSetup.m_tpsEmLimitDelay);
    showLimitBoxes(config.m_serviceSetup.m_tpsEmLimitFlag);
}

void CCalibration3::showLimitBoxes(std::uint8_t flags) {
    for (int box = 0; box < 5; ++box)
        m_boxes[box]->setChecked((flags & tpsLimitBit(static_cast<ETpsLimitBox>(box))) != 0);
}

void CCalibration3::OnDeltaposSpinTpsJump(int clicks) {
    handle("OnDeltaposSpinTpsJump", [&] {
        const std::optional<double> next = device().withConfig([&](CDeviceConfig& config) {
            double& jump = config.m_serviceSetup.m_tpsJump;
            const std::optional<double> stepped = stepTpsJump(jump, clicks > 0 ? 1 : -1);
            if (stepped)
                jump = *stepped;
            return stepped;
        });
        if (!next)
            return;
        m_tpsJump->showValue(*next);
        writeSettings();
    });
}

void CCalibration3::OnDeltaposSpinEmLimitDelay(int clicks) {
    handle("OnDeltaposSpinEmLimitDelay", [&] {
        const double shown = device().withConfig([&](CDeviceConfig& config) {
            double& delay = config.m_serviceSetup.m_tpsEmLimitDelay;
            delay = stepTpsEmLimitDelay(delay, clicks > 0 ? 1 : -1);
            return delay;
        });
        m_emLimitDelay->showValue(shown);
        writeSettings();
    });
}

void CCalibration3::clickLimitBox(const char* handler, ETpsLimitBox box) {
    handle(handler, [&] {
        const bool checked = m_boxes[static_cast<int>(box)]->isChecked();
        const std::uint8_t flags = device().withConfig([&](CDeviceConfig& config) {
            std::uint8_t& stored = config.m_serviceSetup.m_tpsEmLimitFlag;
            stored = tpsLimitFlagsAfterClick(stored, box, checked, config.m_base.m_flags);
            return stored;
        });
        showLimitBoxes(flags);
        writeSettings();
    });
}

void CCalibration3::OnClickedChkEmu1Flag() {
    clickLimitBox("OnClickedChkEmu1Flag", ETpsLimitBox::Emu1);
}
void CCalibration3::OnClickedChkEmu2Flag() {
    clickLimitBox("OnClickedChkEmu2Flag", ETpsLimitBox::Emu2);
}
void CCalibration3::OnClickedChkEmu3Flag() {
    clickLimitBox("OnClickedChkEmu3Flag", ETpsLimitBox::Emu3);
}
void CCalibration3::OnClickedChkEmu4Flag() {
    clickLimitBox("OnClickedChkEmu4Flag", ETpsLimitBox::Emu4);
}
void CCalibration3::OnClickedChkGasMapFlag() {
    clickLimitBox("OnClickedChkGasMapFlag", ETpsLimitBox::GasMap);
}

void CCalibration3::OnClickedBtnTps2Out() {
    handle("OnClickedBtnTps2Out", [&] {
        if (!device().isConnected())
            return;
        // What to show from the table is not settled yet; reading it proves the link.
        CorrelationTable table{};
        bool read = false;
        runResponsively([&] { read = device().readCorrelationTable(table); });
        if (!read)
            appUi().message(translate(page_message::kReadFailed), page_message::kCaption,
                            EIcon::Error);
    });
}

} // namespace torva
