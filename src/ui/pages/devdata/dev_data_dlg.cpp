#include "ui/pages/devdata/dev_data_dlg.h"

#include "lang/source_text.h"
#include "link/lpg_device.h"
#include "platform/error.h"
#include "platform/user_interface.h"
#include "ui/controls/ext_tr_list_ctrl.h"
#include "ui/controls/gradient_button.h"
#include "ui/controls/transparent_group_box.h"
#include "ui/controls/transparent_static.h"
#include "ui/pages/common/block_write.h"
#include "ui/pages/common/handler_guard.h"
#include "ui/pages/common/live_only.h"
#include "ui/pages/common/page_messages.h"
#include "ui/pages/common/responsive_call.h"

#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QVBoxLayout>

#include <optional>
#include <utility>

namespace torva {

namespace {

constexpr const char* kReadErrorsFailed = PL("Nie można wczytać błędów urządzenia");
constexpr const char* kClearErrorsFailed = PL("Nie powiodło się skasowanie błędów!");
constexpr const char* kNumberColumn = PL("Nr");
constexpr const char* kTextColumn = PL("Opis");

const QColor kFaultText(150, 0, 0);
const QColor kFaultGrid(50, 185, 68);

// A value the page shows and the fitter may copy, never edit.
QLineEdit* readOnlyField(QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setReadOnly(true);
    field->setMinimumWidth(40);
    return field;
}

QString qText(const std::string& text) {
    return QString::fromStdString(text);
}

// Shows a value from its start, should the field be too narrow for all of it.
void showText(QLineEdit* field, const QString& text) {
    field->setText(text);
    field->setCursorPosition(0);
}

QFormLayout* fieldForm(QWidget* parent = nullptr) {
    auto* form = new QFormLayout(parent);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    return form;
}

} // namespace

CDevDataDlg::CDevDataDlg(CLPGDevice& device, const CDeviceErrorList* decoders, QWidget* parent)
    : CConfigPage(device, parent), m_decoders(decoders) {
    buildControls();
    // Nothing here edits the record; what acts on the controller is named below.
    setEditingArea(nullptr);
    needsController({m_lock, m_readErrors, m_clearErrors});
    markLiveOnly(m_readErrors);
    markLiveOnly(m_clearErrors);
}

void CDevDataDlg::buildControls() {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(10);
    layout->addWidget(buildIdentity(), 1);
    layout->addWidget(buildStatistics(), 1);
    layout->addWidget(buildFaults(), 1);
}

QWidget* CDevDataDlg::buildIdentity() {
    auto* column = new QWidget(this);
    auto* box = new QVBoxLayout(column);
    box->setContentsMargins(0, 0, 0, 0);

    auto* group = m_texts.track(new CTransparentGroupBox(column), PL("Wersja sterownika"));
    auto* form = fieldForm(group);
    m_version = readOnlyField(group);
    m_serial = readOnlyField(group);
    m_prodDate = readOnlyField(group);
    m_injectors = readOnlyField(group);
    form->addRow(m_texts.track(new CTransparentStatic(group), PL("Wersja")), m_version);
    form->addRow(m_texts.track(new CTransparentStatic(group), PL("Nr seryjny")), m_serial);
    form->addRow(m_texts.track(new CTransparentStatic(group), PL("Data produkcji")), m_prodDate);
    form->addRow(m_texts.track(new CTransparentStatic(group), PL("Ilość wtryskiwaczy")),
                 m_injectors);
    box->addWidget(group);

    // What fills the consumption boxes is not this page's business; it only labels them.
    auto* consumption = new QGridLayout;
    m_totalUnit = new CTransparentStatic(column);
    m_perHourUnit = new CTransparentStatic(column);
    const std::pair<const char*, QLabel*> rows[] = {{PL("Zużycie gazu"), m_totalUnit},
                                                    {PL("Chwilowe zużycie"), m_perHourUnit}};
    for (int row = 0; row < 2; ++row) {
        consumption->addWidget(m_texts.track(new CTransparentStatic(column), rows[row].first), row,
                               0);
        consumption->addWidget(readOnlyField(column), row, 1);
        consumption->addWidget(rows[row].second, row, 2);
    }
    consumption->setColumnStretch(1, 1);
    box->addLayout(consumption);
    box->addStretch(1);
    return column;
}

QWidget* CDevDataDlg::buildStatistics() {
    auto* column = new QWidget(this);
    auto* box = new QVBoxLayout(column);
    box->setContentsMargins(0, 0, 0, 0);

    auto* group = m_texts.track(new CTransparentGroupBox(column), PL("Statystyki"));
    auto* form = fieldForm(group);
    m_dieselTime = readOnlyField(group);
    m_gasTime = readOnlyField(group);
    form->addRow(m_texts.track(new CTransparentStatic(group), PL("Czas pracy diesel [h:m:s]:")),
                 m_dieselTime);
    form->addRow(m_texts.track(new CTransparentStatic(group), PL("Czas pracy na gazie [h:m:s]:")),
                 m_gasTime);
    // Labelled only: nothing the controller reports belongs here.
    form->addRow(m_texts.track(new CTransparentStatic(group), PL("Ostatnio modyfikował:")),
                 readOnlyField(group));
    form->addRow(m_texts.track(new CTransparentStatic(group), PL("Identyfikator własny:")),
                 readOnlyField(group));
    box->addWidget(group);

    m_lock = new CGradientButton(column);
    connect(m_lock, &QPushButton::clicked, this, [this] { OnBnClickedBtnLock(); });
    box->addWidget(m_lock, 0, Qt::AlignLeft);
    box->addStretch(1);
    return column;
}

QWidget* CDevDataDlg::buildFaults() {
    auto* group = m_texts.track(new CTransparentGroupBox(this), PL("Kody błędów"));
    auto* box = new QVBoxLayout(group);
    m_faults = new CExtTrListCtrl(group);
    m_faults->InsertColumn(0, translatedText(kNumberColumn), 50);
    m_faults->InsertColumn(1, translatedText(kTextColumn), 2000);
    m_faults->SetFullRowSel(true);
    m_faults->SetTextColor(kFaultText);
    m_faults->SetGridColor(kFaultGrid);
    m_faults->SetSelTextBkColor(kFaultGrid);
    box->addWidget(m_faults, 1);

    auto* buttons = new QHBoxLayout;
    m_readErrors = m_texts.track(new CGradientButton(group), PL("Wczytaj z urządzenia"));
    m_clearErrors = m_texts.track(new CGradientButton(group), PL("Kasuj błędy"));
    connect(m_readErrors, &QPushButton::clicked, this, [this] { OnBnClickedBtnReadErrors(); });
    connect(m_clearErrors, &QPushButton::clicked, this, [this] { OnBnClickedBtnClearErrors(); });
    buttons->addWidget(m_readErrors);
    buttons->addWidget(m_clearErrors);
    buttons->addStretch(1);
    box->addLayout(buttons);
    return group;
}

void CDevDataDlg::changeEvent(QEvent* event) {
    // Item views keep a font of their own; the list follows the page's as the window resizes.
    if (event->type() == QEvent::FontChange) {
        m_faults->setFont(font());
        for (int column = 0; column < m_faults->columnCount(); ++column)
            m_faults->horizontalHeaderItem(column)->setFont(font());
        m_faults->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
        // The longest values stay whole: the running times and the version line.
        const int frame = fontMetrics().horizontalAdvance(QLatin1Char('0')) * 2;
        for (QLineEdit* field : {m_dieselTime, m_gasTime})
            field->setMinimumWidth(
                fontMetrics().horizontalAdvance(QStringLiteral("9999 h: 59 min")) + frame);
        m_version->setMinimumWidth(
            fontMetrics().horizontalAdvance(QStringLiteral("WWWWWWWW  v 9.99.99")) + frame);
    }
    CConfigPage::changeEvent(event);
}

QString CDevDataDlg::pageTitle() const {
    return translatedText(PL("Dane ECU"));
}

void CDevDataDlg::retranslatePage() {
    m_texts.retranslate();
    m_faults->horizontalHeaderItem(0)->setText(translatedText(kNumberColumn));
    m_faults->horizontalHeaderItem(1)->setText(translatedText(kTextColumn));
    fillFromConfig(); // the lock caption and the units
}

void CDevDataDlg::fillFromConfig() {
    const CDeviceConfig config = device().configCopy();
    const SDevInfo& info = config.m_devInfo;
    // Without an identified controller there is no identity to show.
    const bool known = identityKnown(info);
    showText(m_version, known ? qText(versionText(info)) : QString());
    showText(m_serial, known ? qText(info.m_serial) : QString());
    showText(m_prodDate, known ? qText(info.m_prodDate) : QString());
    showText(m_injectors, known ? qText(injectorsText(info)) : QString());

    m_lock->setVisible(known && info.m_version > kLockAfterVersion);
    showLock((config.m_serviceSetup.m_advancedFlags2 & kControllerLockFlag) != 0);

    const SConsumptionUnits units = consumptionUnits(config.isCng());
    m_totalUnit->setText(translatedText(units.total));
    m_perHourUnit->setText(translatedText(units.perHour));
}

void CDevDataDlg::connectionChanged(bool connected) {
    CConfigPage::connectionChanged(connected);
    fillFromConfig();
}

void CDevDataDlg::showLock(bool locked) {
    m_lock->setText(translatedText(lockCaption(locked)));
}

void CDevDataDlg::refresh() {
    if (!device().isConnected() || !m_statistics.tick())
        return;
    bool read = false;
    try {
        // A read the user did not ask for: in the background, without the wait cursor.
        runInBackground([&] { read = device().readStatistics(); });
    } catch (const IError&) {
        // The next refresh tries again.
        return;
    }
    m_statistics.read();
    // Until a read succeeds the record holds no running time of this controller.
    if (read)
        showStatistics();
}

void CDevDataDlg::showStatistics() {
    // The first counter is the diesel time, whatever the record's member is called.
    const SStatistic statistic =
        device().withConfig([](CDeviceConfig& c) { return c.m_devInfo.m_statistic; });
    showText(m_dieselTime, qText(runningTimeText(statistic.gas)));
    showText(m_gasTime, qText(runningTimeText(statistic.lpg)));
}

void CDevDataDlg::OnBnClickedBtnReadErrors() {
    runHandler("CDevDataDlg::OnBnClickedBtnReadErrors()", [&] {
        if (!device().isConnected() || m_decoders == nullptr)
            return;
        std::optional<std::vector<std::string>> texts;
        runResponsively([&] { texts = device().readErrorTexts(*m_decoders); });
        if (!texts) {
            appUi().message(kReadErrorsFailed, page_message::kCaption, EIcon::None);
            return;
        }
        showFaults(*texts);
    });
}

void CDevDataDlg::showFaults(const std::vector<std::string>& texts) {
    m_faults->DeleteAllItems();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const int row = m_faults->InsertItem(static_cast<int>(i), QString::number(i + 1));
        m_faults->SetItemText(row, 1, qText(texts[i]));
    }
}

