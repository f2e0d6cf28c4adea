#pragma once

#include "diag/live_records.h"
#include "diag/map_coverage.h"

#include <QObject>

#include <optional>
#include <string>
#include <vector>

class QAbstractButton;
class QLabel;
class QMenu;
class QWidget;

namespace torva {

class CCellArray;
class CCellOverlayLayer;
class CCellOverlayLegend;
class CGradientButton;
class CLPGDevice;
class CValueCombo;

// Where the engine ran, over the grids of one channel: the coverage of a recording ("Pokrycie z
// nagrania…") or of the live samples since it was switched on ("Pokrycie na żywo"), drawn as a
// layer on each grid, with a bar that names the source, chooses what the cells show, holds the
// legend and hides it all with one click. Map values are never touched and the grids stay
// editable underneath.
class CMapCoverageView : public QObject {
    Q_OBJECT
public:
    enum class ESource { None, Recording, Live };

    // channel as in SMapInfo; the grids all show that channel's axes.
    CMapCoverageView(CLPGDevice& device, int channel, const std::vector<CCellArray*>& grids,
                     QObject* parent = nullptr);

    // The bar for the page to place; hidden while nothing is shown.
    QWidget* bar() const { return m_bar; }
    // The coverage tools, for a grid's context menu.
    void addTools(QMenu& menu);

    // Asks for a recording (the recordings folder first) and shows it.
    void chooseRecording();
    // Shows the recording at path; false, after telling the user, when it cannot be read.
    bool showRecording(const std::string& path);
    // Starts or ends the live coverage.
    void setLive(bool on);
    void hideCoverage();
    // Timer tick: bins the live samples that came since the last tick.
    void refreshLive();
    // After the axes or the channel's input may have changed: bins everything again.
    void rebin();
    void retranslate();

    ESource source() const { return m_source; }
    const CMapCoverage& coverage() const { return m_coverage; }
    CValueCombo* chooser() const { return m_chooser; }
    QAbstractButton* hideButton() const;
    const CCellOverlayLayer& layer(std::size_t grid) const { return *m_layers.at(grid); }

private:
    void buildBar();
    void start(ESource source);
    void showCoverage();

    CLPGDevice& m_device;
    int m_channel;
    std::vector<CCellOverlayLayer*> m_layers;
    ESource m_source = ESource::None;
    std::string m_fileName;
    std::vector<DiagRecord> m_records;
    CLiveRecordFeed m_feed;
    std::optional<CCoverageRule> m_rule;
    CMapCoverage m_coverage;

    QWidget* m_bar = nullptr;
    QLabel* m_sourceLabel = nullptr;
    QLabel* m_samples = nullptr;
    CValueCombo* m_chooser = nullptr;
    CCellOverlayLegend* m_legend = nullptr;
    CGradientButton* m_hide = nullptr;
};

} // namespace torva
