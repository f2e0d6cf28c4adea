#pragma once

#include "config/axis_definition.h"
#include "lang/timer_based_gui.h"
#include "ui/pages/calibration/calibration_rules.h"
#include "ui/pages/common/config_page.h"
#include "ui/pages/common/page_texts.h"

#include <functional>
#include <string>
#include <vector>

class QGridLayout;
class QKeyEvent;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace torva {

class CCellArray;
class CGradientButton;
class CMapCoverageView;
class CMapEdit;
class CMapGrid;
class CTransparentStatic;
class CUpDownField;
class CValueCombo;
struct DiagSample;
struct SLiveValues;

// What the five calibration pages share: one emulator channel's injection-time grid beside its
// emulation grid, the channel's live values, the emulation switch, the offset, the coupling
// of the grids ("1 % emulacji ="), the two "Kasuj" buttons and "Definicja". A page adds its own
// fields in the control column (addField) or below the grids (bottomRow), fills them in
// refreshExtras and shows its extra live values in refreshLiveExtras.
class CCalibrationPage : public CConfigPage, public ITimerBasedGUI {
    Q_OBJECT
public:
    // className names the handlers in error messages ("CCalibration1::OnClickedBtnDefinition()").
    CCalibrationPage(CLPGDevice& device, EEmuChannel channel, const char* className,
                     QWidget* parent = nullptr);
    ~CCalibrationPage() override;

    // Full refresh: what the settings shape (visibility, titles), then the values.
    void fillFromConfig() override;
    // The values of the record: fields, headers, cells.
    void refreshFromConfig();
    // Timer tick: live values and the live cell of both grids from the newest sample.
    void refresh() override;
    QString pageTitle() const override;
    void retranslatePage() override;

    EEmuChannel channel() const { return m_channel; }
    CMapGrid& timeGrid() { return *m_timeGrid; }
    CMapGrid& emulationGrid() { return *m_emulationGrid; }
    // Where the engine ran, over both grids.
    CMapCoverageView& coverage() { return *m_coverage; }
    CValueCombo* emulationCombo() const { return m_emulationCombo; }
    QPushButton* definitionButton() const;
    QPushButton* clearTimeButton() const;
    QPushButton* clearEmulationButton() const;
    CUpDownField* offsetField() const { return m_offset; }
    CUpDownField* emuPerPercentField() const { return m_emuPerPercentField; }
    QLineEdit* inputField() const { return m_input; }
    QLineEdit* outputField() const { return m_output; }
    QLineEdit* emulationPercentField() const { return m_emulationPercent; }
    QString channelLabelText() const;

    // Handlers.
    void OnSelendokCmbEmulation();
    void OnClickedBtnDefinition();
    void OnBnClickedBtnClrMapTime();
    void OnBnClickedBtnClrMapEmu();
    void OnDeltaposSpinOffset(int clicks);
    void OnDeltaposSpinEmuPerPercent(int clicks);

protected:
    // A label, a field and a unit in the control column; returns the label.
    CTransparentStatic* addField(const char* caption, QWidget* field, const char* unit = nullptr);
    // A read-only value field for live values; emptied while no controller is connected.
    QLineEdit* newLiveField();
    // A row under the grids, for page-specific controls.
    QGridLayout* bottomRow();
    // Runs body as the handler called name: errors show "<class>::<name>()".
    void handle(const char* name, const std::function<void()>& body);
    // Writes the offset-and-thresholds block; false when not written.
    bool writeSettings();

    virtual void applySettingsShape() {}
    virtual void refreshExtras(const CDeviceConfig&) {}
    virtual void refreshLiveExtras(const SLiveValues&) {}

    // The page's keys: L/R choose the grid, Ctrl+Up/Down step (with the coupling), arrows move
    // both selections; the rest goes to the active grid. True when handled.
    bool routeKey(QKeyEvent* event);
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

    void setOffsetShown(bool shown);

    // The captions, translated now and after every language change.
    CPageTexts m_texts;

private:
    void buildControls();
    void buildCoverage();
    void clearMap(calibration::EPageMap which);
    // No live values without a controller: the fields empty, the grids without a live cell.
    void blankLive();
    void mirrorSelection();
    CMapGrid& activeGrid();
    CMapGrid& passiveGrid();
    void updateFont();

    EEmuChannel m_channel;
    std::string m_className;
    double m_emuPerPercent = 0;
    std::unique_ptr<CMapEdit> m_headerRules;
    CCellArray* m_timeView = nullptr;
    CCellArray* m_emulationView = nullptr;
    CMapGrid* m_timeGrid = nullptr;
    CMapGrid* m_emulationGrid = nullptr;
    CMapCoverageView* m_coverage = nullptr;
    CTransparentStatic* m_channelLabel = nullptr;
    CValueCombo* m_emulationCombo = nullptr;
    CTransparentStatic* m_emulationComboLabel = nullptr;
    CGradientButton* m_definition = nullptr;
    CGradientButton* m_clearTime = nullptr;
    CGradientButton* m_clearEmulation = nullptr;
    QLineEdit* m_input = nullptr;
    QLineEdit* m_output = nullptr;
    QLineEdit* m_emulationPercent = nullptr;
    std::vector<QLineEdit*> m_liveFields;
    CUpDownField* m_offset = nullptr;
    CTransparentStatic* m_offsetLabel = nullptr;
    CUpDownField* m_emuPerPercentField = nullptr;
    QGridLayout* m_fields = nullptr;
    QVBoxLayout* m_column = nullptr;
    QGridLayout* m_bottom = nullptr;
    QVBoxLayout* m_page = nullptr;
};

} // namespace torva
