#pragma once

#include "config/axis_definition.h"
#include "ui/controls/gradient_dialog.h"

#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace torva {

// "Definicja": a channel's load axis (and, from channel 1's page, the RPM axis) regenerated
// from its end points. Opens on the record's end points and the uniform scale; OK is taken only
// when the input passes the definition's rules. The dialog changes nothing itself: the caller
// writes newAxes() (updateLiveAxes) and refreshes its page.
class CEmuDefinitionDlg : public CGradientDialog {
    Q_OBJECT
public:
    CEmuDefinitionDlg(const CDeviceConfig& config, EEmuChannel channel, QWidget* parent = nullptr);

    // After OK: the new axes, or std::nullopt when nothing changes.
    const std::optional<SNewAxes>& newAxes() const { return m_newAxes; }

    QLineEdit* minValueEdit() const { return m_minValue; }
    QLineEdit* maxValueEdit() const { return m_maxValue; }
    QLineEdit* minRpmEdit() const { return m_minRpm; }
    QLineEdit* maxRpmEdit() const { return m_maxRpm; }
    QComboBox* scaleCombo() const { return m_scale; }
    QPushButton* okButton() const { return m_ok; }
    QLabel* problemLabel() const { return m_problem; }

private:
    void OnOK();

    const CDeviceConfig& m_config;
    EEmuChannel m_channel;
    std::optional<SNewAxes> m_newAxes;
    QLineEdit* m_minValue;
    QLineEdit* m_maxValue;
    QLineEdit* m_minRpm;
    QLineEdit* m_maxRpm;
    QComboBox* m_scale;
    QLabel* m_problem;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};

} // namespace torva
