#include "ui/pages/calibration/calibration_page.h"

#include "document/axis_update.h"
#include "lang/translation.h"
#include "link/lpg_device.h"
#include "maps/map_classes.h"
#include "maps/map_edit.h"
#include "platform/user_interface.h"
#include "ui/controls/cell_array.h"
#include "ui/controls/dialog_scaling.h"
#include "ui/controls/gradient_button.h"
#include "ui/controls/transparent_static.h"
#include "ui/pages/calibration/emu_definition_dlg.h"
#include "ui/pages/common/block_write.h"
#include "ui/pages/common/handler_guard.h"
#include "ui/pages/common/page_messages.h"
#include "ui/pages/common/responsive_call.h"
#include "ui/pages/common/up_down_field.h"
#include "ui/pages/common/value_combo.h"
#include "ui/pages/maps/map_coverage_view.h"
#include "ui/pages/maps/map_grid.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QScrollArea>
#include <QVBoxLayout>

namespace torva {

using namespace calibration;

namespace {

// Shown texts only: the rules below keep their own ranges and steps.
const SUpDownRule kOffsetShown{
    .step = kEmuOffsetStep, .min = -kEmuOffsetLimit, .max = kEmuOffsetLimit, .format = "%.3f"};
const SUpDownRule kEmuPerPercentShown{
    .step = kEmuPerPercentStep, .min = 0, .max = kEmuPerPercentMax, .format = "%.1f"};

constexpr const char* kClearQuestion = PL("Skasować wszystkie wartości tej mapy?");

std::unique_ptr<CMapEdit> headerRulesOf(CLPGDevice& device, EEmuChannel channel) {
    switch (channel) {
    case EEmuChannel::Emu1:
        return std::make_unique<CMapEditEmu1>(device);
    case EEmuChannel::Emu2:
        return std::make_unique<CMapEditEmu2>(device);
    case EEmuChannel::Emu3:
        return std::make_unique<CMapEditEmu3>(device);
    case EEmuChannel::Emu4:
        return std::make_unique<CMapEditEmu4>(device);
    case EEmuChannel::TpsDigital:
        break;
    }
    return std::make_unique<CMapEditEmuTPSDigital>(device);
}

// One step per click, as the up-down control sends them; the rules take +1 or -1.
int directionOf(int clicks) {
    return clicks > 0 ? 1 : -1;
}

} // namespace

CCalibrationPage::CCalibrationPage(CLPGDevice& device, EEmuChannel channel, const char* className,
                                   QWidget* parent)
    : CConfigPage(device, parent), m_channel(channel), m_className(className),
      m_headerRules(headerRulesOf(device, channel)) {
    buildControls();
    updateFont();
}

CCalibrationPage::~CCalibrationPage() = default;

void CCalibrationPage::buildControls() {
    m_timeView = new CCellArray;
    m_emulationView = new CCellArray;
    for (CCellArray* view : {m_timeView, m_emulationView})
        view->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_timeGrid = new CMapGrid(createMapArray(clearMapNumber(m_channel, EPageMap::Time), device()),
                              *m_timeView, m_headerRules.get());
    m_emulationGrid = new CMapGrid(
        createMapArray(clearMapNumber(m_channel, EPageMap::Emulation), device()), *m_emulationView);
    // An axis point typed into a header changes both grids' headers.
    m_headerRules->setAxisListener([this] { refreshFromConfig(); });
    // Keys reach the page before any of its controls (eventFilter).
    qApp->installEventFilter(this);
    for (CCellArray* view : {m_timeView, m_emulationView}) {
        connect(view, &CCellArray::cellPressed, this, [this] { mirrorSelection(); });
        connect(view, &CCellArray::cellDragged, this, [this] { mirrorSelection(); });
    }

    m_clearTime = new CGradientButton;
    m_clearEmulation = new CGradientButton;
    m_texts.track(m_clearTime, PL("Kasuj"));
    m_texts.track(m_clearEmulation, PL("Kasuj"));
    connect(m_clearTime, &QPushButton::clicked, this, [this] { OnBnClickedBtnClrMapTime(); });
    connect(m_clearEmulation, &QPushButton::clicked, this, [this] { OnBnClickedBtnClrMapEmu(); });

    auto* grids = new QHBoxLayout;
    for (auto [button, view] :
         {std::pair{m_clearTime, m_timeView}, {m_clearEmulation, m_emulationView}}) {
        auto* column = new QVBoxLayout;
        column->addWidget(button, 0, Qt::AlignLeft);
        column->addWidget(view, 1);
        grids->addLayout(column, 1);
    }

    m_column = new QVBoxLayout;
    m_channelLabel = new CTransparentStatic;
    QFont bold = m_channelLabel->font();
    bold.setBold(true);
    m_channelLabel->setFont(bold);
    m_column->addWidget(m_channelLabel);
    m_fields = new QGridLayout;
    m_fields->setVerticalSpacing(2);
    m_fields->setHorizontalSpacing(4);
    m_column->addLayout(m_fields);

    m_emulationCombo = new CValueCombo;
    m_emulationCombo->setItems(SValueList{{{PL("Wyłączony"), 0}, {PL("Włączony"), 1}}});
    connect(m_emulationCombo, &CValueCombo::valueChosen, this,
            [this] { OnSelendokCmbEmulation(); });
    m_emulationComboLabel = addField(PL("Emulacja"), m_emulationCombo);

    m_definition = new CGradientButton;
    m_texts.track(m_definition, PL("Definicja"));
    connect(m_definition, &QPushButton::clicked, this, [this] { OnClickedBtnDefinition(); });
    m_fields->addWidget(m_definition, m_fields->rowCount(), 0, 1, 3);

    m_input = newLiveField();
    addField(PL("Wejście"), m_input);
    m_output = newLiveField();
    addField(PL("Wyjście"), m_output);
    if (m_channel != EEmuChannel::TpsDigital) {
        m_emulationPercent = newLiveField();
        addField(PL("Emulacja"), m_emulationPercent, "%");
        m_offset = new CUpDownField(kOffsetShown);
        connect(m_offset, &CUpDownField::stepped, this, &CCalibrationPage::OnDeltaposSpinOffset);
        m_offsetLabel = addField(PL("Offset"), m_offset);
    }
    m_emuPerPercentField = new CUpDownField(kEmuPerPercentShown);
    connect(m_emuPerPercentField, &CUpDownField::stepped, this,
            &CCalibrationPage::OnDeltaposSpinEmuPerPercent);
    addField(PL("1 % emulacji ="), m_emuPerPercentField, "ms");
    m_column->addStretch(1);

    auto* top = new QHBoxLayout;
    top->addLayout(grids, 1);
    top->addLayout(m_column, 0);
    // Below the size the grids need for readable text the page scrolls.
    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->viewport()->setAutoFillBackground(false); // the page's gradient shows through
    auto* content = new QWidget;
    content->setAutoFillBackground(false);
    scroll->setWidget(content);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);
    m_page = new QVBoxLayout(content);
    m_page->setContentsMargins(6, 6, 6, 6);
    m_page->addLayout(top, 1);
    buildCoverage();

