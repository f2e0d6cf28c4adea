#pragma once

#include "lang/timer_based_gui.h"
#include "ui/controls/multi_page_dialog.h"
#include "ui/pages/charts/chart_channels.h"
#include "ui/pages/charts/chart_sources.h"
#include "ui/pages/charts/scroll_chart.h"

#include <cstdint>
#include <exception>
#include <optional>

class QLabel;
class QPushButton;
class QVBoxLayout;

namespace torva {

class CLPGDevice;
class CPollingControl;

// The charts page ("Wykresy"): a column of tool buttons (clear, stop recording, record, open),
// the strip chart of the live values or of an opened recording, and a column for the series
// check boxes, which the derived page fills. Live plotting adds one point per refresh from the
// newest sample; the refresh comes only while the page is the active one.
class COscDlg : public CMultiPageDialog, public ITimerBasedGUI {
    Q_OBJECT
public:
    COscDlg(CLPGDevice& device, CPollingControl& polling, QWidget* parent = nullptr);

    void refresh() override;
    QString pageTitle() const override;
    void retranslatePage() override;

    // Empty chart, next x 0, read-out off; live plotting goes on.
    void OnBnClickedBtnClear();
    // Ends the recording; polling goes on without a file. Only the user ends a recording: a
    // lost link merely pauses it.
    void OnBnClickedBtnStop();
    // Asks for an "oscd" file and records to it from now on; the chart starts empty.
    void OnBnClickedBtnRecord();
    // Asks for an "oscd" file and shows its records with the read-out on; live plotting waits
    // until the next clear or record.
    void OnBnClickedBtnOpen();

    CScrollChart<double>* chart() const { return m_chart; }
    const CChartFeed& feed() const { return m_feed; }
    QPushButton* clearButton() const { return m_clear; }
    QPushButton* stopButton() const { return m_stop; }
    QPushButton* recordButton() const { return m_record; }
    QPushButton* openButton() const { return m_open; }
    // The opened recording's name and length, or the file being recorded (paused while the
    // link is down); empty otherwise.
    QLabel* fileLabel() const { return m_fileLabel; }
    const std::optional<SOpenedRecording>& openedFile() const { return m_opened; }

protected:
    std::uint16_t tempomatFlags() const;
    // Where the derived page puts its check boxes, right of the chart.
    QVBoxLayout* checkBoxColumn() const { return m_checkBoxColumn; }

private:
    void buildControls();
    void setReadOut(bool on);
    // The label and the stop button follow the recording.
    void updateRecordingState();
    void showError(const char* context, const std::exception_ptr& error);

    CLPGDevice& m_device;
    CPollingControl& m_polling;
    CChartFeed m_feed;
    std::optional<SOpenedRecording> m_opened;
    CScrollChart<double>* m_chart = nullptr;
    QPushButton* m_clear = nullptr;
    QPushButton* m_stop = nullptr;
    QPushButton* m_record = nullptr;
    QPushButton* m_open = nullptr;
    QLabel* m_fileLabel = nullptr;
    QVBoxLayout* m_checkBoxColumn = nullptr;
};

} // namespace torva
