#include "ui/pages/calibration/rpm_definition_dlg.h"

#include "config/axis_definition.h"
#include "lang/source_text.h"
#include "ui/pages/calibration/axis_dialog_input.h"
#include "ui/pages/calibration/axis_dialog_parts.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace torva {

using namespace calibration;

CRpmDefinitionDlg::CRpmDefinitionDlg(double minRpm, double maxRpm, QWidget* parent)
    : CGradientDialog(parent) {
    setWindowTitle(translated(PL("Zakres RPM")));
    m_minRpm = numberField(this, "%.0f", minRpm);
    m_maxRpm = numberField(this, "%.0f", maxRpm);
    m_problem = problemLine(this);

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(translated(PL("Minimalne obroty")), this), 0, 0);
    fields->addWidget(m_minRpm, 0, 1);
    fields->addWidget(new QLabel(translated(PL("Maksymalne obroty")), this), 1, 0);
    fields->addWidget(m_maxRpm, 1, 1);
    fields->setColumnStretch(0, 1);
    fields->setHorizontalSpacing(16);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(m_problem);
    layout->addSpacing(8);
    layout->addLayout(okCancelRow(m_ok, m_cancel, this));
    connect(m_ok, &QPushButton::clicked, this, &CRpmDefinitionDlg::OnOK);
    setMinimumWidth(280);
}

void CRpmDefinitionDlg::OnOK() {
    const std::optional<double> minRpm = fieldNumber(m_minRpm);
    const std::optional<double> maxRpm = fieldNumber(m_maxRpm);
    showProblem(m_problem, {});
    if (!minRpm || !maxRpm)
        return;
    const EAxisFault fault = checkRpmRange(*minRpm, *maxRpm);
    if (fault == EAxisFault::RpmPointsNotRising)
        showProblem(m_problem, rpmPointsRepeatText(*minRpm));
    if (fault != EAxisFault::None)
        return;
    m_rpmAxis = generateRpmAxis(*minRpm, *maxRpm);
    accept();
}

} // namespace torva