    needsController({m_emulationCombo, m_clearTime, m_clearEmulation});
}

CTransparentStatic* CCalibrationPage::addField(const char* caption, QWidget* field,
                                               const char* unit) {
    const int row = m_fields->rowCount();
    auto* label = new CTransparentStatic;
    m_texts.track(label, caption);
    m_fields->addWidget(label, row, 0);
    field->setMaximumWidth(std::min(field->maximumWidth(), 90));
    m_fields->addWidget(field, row, 1);
    if (unit != nullptr)
        m_fields->addWidget(new CTransparentStatic(QString::fromUtf8(unit)), row, 2);
    return label;
}

QLineEdit* CCalibrationPage::newLiveField() {
    auto* field = new QLineEdit;
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::NoFocus);
    field->setMinimumWidth(44);
    field->setMaximumWidth(70);
    m_liveFields.push_back(field);
    return field;
}

QGridLayout* CCalibrationPage::bottomRow() {
    if (m_bottom == nullptr) {
        m_bottom = new QGridLayout;
        m_page->addLayout(m_bottom, 0);
    }
    return m_bottom;
}

QPushButton* CCalibrationPage::definitionButton() const {
    return m_definition;
}
QPushButton* CCalibrationPage::clearTimeButton() const {
    return m_clearTime;
}
QPushButton* CCalibrationPage::clearEmulationButton() const {
    return m_clearEmulation;
}

QString CCalibrationPage::channelLabelText() const {
    return m_channelLabel->text();
}

QString CCalibrationPage::pageTitle() const {
    return translatedText(calibration::pageTitle(m_channel, device().config()));
}

void CCalibrationPage::retranslatePage() {
    m_texts.retranslate();
    m_channelLabel->setText(translatedText(channelLabel(m_channel, device().config())));
    m_emulationCombo->retranslate();
    m_coverage->retranslate();
    if (m_emulationCombo->currentIndex() < 0)
        m_emulationCombo->setCurrentIndex(0);
}

void CCalibrationPage::setOffsetShown(bool shown) {
    m_emulationCombo->setVisible(shown);
    m_emulationComboLabel->setVisible(shown);
    if (m_offset != nullptr) {
        m_offset->setVisible(shown);
        m_offsetLabel->setVisible(shown);
    }
}

void CCalibrationPage::fillFromConfig() {
    applySettingsShape();
    m_channelLabel->setText(translatedText(channelLabel(m_channel, device().config())));
    refreshFromConfig();
}

