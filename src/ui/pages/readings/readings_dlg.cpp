#include "ui/pages/readings/readings_dlg.h"

#include "lang/source_text.h"
#include "link/device_errors.h"
#include "link/lpg_device.h"
#include "platform/error.h"
#include "platform/user_interface.h"
#include "ui/controls/dialog_scaling.h"
#include "ui/controls/gradient_button.h"
#include "ui/controls/transparent_bar_display.h"
#include "ui/controls/transparent_group_box.h"
#include "ui/controls/transparent_static.h"
#include "ui/pages/common/handler_error.h"
#include "ui/pages/common/live_only.h"
#include "ui/pages/common/page_messages.h"
#include "ui/pages/common/page_texts.h"
#include "ui/pages/common/responsive_call.h"
#include "ui/pages/readings/console.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace torva {

namespace {

constexpr const char* kCaption = "TORVA";

struct SGaugeSpec {
    const char* caption;
    const char* format;
    double maximum;
    int divisions;
};

// In the order the refresh fills them.
constexpr SGaugeSpec kGauges[CReadingsDlg::kGaugeCount] = {
    {PL("Obroty"), "%i RPM", 5000, 15},
    {PL("Obroty z rozrządu"), "%i RPM", 5000, 19},
    {PL("Czas ON"), "%.2f ms", 10, 19},
    {PL("Map Sensor"), "%.2f V", 24, 15},
    {PL("MAF"), "%.2f V", 5, 15},
    {PL("Podciśnienie (reduktor)"), "%.1f bar", 3, 15},
    {PL("Ciśnienie (reduktor)"), "%.1f bar", 3, 15},
    {PL("Temperatura gazu"), "%i °C", 100, 15},
    {PL("Temperatura reduktora"), "%i °C", 100, 15},
    {PL("Napięcie"), "%.1f V", 18, 15},
    {PL("Temperatura spalin"), "%i °C", 900, 50},
    {PL("Czas wtrysku gazu"), "%.2f ms", 24, 15},
    {PL("Zużycie gazu [L]"), "%.2f L", 1000, 15},
    {PL("Chwilowe zużycie [L/h]"), "%.1f L/h", 500, 15},
};
constexpr int kAuxRpmGauge = 1;
constexpr int kTotalGauge = 12;
constexpr int kPerHourGauge = 13;
constexpr int kGaugeColumns = 7;

} // namespace

CReadingsDlg::CReadingsDlg(CLPGDevice& device, const CDeviceErrorList* decoders, QWidget* parent)
    : CMultiPageDialog(parent), m_device(device), m_decoders(decoders), m_modeText(PL("DIESEL")) {
    buildControls();
    updateFont();
}

void CReadingsDlg::buildControls() {
    auto* gauges = new QGridLayout;
    gauges->setHorizontalSpacing(10);
    gauges->setVerticalSpacing(2);
    for (int i = 0; i < kGaugeCount; ++i) {
        const SGaugeSpec& spec = kGauges[i];
        m_gauges[i] =
            new CTransparentBarDisplay(translatedText(spec.caption), QString::fromUtf8(spec.format),
                                       spec.maximum, spec.divisions, this);
        m_gauges[i]->setPos(0);
        // Equal columns, whatever the captions' lengths.
        m_gauges[i]->setMinimumWidth(8);
        gauges->addWidget(m_gauges[i], i / kGaugeColumns, i % kGaugeColumns);
    }

    for (int column = 0; column < kGaugeColumns; ++column) {
        gauges->setColumnStretch(column, 1);
    }

    m_mode = new CTransparentStatic(translatedText(m_modeText));
    m_cruise = new CTransparentStatic(QString());
    m_error = new CTransparentStatic(QString());
    for (CTransparentStatic* label : {m_mode, m_cruise, m_error}) {
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
    }
    m_error->setStyleSheet(QStringLiteral("color: rgb(190, 0, 0);"));

    m_console = new CConsole;
    connect(m_console, &CConsole::clicked, this, [this] { OnClickedConsole(); });

    m_auto = new CGradientButton(translatedText("AUTO"), this);
    m_gas = new CGradientButton(translatedText("GAZ"), this);
    m_diesel = new CGradientButton(translatedText("DIESEL"), this);
    connect(m_auto, &QPushButton::clicked, this, [this] { OnBnClickedButtonauto(); });
    connect(m_gas, &QPushButton::clicked, this, [this] { OnBnClickedButtonlpg(); });
    connect(m_diesel, &QPushButton::clicked, this, [this] { OnBnClickedButtonpetrol(); });
    for (QWidget* mode : std::initializer_list<QWidget*>{m_auto, m_gas, m_diesel})
        markLiveOnly(mode);

    auto* labels = new QVBoxLayout;
    labels->setSpacing(0);
    labels->addWidget(m_mode);
    labels->addWidget(m_cruise);
    labels->addWidget(m_error);
    m_switchBox = new CTransparentGroupBox(translatedText("Konsolka"), this);
    auto* panel = new QHBoxLayout(m_switchBox);
    panel->setContentsMargins(4, 0, 4, 2);
    panel->setSpacing(6);
    panel->addWidget(m_console, 3);
    panel->addLayout(labels, 2);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(4);
    for (QPushButton* button : {m_auto, m_gas, m_diesel}) {
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        button->setMinimumSize(8, 8);
        buttons->addWidget(button);
    }
    m_switchColumn = new QWidget(this);
    auto* switchBox = new QVBoxLayout(m_switchColumn);
    switchBox->setContentsMargins(0, 0, 0, 0);
    switchBox->setSpacing(3);
    switchBox->addWidget(m_switchBox, 3);
    switchBox->addLayout(buttons, 2);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->setSpacing(10);
    layout->addLayout(gauges, 6);
    layout->addWidget(m_switchColumn, 1);
}

