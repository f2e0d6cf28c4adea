#pragma once

#include "config/device_config.h"
#include "lang/timer_based_gui.h"
#include "link/exhaust_reading.h"
#include "ui/pages/common/config_page.h"
#include "ui/pages/common/page_texts.h"

#include <array>

class QCheckBox;
class QGroupBox;
class QLineEdit;

namespace torva {

class CUpDownField;
class CValueCombo;

// "Zabezpieczenia": the exhaust temperature limit, the thermocouples the controller watches
// with their live temperatures, and the knock sensor input with its live levels.
class CEGTDlg : public CConfigPage, public ITimerBasedGUI {
public:
    explicit CEGTDlg(CLPGDevice& device, QWidget* parent = nullptr);

    void fillFromConfig() override;
    void connectionChanged(bool connected) override;
    // The live temperatures and knock levels.
    void refresh() override;
    QString pageTitle() const override;
    void retranslatePage() override;

    void OnDeltaposSpinMaxExhaustTempr(int clicks);
    void OnClickedChkInternalEgtEnable();
    void OnClickedChkExtEgt(std::size_t thermocouple); // 0-based
    void OnDeltaposSpinMaxKnock(int clicks);
    void OnSelendokCmbKnockFreq();
    void OnSelendokCmbKnockIntTime();
    void OnSelendokCmbKnockGain();

    CUpDownField* maxExhaustField() const { return m_maxExhaust; }
    QCheckBox* internalThermocoupleBox() const { return m_internal; }
    QCheckBox* thermocoupleBox(std::size_t i) const { return m_thermocouples[i]; }
    QLineEdit* temperatureField(std::size_t i) const { return m_temperatures[i]; }
    QGroupBox* knockGroup() const { return m_knockGroup; }
    CUpDownField* knockMaxField() const { return m_knockMax; }
    CValueCombo* knockFreqCombo() const { return m_knockFreq; }
    CValueCombo* knockIntTimeCombo() const { return m_knockIntTime; }
    CValueCombo* knockGainCombo() const { return m_knockGain; }
    QLineEdit* knockLevelField(std::size_t i) const { return m_knockLevels[i]; }

protected:
    void changeEvent(QEvent* event) override;

private:
    QWidget* buildExhaust();
    QWidget* buildKnock();
    QWidget* buildThermocouples();
    void enableThermocouples(bool connected);
    void showReading(const SExhaustReading& reading, std::uint16_t mask);
    void clearTemperatures();
    // Stores the combo's choice in field and writes the service block, when it changed.
    void storeKnockChoice(const CValueCombo& combo, std::uint8_t SServiceSetup::*field);

    CPageTexts m_texts;
    CUpDownField* m_maxExhaust = nullptr;
    QCheckBox* m_internal = nullptr;
    std::array<QCheckBox*, kThermocouples> m_thermocouples{};
    std::array<QLineEdit*, kThermocouples> m_temperatures{};
    QGroupBox* m_knockGroup = nullptr;
    CUpDownField* m_knockMax = nullptr;
    CValueCombo* m_knockFreq = nullptr;
    CValueCombo* m_knockIntTime = nullptr;
    CValueCombo* m_knockGain = nullptr;
    std::array<QLineEdit*, kKnockInputs> m_knockLevels{};
    bool m_knockShown = false;
};

} // namespace torva