void CCalibrationPage::refreshFromConfig() {
    CDeviceConfig config = device().configCopy();
    m_timeView->setCornerText(QString::fromStdString(timeGridCorner(m_channel, config)));
    m_emulationView->setCornerText(QString::fromUtf8(kEmulationGridCorner));
    m_emulationCombo->selectValue(emulationEnable(config, m_channel));
    if (m_offset != nullptr)
        m_offset->showValue(config.m_serviceSetup.m_emuOffset[static_cast<int>(m_channel)]);
    m_emuPerPercentField->showValue(m_emuPerPercent);
    refreshExtras(config);
    m_timeGrid->refresh();
    m_emulationGrid->refresh();
    const auto loadTexts = loadHeaderTexts(m_channel, config);
    const auto rpmTexts = rpmHeaderTexts(config);
    for (CCellArray* view : {m_timeView, m_emulationView}) {
        for (int row = 0; row < kMapRows; ++row)
            view->setRowHeader(row, QString::fromStdString(loadTexts[row]));
        for (int column = 0; column < kMapColumns; ++column)
            view->setColumnHeader(column, QString::fromStdString(rpmTexts[column]));
    }
    m_coverage->rebin();
}

void CCalibrationPage::handle(const char* name, const std::function<void()>& body) {
    const std::string context = m_className + "::" + name + "()";
    runHandler(context.c_str(), body);
}

bool CCalibrationPage::writeSettings() {
    return writeBlockReported(device(), kPageSettingsBlock, page_message::kWriteFailed);
}

void CCalibrationPage::OnSelendokCmbEmulation() {
    handle("OnSelendokCmbEmulation", [&] {
        const std::optional<int> chosen = m_emulationCombo->selectedValue();
        if (!device().isConnected() || !chosen)
            return;
        device().withConfig([&](CDeviceConfig& config) {
            emulationEnable(config, m_channel) = static_cast<std::uint8_t>(*chosen);
        });
        writeBlockReported(device(), emulationEnableBlock(m_channel), page_message::kWriteFailed);
    });
}

void CCalibrationPage::OnDeltaposSpinOffset(int clicks) {
    handle("OnDeltaposSpinOffset", [&] {
        const int index = static_cast<int>(m_channel);
        const std::optional<double> next = device().withConfig([&](CDeviceConfig& config) {
            double& offset = config.m_serviceSetup.m_emuOffset[index];
            const std::optional<double> stepped = stepEmuOffset(offset, directionOf(clicks));
            if (stepped)
                offset = *stepped;
            return stepped;
        });
        if (!next)
            return;
        m_offset->showValue(*next);
        writeSettings();
    });
}

void CCalibrationPage::OnDeltaposSpinEmuPerPercent(int clicks) {
    handle("OnDeltaposSpinEmuPerPercent", [&] {
        m_emuPerPercent = stepEmuPerPercent(m_emuPerPercent, directionOf(clicks));
        m_emuPerPercentField->showValue(m_emuPerPercent);
    });
}

void CCalibrationPage::OnBnClickedBtnClrMapTime() {
    handle("OnBnClickedBtnClrMapTime", [&] { clearMap(EPageMap::Time); });
}

void CCalibrationPage::OnBnClickedBtnClrMapEmu() {
    handle("OnBnClickedBtnClrMapEmu", [&] { clearMap(EPageMap::Emulation); });
}

void CCalibrationPage::clearMap(EPageMap which) {
    if (!device().isConnected())
        return;
    if (appUi().question(translate(kClearQuestion), page_message::kCaption, EButtons::YesNo,
                         EIcon::Question) != EAnswer::Yes)
        return;
    bool cleared = false;
    runResponsively([&] { cleared = device().clearMap(clearMapNumber(m_channel, which)); });
    if (!cleared) {
        appUi().message(translate(kMapClearFailed), page_message::kCaption, EIcon::Error);
        return;
    }
    device().withConfig([&](CDeviceConfig& config) { pageMap(config, m_channel, which) = {}; });
    // No change made before the clear fits the cleared map.
    (which == EPageMap::Time ? m_timeGrid : m_emulationGrid)->map().clearHistory();
    refreshFromConfig();
}

void CCalibrationPage::OnClickedBtnDefinition() {
    handle("OnClickedBtnDefinition", [&] {
        const CDeviceConfig config = device().configCopy();
        CEmuDefinitionDlg dialog(config, m_channel, this);
        if (dialog.exec() != QDialog::Accepted || !dialog.newAxes())
            return;
        EAxisWrite result = EAxisWrite::RecordOnly;
        runResponsively([&] { result = updateLiveAxes(device(), m_channel, *dialog.newAxes()); });
        if (result == EAxisWrite::WriteFailed)
            appUi().message(translate(page_message::kWriteFailed), page_message::kCaption,
                            EIcon::Error);
        refreshFromConfig();
    });
}

void CCalibrationPage::resizeEvent(QResizeEvent* event) {
    updateFont();
    CConfigPage::resizeEvent(event);
}

void CCalibrationPage::updateFont() {
    QFont pageFont = font();
    const int readable = readableFontPixelSize(*this);
    pageFont.setPixelSize(
        std::clamp(areaFontPixelSize(size(), 80.0), readable, std::max(15, readable)));
    if (pageFont == font())
        return;
    setFont(pageFont);
    // Buttons no taller than their text needs, so the grids keep the height.
    const int buttonHeight = QFontMetrics(pageFont).height() + 8;
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setFixedHeight(buttonHeight);
}

} // namespace torva
