#include "ui/pages/maps/map_coverage_view.h"

#include "config/data_folders.h"
#include "diag/diag_file.h"
#include "lang/source_text.h"
#include "lang/translation.h"
#include "link/lpg_device.h"
#include "platform/user_interface.h"
#include "platform/wait_cursor.h"
#include "ui/controls/cell_array.h"
#include "ui/controls/cell_overlay_layer.h"
#include "ui/controls/cell_overlay_legend.h"
#include "ui/controls/gradient_button.h"
#include "ui/pages/common/handler_guard.h"
#include "ui/pages/common/page_texts.h"
#include "ui/pages/common/value_combo.h"
#include "ui/pages/maps/map_coverage_overlay.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>

#include <filesystem>
#include <fstream>

namespace torva {

namespace {

constexpr const char* kFromRecording = PL("Pokrycie z nagrania…");
constexpr const char* kLive = PL("Pokrycie na żywo");
constexpr const char* kHide = PL("Ukryj pokrycie");
constexpr const char* kNoSamples = PL("brak próbek");
constexpr const char* kUnreadable = PL("Nie można odczytać pliku nagrania:");
constexpr const char* kCaption = "TORVA";

SValueList choiceList() {
    SValueList list;
    for (const SCoverageChoice& choice : coverageChoices())
        list.items.push_back({choice.text, choice.column});
    return list;
}

} // namespace

CMapCoverageView::CMapCoverageView(CLPGDevice& device, int channel,
                                   const std::vector<CCellArray*>& grids, QObject* parent)
    : QObject(parent), m_device(device), m_channel(channel) {
    for (CCellArray* grid : grids)
        m_layers.push_back(new CCellOverlayLayer(*grid));
    buildBar();
}

void CMapCoverageView::buildBar() {
    m_bar = new QWidget;
    auto* row = new QHBoxLayout(m_bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    m_sourceLabel = new QLabel;
    QFont bold = m_sourceLabel->font();
    bold.setBold(true);
    m_sourceLabel->setFont(bold);
    m_samples = new QLabel;
    m_chooser = new CValueCombo;
    m_chooser->setItems(choiceList());
    m_chooser->setCurrentIndex(0);
    m_chooser->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    connect(m_chooser, &QComboBox::activated, this, [this] {
        runHandler("CMapCoverageView::OnSelendokCmbCoverage", [this] { showCoverage(); });
    });
    m_legend = new CCellOverlayLegend;
    m_hide = new CGradientButton;
    connect(m_hide, &QPushButton::clicked, this, [this] {
        runHandler("CMapCoverageView::OnBnClickedBtnHide", [this] { hideCoverage(); });
    });
    row->addWidget(m_sourceLabel);
    row->addWidget(m_samples);
    row->addWidget(m_chooser);
    row->addWidget(m_legend);
    row->addStretch(1);
    row->addWidget(m_hide);
    m_bar->hide();
    retranslate();
}

QAbstractButton* CMapCoverageView::hideButton() const {
    return m_hide;
}

void CMapCoverageView::addTools(QMenu& menu) {
    // A recording too large for memory must end in a message, not the program.
    connect(menu.addAction(translatedText(kFromRecording)), &QAction::triggered, this, [this] {
        runHandler("CMapCoverageView::OnCoverageFromRecording", [this] { chooseRecording(); });
    });
    QAction* live = menu.addAction(translatedText(kLive));
    live->setCheckable(true);
    live->setChecked(m_source == ESource::Live);
    connect(live, &QAction::toggled, this, [this](bool on) {
        runHandler("CMapCoverageView::OnCoverageLive", [this, on] { setLive(on); });
    });
    if (m_source != ESource::None)
        connect(menu.addAction(translatedText(kHide)), &QAction::triggered, this,
                [this] { hideCoverage(); });
}

void CMapCoverageView::chooseRecording() {
    SFileChoice choice;
    choice.folder = diagnosticFolder();
    choice.defaultExtension = "oscd";
    choice.filter = "Diagnostic file (*.oscd)|*.oscd|";
    const std::string path = appUi().chooseFile(choice);
    if (!path.empty() && hasRecordingExtension(path))
        showRecording(path);
}

bool CMapCoverageView::showRecording(const std::string& path) {
    // A folder or a device (such as a pipe, which may never end) is no recording.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error) || !std::ifstream(path, std::ios::binary)) {
        appUi().message(translate(kUnreadable) + "\n" + path, kCaption, EIcon::Error);
        return false;
    }
    const CWaitCursor waitCursor;
    std::vector<DiagRecord> records = readDiagFile(path);
    start(ESource::Recording);
    m_records = std::move(records);
    m_fileName = std::filesystem::path(path).filename().string();
    rebin();
    return true;
}

void CMapCoverageView::setLive(bool on) {
    if (!on) {
        if (m_source == ESource::Live)
            hideCoverage();
        return;
    }
    start(ESource::Live);
    m_feed.start(m_device.diagData());
    rebin();
}

void CMapCoverageView::start(ESource source) {
    m_source = source;
    m_records.clear();
    m_fileName.clear();
}

void CMapCoverageView::hideCoverage() {
    start(ESource::None);
    m_rule.reset();
    m_coverage = {};
    for (CCellOverlayLayer* layer : m_layers)
        layer->clear();
    m_bar->hide();
}

void CMapCoverageView::refreshLive() {
    if (m_source != ESource::Live || !m_rule)
        return;
    const std::size_t known = m_records.size();
    m_feed.takeNew(m_device.diagData(), m_device.configCopy(), m_records);
    if (m_records.size() == known)
        return;
    for (std::size_t i = known; i < m_records.size(); ++i)
        m_coverage.add(m_rule->cellOf(m_records[i]), m_records[i]);
    showCoverage();
}

void CMapCoverageView::rebin() {
    if (m_source == ESource::None)
        return;
    m_rule.emplace(m_device.configCopy(), m_channel);
    m_coverage = binRecords(m_records, *m_rule);
    showCoverage();
}

void CMapCoverageView::showCoverage() {
    if (m_source == ESource::None)
        return;
    const CCellOverlay overlay =
        coverageOverlay(m_coverage, m_chooser->selectedValue().value_or(kCoverageCounts));
    for (CCellOverlayLayer* layer : m_layers)
        layer->setOverlay(overlay);
    m_sourceLabel->setText(m_source == ESource::Live ? translatedText(kLive)
                                                     : QString::fromStdString(m_fileName));
    m_samples->setText(
        QStringLiteral("%1 %2").arg(translatedText(PL("Próbki:"))).arg(m_coverage.total()));
    m_legend->setTexts(QStringLiteral("1"), QString::number(std::max(m_coverage.maxCount(), 1)),
                       translatedText(kNoSamples));
    m_bar->show();
}

void CMapCoverageView::retranslate() {
    m_chooser->retranslate();
    m_hide->setText(translatedText(kHide));
    showCoverage();
}

} // namespace torva
