#include "ui/pages/calibration/emu_definition_dlg.h"

#include "lang/source_text.h"
#include "lang/translation.h"
#include "ui/pages/calibration/axis_dialog_input.h"
#include "ui/pages/calibration/axis_dialog_parts.h"
#include "ui/pages/calibration/calibration_rules.h"
#include "ui/pages/common/page_texts.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace torva {

using namespace calibration;

CEmuDefinitionDlg::CEmuDefinitionDlg(const CDeviceConfig& config, EEmuChannel channel,
                                     QWidget* parent)
    : CGradientDialog(parent), m_config(config), m_channel(channel) {
    setWindowTitle(translatedText(PL("Definicja")));
    const SEmuDefinition shown = definitionFromRecord(config, channel);
    m_minValue = numberField(this, "%.2f", shown.minValue);
    m_maxValue = numberField(this, "%.2f", shown.maxValue);
    m_minRpm = numberField(this, "%.0f", shown.minRpm);
    m_maxRpm = numberField(this, "%.0f", shown.maxRpm);
    m_scale = new QComboBox(this);
    m_scale->addItem(translatedText(PL("Skala równomierna")),
                     static_cast<int>(EAxisScale::Uniform));
    m_scale->addItem(translatedText(PL("Skala precyzyjna")), static_cast<int>(EAxisScale::Precise));
    m_scale->setCurrentIndex(0);
    // The digital-TPS axis is always uniform.
    m_scale->setEnabled(channel != EEmuChannel::TpsDigital);
    m_problem = problemLine(this);
    // Fields as wide as the combo, so that the column has one right edge.
    for (QLineEdit* field : {m_minValue, m_maxValue, m_minRpm, m_maxRpm})
        field->setFixedWidth(std::max(field->width(), m_scale->sizeHint().width()));

    layOutAxisDialog(this,
                     {{PL("Minimalna wartość"), m_minValue},
                      {PL("Maksymalna wartość"), m_maxValue},
                      {PL("Minimalne obroty"), m_minRpm},
                      {PL("Maksymalne obroty"), m_maxRpm},
                      {PL("Typ skali emulatora"), m_scale}},
                     m_problem, m_ok, m_cancel);
    connect(m_ok, &QPushButton::clicked, this, &CEmuDefinitionDlg::OnOK);
    setMinimumWidth(320);
}

void CEmuDefinitionDlg::OnOK() {
    const std::optional<double> minValue = fieldNumber(m_minValue);
    const std::optional<double> maxValue = fieldNumber(m_maxValue);
    const std::optional<double> minRpm = fieldNumber(m_minRpm);
    const std::optional<double> maxRpm = fieldNumber(m_maxRpm);
    showProblem(m_problem, {});
    if (!minValue || !maxValue || !minRpm || !maxRpm) {
        showProblem(m_problem, notANumberText());
        return;
    }
    SEmuDefinition definition;
    definition.minValue = *minValue;
    definition.maxValue = *maxValue;
    definition.minRpm = *minRpm;
    definition.maxRpm = *maxRpm;
    definition.scale = static_cast<EAxisScale>(m_scale->currentData().toInt());
    const bool withRpm = pageDefinesRpm(m_channel);
    const EAxisFault fault = checkEmuDefinition(definition, withRpm);
    // Refused input keeps the dialog open and says which rule it broke.
    if (fault != EAxisFault::None) {
        showProblem(m_problem, axisFaultText(fault, definition.minRpm));
        return;
    }
    m_newAxes = defineAxes(m_config, m_channel, definition, withRpm);
    // A span below one controller step per point would write repeated points.
    if (m_newAxes && checkNewAxes(m_config, m_channel, *m_newAxes) != EAxisFault::None) {
        m_newAxes.reset();
        showProblem(m_problem, translate(PL("Zakres jest zbyt wąski: punkty osi powtarzałyby się "
                                            "w sterowniku.")));
        return;
    }
    accept();
}

} // namespace torva
