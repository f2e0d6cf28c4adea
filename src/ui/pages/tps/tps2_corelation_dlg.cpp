#include "ui/pages/tps/tps2_corelation_dlg.h"

#include "lang/source_text.h"
#include "lang/translation.h"
#include "ui/controls/gradient_button.h"
#include "ui/pages/tps/tps_correlation_chart.h"

#include <QVBoxLayout>

namespace torva {

CTPS2CorelationDlg::CTPS2CorelationDlg(CLPGDevice& device, QWidget* parent)
    : CGradientDialog(parent), m_chart(new CTPSCorelationChart(device, this)) {
    setWindowTitle(QString::fromStdString(translate(PL("Korelacja TPS2"))));
    auto* close = new CGradientButton(QString::fromStdString(translate(PL("Zamknij"))), this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_chart, 1);
    layout->addWidget(close, 0, Qt::AlignRight);
    resize(520, 500);
    m_chart->start();
}

void CTPS2CorelationDlg::done(int result) {
    m_chart->stop();
    CGradientDialog::done(result);
}

} // namespace torva
