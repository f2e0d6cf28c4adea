#pragma once

#include "lang/timer_based_gui.h"
#include "ui/pages/common/config_page.h"
#include "ui/pages/common/page_texts.h"
#include "ui/pages/devdata/dev_data_rules.h"

#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;

namespace torva {

class CDeviceErrorList;
class CExtTrListCtrl;

// "Dane ECU": who the controller is, its running times, its stored faults with read and
// clear, and the button that locks or unlocks it.
class CDevDataDlg : public CConfigPage, public ITimerBasedGUI {
public:
    // decoders may be nullptr (the fault list cannot be read then).
    CDevDataDlg(CLPGDevice& device, const CDeviceErrorList* decoders, QWidget* parent = nullptr);

    // Identity, lock button and consumption units from the record.
    void fillFromConfig() override;
    // Another controller may have come: the identity is shown again.
    void connectionChanged(bool connected) override;
    // The statistics on every 11th tick while connected.
    void refresh() override;
    QString pageTitle() const override;
    void retranslatePage() override;

    void OnBnClickedBtnReadErrors();
    void OnBnClickedBtnClearErrors();
    void OnBnClickedBtnLock();

    QLineEdit* versionField() const { return m_version; }
    QLineEdit* serialField() const { return m_serial; }
    QLineEdit* prodDateField() const { return m_prodDate; }
    QLineEdit* injectorsField() const { return m_injectors; }
    QLineEdit* dieselTimeField() const { return m_dieselTime; }
    QLineEdit* gasTimeField() const { return m_gasTime; }
    QPushButton* lockButton() const { return m_lock; }
    QPushButton* readErrorsButton() const { return m_readErrors; }
    QPushButton* clearErrorsButton() const { return m_clearErrors; }
    CExtTrListCtrl* faultList() const { return m_faults; }
    QLabel* totalUnitLabel() const { return m_totalUnit; }
    QLabel* perHourUnitLabel() const { return m_perHourUnit; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void buildControls();
    QWidget* buildIdentity();
    QWidget* buildStatistics();
    QWidget* buildFaults();
    void showLock(bool locked);
    void showStatistics();
    void showFaults(const std::vector<std::string>& texts);

    const CDeviceErrorList* m_decoders;
    CPageTexts m_texts;
    CStatisticsCountdown m_statistics;
    QLineEdit* m_version = nullptr;
    QLineEdit* m_serial = nullptr;
    QLineEdit* m_prodDate = nullptr;
    QLineEdit* m_injectors = nullptr;
    QLineEdit* m_dieselTime = nullptr;
    QLineEdit* m_gasTime = nullptr;
    QPushButton* m_lock = nullptr;
    QLabel* m_totalUnit = nullptr;
    QLabel* m_perHourUnit = nullptr;
    CExtTrListCtrl* m_faults = nullptr;
    QPushButton* m_readErrors = nullptr;
    QPushButton* m_clearErrors = nullptr;
};

} // namespace torva
