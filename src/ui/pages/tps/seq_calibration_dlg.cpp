#include "ui/pages/tps/seq_calibration_dlg.h"

#include "lang/source_text.h"
#include "platform/error.h"
#include "platform/user_interface.h"
#include "ui/controls/gradient_button.h"
#include "ui/pages/common/page_messages.h"
#include "ui/pages/common/page_texts.h"
#include "ui/pages/common/responsive_call.h"
#include "ui/pages/tps/sequence_capture.h"
#include "ui/pages/tps/sequence_chart.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace torva {

namespace {

constexpr const char* kCaption = "TORVA";

} // namespace

CSeqCalibrationDlg::CSeqCalibrationDlg(CLPGDevice& device, QWidget* parent)
    : CGradientDialog(parent), m_device(device), m_chart(new CSequenceChart(this)) {
    setWindowTitle(translatedText(PL("Kalibracja sygnałów dla sekwencji gazowej")));

    auto* fields = new QGridLayout;
    const char* labels[] = {PL("Próg dla RPM"), PL("Dzielnik dla RPM"),
                            PL("Próg dla sygnału wałka rozrządu"),
                            PL("Dzielnik dla sygnału wałka rozrządu")};
    for (int i = 0; i < 4; ++i) {
        fields->addWidget(new QLabel(translatedText(labels[i]), this), i / 2, (i % 2) * 2);
        auto* edit = new QLineEdit(this);
        edit->setMaximumWidth(80);
        fields->addWidget(edit, i / 2, (i % 2) * 2 + 1);
    }

    auto* calibrate =
        new CGradientButton(translatedText(PL("Kalibracja sygnałów RPM i wałka rozrządu")), this);
    auto* save = new CGradientButton(translatedText(PL("Zapisz sygnał")), this);
    auto* load = new CGradientButton(translatedText(PL("Wczytaj sygnał")), this);
    auto* close = new CGradientButton(translatedText(PL("Zamknij")), this);
    connect(calibrate, &QPushButton::clicked, this, &CSeqCalibrationDlg::OnBnClickedBtnCalibrate);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(calibrate);
    buttons->addStretch(1);
    buttons->addWidget(save);
    buttons->addWidget(load);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(m_chart, 1);
    layout->addLayout(buttons);
    resize(760, 440);
}

void CSeqCalibrationDlg::OnBnClickedBtnCalibrate() {
    try {
        std::optional<CapturePages> pages;
        runResponsively([&] { pages = readSequenceCapture(m_device); });
        if (!pages) {
            appUi().message(page_message::kReadFailed, kCaption, EIcon::Error);
            return;
        }
        m_chart->setPulses(sequencePulses(absoluteEdgeTimes(*pages)));
    } catch (const IError& error) {
        appUi().message("CSeqCalibrationDlg::OnBnClickedBtnCalibrate()\n" + error.formattedText(),
                        kCaption, EIcon::None);
    }
}

} // namespace torva