void CDevDataDlg::OnBnClickedBtnClearErrors() {
    runHandler("CDevDataDlg::OnBnClickedBtnClearErrors()", [&] {
        if (!device().isConnected())
            return;
        bool cleared = false;
        runResponsively([&] { cleared = device().resetDevice(); });
        if (cleared)
            m_faults->DeleteAllItems();
        else
            appUi().message(kClearErrorsFailed, page_message::kCaption, EIcon::Error);
    });
}

void CDevDataDlg::OnBnClickedBtnLock() {
    runHandler("CDevDataDlg::OnBnClickedBtnLock()", [&] {
        if (!device().isConnected())
            return;
        const auto toggle = [this] {
            return device().withConfig([](CDeviceConfig& c) {
                c.m_serviceSetup.m_advancedFlags2 ^= kControllerLockFlag;
                return (c.m_serviceSetup.m_advancedFlags2 & kControllerLockFlag) != 0;
            });
        };
        showLock(toggle());
        // A bit the controller did not take must not ride along with the next service-block
        // write of another page, locking or unlocking the controller unasked.
        bool written = false;
        try {
            written = writeBlockReported(device(), EBlock::Service);
        } catch (...) {
            showLock(toggle());
            throw;
        }
        if (!written)
            showLock(toggle());
    });
}

} // namespace torva
