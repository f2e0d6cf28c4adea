#include "ui/pages/calibration/rpm_definition_dlg.h"

#include "config/axis_definition.h"
#include "lang/source_text.h"
#include "ui/pages/calibration/axis_dialog_input.h"
#include "ui/pages/calibration/axis_dialog_parts.h"
#include "ui/pages/common/page_texts.h"

#include <QLineEdit>
#include <QPushButton>

namespace torva {

using namespace calibration;

CRpmDefinitionDlg::CRpmDefinitionDlg(double minRpm, double maxRpm, QWidget* parent)
    : CGradientDialog(parent) {
    setWindowTitle(translatedText(PL("Zakres RPM")));
    m_minRpm = numberField(this, "%.0f", minRpm);
    m_maxRpm = numberField(this, "%.0f", maxRpm);
    m_problem = problemLine(this);

    layOutAxisDialog(this,
                     {{PL("Minimalne obroty"), m_minRpm}, {PL("Maksymalne obroty"), m_maxRpm}},
                     m_problem, m_ok, m_cancel);
    connect(m_ok, &QPushButton::clicked, this, &CRpmDefinitionDlg::OnOK);
    setMinimumWidth(280);
}

void CRpmDefinitionDlg::OnOK() {
    const std::optional<double> minRpm = fieldNumber(m_minRpm);
    const std::optional<double> maxRpm = fieldNumber(m_maxRpm);
    showProblem(m_problem, {});
    if (!minRpm || !maxRpm) {
        showProblem(m_problem, notANumberText());
        return;
    }
    const EAxisFault fault = checkRpmRange(*minRpm, *maxRpm);
    if (fault != EAxisFault::None) {
        showProblem(m_problem, axisFaultText(fault, *minRpm));
        return;
    }
    m_rpmAxis = generateRpmAxis(*minRpm, *maxRpm);
    accept();
}

} // namespace torva
