#pragma once

#include "lang/timer_based_gui.h"
#include "ui/controls/multi_page_dialog.h"
#include "ui/pages/readings/readings_rules.h"

#include <array>
#include <functional>
#include <string>

class QLabel;
class QPushButton;

namespace torva {

class CConsole;
class CDeviceErrorList;
class CLPGDevice;
class CTransparentBarDisplay;
class CTransparentGroupBox;
class CTransparentStatic;

// The instrument panel ("Odczyty"): fourteen gauges of the newest live sample, the mode, cruise
// and error labels, the switch panel and the AUTO, GAZ and DIESEL buttons.
class CReadingsDlg : public CMultiPageDialog, public ITimerBasedGUI {
    Q_OBJECT
public:
    static constexpr int kGaugeCount = 14;

    // decoders may be nullptr (no error label updates then).
    CReadingsDlg(CLPGDevice& device, const CDeviceErrorList* decoders, QWidget* parent = nullptr);

    // One refresh from the newest sample; without a connection the readings are blanked.
    void refresh() override;
    QString pageTitle() const override;
    void retranslatePage() override;

    // The mode buttons and the switch panel.
    void OnBnClickedButtonauto();
    void OnBnClickedButtonlpg();
    void OnBnClickedButtonpetrol();
    void OnClickedConsole();

    CTransparentBarDisplay* gauge(int index) const { return m_gauges[index]; }
    QLabel* modeLabel() const;
    QLabel* cruiseLabel() const;
    QLabel* errorLabel() const;
    CConsole* console() const { return m_console; }
    QPushButton* autoButton() const { return m_auto; }
    QPushButton* gasButton() const { return m_gas; }
    QPushButton* dieselButton() const { return m_diesel; }
    // How often each label's text was set since the page was built (tests).
    int modeLabelWrites() const { return m_modeWrites; }
    int cruiseLabelWrites() const { return m_cruiseWrites; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildControls();
    void updateFont();
    void showGauges(const DiagSample& sample);
    void blankReadings();
    void updateConsole(const DiagSample& sample);
    void updateErrorLabel();
    void updateConsumption();
    void setAuxCaption(EAuxSpeedSource source);
    void runModeCommand(const std::function<bool()>& command, const char* failure,
                        const char* context);

    CLPGDevice& m_device;
    const CDeviceErrorList* m_decoders;
    std::array<CTransparentBarDisplay*, kGaugeCount> m_gauges{};
    CTransparentStatic* m_mode = nullptr;
    CTransparentStatic* m_cruise = nullptr;
    CTransparentStatic* m_error = nullptr;
    QWidget* m_switchColumn = nullptr;
    CTransparentGroupBox* m_switchBox = nullptr;
    CConsole* m_console = nullptr;
    QPushButton* m_auto = nullptr;
    QPushButton* m_gas = nullptr;
    QPushButton* m_diesel = nullptr;

    CReadingsLabels m_labels;
    CReadingsCountdowns m_countdowns;
    CConsoleBlink m_blink;
    EAuxSpeedSource m_auxSource = EAuxSpeedSource::Camshaft;
    const char* m_modeText;
    const char* m_cruiseText = "";
    bool m_errorShown = false;
    int m_modeWrites = 0;
    int m_cruiseWrites = 0;
};

} // namespace torva
