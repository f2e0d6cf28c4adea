#pragma once

#include "ui/pages/common/config_page.h"
#include "ui/pages/common/page_texts.h"
#include "ui/pages/settings/settings_actions.h"
#include "ui/pages/settings/settings_changes.h"
#include "ui/pages/settings/settings_combos.h"
#include "ui/pages/settings/settings_spins.h"

#include <functional>
#include <map>
#include <utility>
#include <vector>

class QAbstractButton;
class QGridLayout;
class QHBoxLayout;
class QScrollArea;

namespace torva {

class CTransparentCheckBox;
class CTransparentGroupBox;
class CUpDownField;
class CValueCombo;
class CVeko2012Doc;

// "Ustawienia": the controller's base, advanced, sensor, service and tempomat settings in group
// boxes, as many columns side by side as the page's width holds (scrolling when they do not
// fit). Every control acts at once through CSettingsActions; the page only shows the record.
class CSettingsDlg : public CConfigPage {
    Q_OBJECT
public:
    explicit CSettingsDlg(CVeko2012Doc& doc, QWidget* parent = nullptr);

    void fillFromConfig() override;
    QString pageTitle() const override;
    void retranslatePage() override;

    void OnDeltaposSpin(ESettingsSpin spin, int clicks);
    void OnSelendokCmb(ESettingsCombo combo);
    void OnSelendokCmbFuelSensorType();
    void OnClickedChk(ESettingsCheck check, bool on);
    void OnClickedBtnTpsCalibration();
    // "Zakres RPM": the RPM axis from its end points, in channel 1's axes block.
    void OnClickedBtnRpmDefinition();
    void OnBnClickedBtnTps2Correlation();
    void OnBnClickedBtnSeqCalibration();
    void OnBnClickedBtnFuelSensor();

    CUpDownField* spinField(ESettingsSpin spin) const { return m_spins.at(spin); }
    CValueCombo* combo(ESettingsCombo combo) const { return m_combos.at(combo); }
    CValueCombo* fuelSensorCombo() const { return m_fuelSensor; }
    CTransparentCheckBox* checkBox(ESettingsCheck check) const { return m_checks.at(check); }
    QAbstractButton* tpsCalibrationButton() const { return m_tpsCalibration; }
    QAbstractButton* rpmDefinitionButton() const { return m_rpmDefinition; }
    int columnCount() const { return m_columnCount; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Label and control of one row, shown and hidden together.
    struct SRow {
        QWidget* label = nullptr;
        std::vector<QWidget*> controls;
    };

    void buildGroups();
    // title nullptr: a group without a title.
    CTransparentGroupBox* newGroup(const char* title, QGridLayout*& grid);
    QWidget* newLabel(const char* text, QWidget* parent);
    void addSpinRow(QGridLayout* grid, ESettingsSpin spin, const char* caption);
    // ownLine: the combo under its caption, for items too long to share a line.
    void addComboRow(QGridLayout* grid, ESettingsCombo combo, const char* caption,
                     bool ownLine = false);
    void addCheckRow(QGridLayout* grid, ESettingsCheck check, const char* caption);
    QAbstractButton* addButtonRow(QGridLayout* grid, const char* caption);
    void showSpin(ESettingsSpin spin);
    void showVisibility();
    // Rows whose field lives in a block the controller's firmware lacks stay disabled, with the
    // firmware they need as tool tip.
    void showFirmwareGates();
    void gateRow(const SRow& row, EBlock block);
    void setRowVisible(const SRow& row, bool visible);
    void fitColumns();
    void arrangeColumns();
    void requestRefresh();
    // runHandler, then the page rebuild the handler asked for.
    void handle(const char* context, const std::function<void()>& body);

    CVeko2012Doc& m_doc;
    CSettingsActions m_actions;
    bool m_refreshRequested = false;
    bool m_refreshPosted = false;

    QScrollArea* m_scroll = nullptr;
    QWidget* m_content = nullptr;
    QHBoxLayout* m_columns = nullptr;
    int m_columnCount = 0;
    std::vector<CTransparentGroupBox*> m_groups;
    // Every text the page shows, for a language change.
    CPageTexts m_texts;

    std::map<ESettingsSpin, CUpDownField*> m_spins;
    std::map<ESettingsCombo, CValueCombo*> m_combos;
    std::map<ESettingsCheck, CTransparentCheckBox*> m_checks;
    std::map<ESettingsSpin, SRow> m_spinRows;
    std::map<ESettingsCombo, SRow> m_comboRows;
    std::map<ESettingsCheck, SRow> m_checkRows;
    CValueCombo* m_fuelSensor = nullptr;
    SRow m_fuelSensorRow;
    QAbstractButton* m_tpsCalibration = nullptr;
    QAbstractButton* m_rpmDefinition = nullptr;
    QAbstractButton* m_seqCalibration = nullptr;
};

} // namespace torva