QLabel* CReadingsDlg::modeLabel() const {
    return m_mode;
}
QLabel* CReadingsDlg::cruiseLabel() const {
    return m_cruise;
}
QLabel* CReadingsDlg::errorLabel() const {
    return m_error;
}

QString CReadingsDlg::pageTitle() const {
    return translatedText("Odczyty");
}

void CReadingsDlg::retranslatePage() {
    for (int i = 0; i < kGaugeCount; ++i) {
        m_gauges[i]->setCaption(
            translatedText(i == kAuxRpmGauge ? auxSpeedCaption(m_auxSource) : kGauges[i].caption));
    }
    m_switchBox->setTitle(translatedText("Konsolka"));
    m_auto->setText(translatedText("AUTO"));
    m_gas->setText(translatedText("GAZ"));
    m_diesel->setText(translatedText("DIESEL"));
    m_mode->setText(*m_modeText ? translatedText(m_modeText) : QString());
    m_cruise->setText(*m_cruiseText ? translatedText(m_cruiseText) : QString());
    m_error->setText(m_errorShown ? translatedText("BŁĄD") : QString());
}

void CReadingsDlg::resizeEvent(QResizeEvent* event) {
    updateFont();
    CMultiPageDialog::resizeEvent(event);
}

void CReadingsDlg::updateFont() {
    QFont pageFont(QStringLiteral("Tahoma"));
    pageFont.setWeight(QFont::Normal);
    pageFont.setPixelSize(areaFontPixelSize(size(), 40.0));
    if (pageFont != font()) {
        setFont(pageFont);
        // The mode is what the fitter looks for first.
        QFont modeFont = pageFont;
        modeFont.setBold(true);
        modeFont.setPixelSize(pageFont.pixelSize() * 3 / 2);
        m_mode->setFont(modeFont);
    }
    // The gauges keep most of a narrow page.
    m_switchColumn->setMaximumWidth(std::max(120, width() / 5));
}

void CReadingsDlg::refresh() {
    const bool connected = m_device.isConnected();
    // The mode buttons switch the controller; without one they have nothing to act on.
    m_switchColumn->setEnabled(connected);
    if (!connected) {
        blankReadings();
        return;
    }
    if (m_device.diagData().count() == 0) {
        return;
    }
    DiagSample sample{};
    m_device.diagData().latest(sample);
    try {
        showGauges(sample);
        if (const auto text = m_labels.modeChange(sample.m_fuelMode)) {
            m_modeText = *text;
            m_mode->setText(translatedText(m_modeText));
            ++m_modeWrites;
        }
        if (const auto text = m_labels.cruiseChange(sample.m_statusFlags)) {
            m_cruiseText = *text;
            m_cruise->setText(*m_cruiseText ? translatedText(m_cruiseText) : QString());
            ++m_cruiseWrites;
        }
        if (m_countdowns.fuelLevelDue()) {
            updateConsole(sample);
        }
        if (m_countdowns.errorsDue()) {
            updateErrorLabel();
        }
        if (m_countdowns.consumptionDue() &&
            m_device.config().m_devInfo.m_version > kConsumptionAfterVersion) {
            updateConsumption();
        }
    } catch (const IError&) {
        // A lost exchange shows on the next refresh; nothing to tell the user now.
    }
}

