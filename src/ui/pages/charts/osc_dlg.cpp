#include "ui/pages/charts/osc_dlg.h"

#include "diag/diag_file.h"
#include "diag/diag_file_reader.h"
#include "diag/diag_sample_values.h"
#include "diag/polling_control.h"
#include "lang/source_text.h"
#include "lang/translation.h"
#include "link/lpg_device.h"
#include "platform/error.h"
#include "platform/user_interface.h"
#include "platform/wait_cursor.h"
#include "ui/controls/gradient_button.h"
#include "ui/controls/transparent_static.h"
#include "ui/pages/charts/chart_tool_icons.h"
#include "ui/pages/common/handler_error.h"
#include "ui/pages/common/live_only.h"
#include "ui/pages/common/page_texts.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace torva {

namespace {

constexpr const char* kCaption = "TORVA";
constexpr int kToolIconSize = 28;

} // namespace

COscDlg::COscDlg(CLPGDevice& device, CPollingControl& polling, QWidget* parent)
    : CMultiPageDialog(parent), m_device(device), m_polling(polling) {
    buildControls();
}

void COscDlg::buildControls() {
    m_chart = new CScrollChart<double>(this);
    setUpChartSeries(m_chart->model());
    m_chart->modelChanged();

    auto* tools = new QVBoxLayout;
    tools->setSpacing(4);
    const std::pair<QPushButton**, EChartTool> buttons[] = {
        {&m_clear, EChartTool::Clear},
        {&m_stop, EChartTool::StopRecording},
        {&m_record, EChartTool::Record},
        {&m_open, EChartTool::Open},
    };
    for (const auto& [button, picture] : buttons) {
        *button = new CGradientButton(this);
        (*button)->setIcon(chartToolIcon(picture));
        (*button)->setIconSize({kToolIconSize, kToolIconSize});
        // The face leaves 6 pixels either side of the picture.
        (*button)->setFixedSize(kToolIconSize + 12, kToolIconSize + 12);
        tools->addWidget(*button);
    }
    tools->addStretch(1);
    connect(m_clear, &QPushButton::clicked, this, [this] { OnBnClickedBtnClear(); });
    connect(m_stop, &QPushButton::clicked, this, [this] { OnBnClickedBtnStop(); });
    connect(m_record, &QPushButton::clicked, this, [this] { OnBnClickedBtnRecord(); });
    connect(m_open, &QPushButton::clicked, this, [this] { OnBnClickedBtnOpen(); });

    m_fileLabel = new CTransparentStatic(QString());
    m_fileLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_fileLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* centre = new QVBoxLayout;
    centre->setSpacing(2);
    centre->addWidget(m_chart, 1);
    centre->addWidget(m_fileLabel);

    m_checkBoxColumn = new QVBoxLayout;
    m_checkBoxColumn->setSpacing(0);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setSpacing(8);
    layout->addLayout(tools);
    layout->addLayout(centre, 1);
    layout->addLayout(m_checkBoxColumn);
    retranslatePage();
}

QString COscDlg::pageTitle() const {
    return translatedText("Wykresy");
}

void COscDlg::retranslatePage() {
    m_clear->setToolTip(translatedText(PL("Wyczyść wykres")));
    m_stop->setToolTip(translatedText(PL("Zatrzymaj nagrywanie")));
    m_record->setToolTip(translatedText(PL("Nagrywaj do pliku")));
    markLiveOnly(m_record);
    m_open->setToolTip(translatedText(PL("Otwórz plik")));
    m_fileLabel->clear();
    updateRecordingState();
}

std::uint16_t COscDlg::tempomatFlags() const {
    return m_device.config().m_tempomatSetup.m_tempomatFlags;
}

void COscDlg::refresh() {
    updateRecordingState();
    CDiagData& store = m_device.diagData();
    if (store.count() == 0 || m_feed.showsRecording()) {
        return;
    }
    // Only the newest sample: the ones that came since the last refresh are not plotted.
    DiagSample sample{};
    store.latest(sample);
    const SLiveValues values = liveValues(sample, m_device.config());
    m_feed.addLivePoint(m_chart->model(),
                        [&values](int column) { return liveColumnValue(values, column); });
    m_chart->modelChanged();
}

void COscDlg::setReadOut(bool on) {
    m_chart->setReadOut(on);
}

void COscDlg::OnBnClickedBtnClear() {
    m_feed.restartLive(m_chart->model());
    m_chart->modelChanged();
    setReadOut(false);
    m_opened.reset();
    updateRecordingState();
}

void COscDlg::OnBnClickedBtnStop() {
    try {
        m_polling.stopRecording();
        updateRecordingState();
    } catch (...) {
        showError("COscDlg::OnBnClickedBtnStop()", std::current_exception());
    }
}

void COscDlg::OnBnClickedBtnRecord() {
    try {
        const std::string chosen = appUi().chooseFile(recordingFileChoice(true));
        if (chosen.empty()) {
            return;
        }
        OnBnClickedBtnClear();
        // A name that cannot be written is told by the polling control.
        m_polling.startRecording(withRecordingExtension(chosen));
        updateRecordingState();
    } catch (...) {
        showError("COscDlg::OnBnClickedBtnRecord()", std::current_exception());
    }
}

void COscDlg::OnBnClickedBtnOpen() {
    try {
        const std::string path = appUi().chooseFile(recordingFileChoice(false));
        if (path.empty() || !hasRecordingExtension(path)) {
            return;
        }
        {
            CWaitCursor waitCursor;
            const std::vector<DiagRecord> records = readDiagFile(path);
            plotRecording(m_chart->model(), m_feed, records);
            m_opened = openedRecording(path, records.size());
        }
        // The opened drive is shown from its start.
        m_chart->model().scrollToStart();
        m_chart->modelChanged();
        setReadOut(true);
        updateRecordingState();
    } catch (...) {
        showError("COscDlg::OnBnClickedBtnOpen()", std::current_exception());
    }
}

void COscDlg::updateRecordingState() {
    m_stop->setEnabled(m_polling.isRecording());
    QString text;
    if (m_opened) {
        text =
            QStringLiteral("%1 %2     %3 ~%4     %5 %6")
                .arg(translatedText(PL("Plik:")), QString::fromStdString(m_opened->fileName),
                     translatedText(PL("Czas:")), QString::fromStdString(m_opened->durationText()),
                     translatedText(PL("Próbki:")))
                .arg(m_opened->records);
    } else if (m_polling.isRecording()) {
        // Written or not, the recording goes on: the link being down only pauses it.
        const char* state = m_polling.isRecordingWritten()
                                ? PL("Nagrywanie:")
                                : PL("Nagrywanie wstrzymane (brak połączenia):");
        text = QStringLiteral("%1 %2").arg(
            translatedText(state),
            QString::fromStdString(openedRecording(m_polling.recordingFileName(), 0).fileName));
    }
    if (text != m_fileLabel->text()) {
        m_fileLabel->setText(text);
    }
}

void COscDlg::showError(const char* context, const std::exception_ptr& error) {
    appUi().message(std::string(context) + "\n" + handlerErrorText(error), kCaption, EIcon::None);
}

} // namespace torva