void CReadingsDlg::blankReadings() {
    // The last sample is no reading of now.
    for (CTransparentBarDisplay* gauge : m_gauges) {
        gauge->clearValue();
    }
    if (*m_modeText || *m_cruiseText) {
        m_modeText = "";
        m_cruiseText = "";
        m_mode->clear();
        m_cruise->clear();
        m_labels.forget();
    }
    m_error->clear();
    m_errorShown = false;
}

void CReadingsDlg::showGauges(const DiagSample& sample) {
    const SReadingsGauges g = readingsGauges(sample, m_device.config());
    setAuxCaption(g.auxSource);
    const double values[] = {g.rpm,
                             g.auxRpm,
                             g.crInjTimeMs,
                             g.mapSensorVolts,
                             g.mafVolts,
                             g.vacuumBar,
                             g.pressureBar,
                             g.gasTemperature,
                             g.reducerTemperature,
                             g.supplyVolts,
                             g.exhaustTemperature,
                             g.gasInjTimeMs};
    for (std::size_t i = 0; i < std::size(values); ++i) {
        m_gauges[i]->setPos(values[i]);
    }
}

void CReadingsDlg::setAuxCaption(EAuxSpeedSource source) {
    if (source != m_auxSource) {
        m_auxSource = source;
        m_gauges[kAuxRpmGauge]->setCaption(translatedText(auxSpeedCaption(source)));
    }
}

void CReadingsDlg::updateConsole(const DiagSample& sample) {
    const int level = fuelLevel(sample.m_fuelLevelRaw, m_device.config().m_sensorsSetup);
    m_console->setPicture(m_blink.next(sample, level));
}

void CReadingsDlg::updateErrorLabel() {
    if (m_decoders == nullptr) {
        return;
    }
    ErrorStatus status{};
    bool read = false;
    runInBackground([&] { read = m_device.readErrorStatus(status); });
    if (!read) {
        return;
    }
    m_errorShown = !m_decoders->decodeStatus(status).empty();
    m_error->setText(m_errorShown ? translatedText("BŁĄD") : QString());
}

void CReadingsDlg::updateConsumption() {
    DeviceCounters counters{};
    bool read = false;
    runInBackground([&] { read = m_device.readCounters(counters); });
    if (!read || !m_device.isConnected() || m_device.diagData().count() == 0) {
        return;
    }
    DiagSample sample{};
    m_device.diagData().latest(sample);
    const SConsumption used = consumption(counters, sample, m_device.config());
    m_gauges[kTotalGauge]->setPos(used.totalLitres);
    m_gauges[kPerHourGauge]->setPos(used.litresPerHour);
}

void CReadingsDlg::runModeCommand(const std::function<bool()>& command, const char* failure,
                                  const char* context) {
    if (!m_device.isConnected()) {
        return;
    }
    try {
        bool done = false;
        runResponsively([&] { done = command(); });
        if (!done) {
            appUi().message(failure, kCaption, EIcon::Error);
        }
    } catch (...) {
        appUi().message(std::string(context) + "\n" + handlerErrorText(std::current_exception()),
                        kCaption, EIcon::None);
    }
}

void CReadingsDlg::OnBnClickedButtonauto() {
    runModeCommand([this] { return m_device.switchToAuto(); },
                   PL("Nie powiodło się przełączenie w tryb AUTO!"),
                   "CReadingsDlg::OnBnClickedButtonauto()");
}

void CReadingsDlg::OnBnClickedButtonlpg() {
    runModeCommand([this] { return m_device.switchToGas(); },
                   PL("Nie powiodło się przełączenie na LPG!"),
                   "CReadingsDlg::OnBnClickedButtonlpg()");
}

void CReadingsDlg::OnBnClickedButtonpetrol() {
    runModeCommand([this] { return m_device.switchToDiesel(); }, page_message::kDieselFailed,
                   "CReadingsDlg::OnBnClickedButtonpetrol()");
}

void CReadingsDlg::OnClickedConsole() {
    if (m_device.diagData().count() == 0) {
        return;
    }
    DiagSample sample{};
    m_device.diagData().latest(sample);
    if (sample.m_fuelMode == kFuelModeGas || sample.m_switchState == 1) {
        OnBnClickedButtonpetrol();
    } else {
        OnBnClickedButtonauto();
    }
}

} // namespace torva
