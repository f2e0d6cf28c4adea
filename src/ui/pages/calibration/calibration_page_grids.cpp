// The two grids of a calibration page working as one: keys and selections go to both, a step on
// the emulation grid moves the time grid by the coupling, and the live cell shows on both.
#include "ui/pages/calibration/calibration_page.h"

#include "diag/diag_sample_values.h"
#include "link/diag_data.h"
#include "link/lpg_device.h"
#include "platform/user_interface.h"
#include "ui/controls/cell_array.h"
#include "ui/pages/maps/map_coverage_view.h"
#include "ui/pages/maps/map_grid.h"

#include <QAbstractSpinBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QVBoxLayout>

namespace torva {

using namespace calibration;

namespace {

QString twoDecimals(double value) {
    return QString::number(value, 'f', 2);
}

bool isArrow(int key) {
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

// A field the user types text into needs every key itself.
bool takesTyping(const QWidget* widget) {
    if (const auto* field = qobject_cast<const QLineEdit*>(widget))
        return !field->isReadOnly();
    if (const auto* spin = qobject_cast<const QAbstractSpinBox*>(widget)) {
        // An up-down whose text is only shown (CUpDownField) takes no typing.
        const auto* text = spin->findChild<const QLineEdit*>();
        return !spin->isReadOnly() && text != nullptr && !text->isReadOnly();
    }
    return false;
}

} // namespace

bool CCalibrationPage::eventFilter(QObject* watched, QEvent* event) {
    // The page's keys come first, whichever of its controls has the focus.
    if (event->type() != QEvent::KeyPress)
        return CConfigPage::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || !isVisible() || (widget != this && !isAncestorOf(widget)) ||
        takesTyping(widget))
        return false;
    return routeKey(static_cast<QKeyEvent*>(event));
}

CMapGrid& CCalibrationPage::activeGrid() {
    return m_emulationView->hasFocus() ? *m_emulationGrid : *m_timeGrid;
}

CMapGrid& CCalibrationPage::passiveGrid() {
    return &activeGrid() == m_emulationGrid ? *m_timeGrid : *m_emulationGrid;
}

bool CCalibrationPage::routeKey(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_L || key == Qt::Key_R) {
        (key == Qt::Key_L ? m_timeView : m_emulationView)->setFocus();
        return true;
    }
    const bool control = event->modifiers().testFlag(Qt::ControlModifier);
    if (control && (key == Qt::Key_Up || key == Qt::Key_Down)) {
        const EPageMap active =
            &activeGrid() == m_emulationGrid ? EPageMap::Emulation : EPageMap::Time;
        const double delta = (key == Qt::Key_Up ? 1 : -1) * gridStep(active);
        handle("OnKeyDown", [&] {
            appUi().setWaitCursor(true);
            struct SCursorBack {
                ~SCursorBack() { appUi().setWaitCursor(false); }
            } cursorBack;
            // The time map follows only an emulation step that happened: a refused or failed
            // one, or one at the range's end, must not move the injection time alone.
            if (activeGrid().map().incrementSelected(delta) != EEditResult::Done)
                return;
            const std::optional<double> coupled = device().withConfig([&](CDeviceConfig& config) {
                return coupledTimeDelta(m_channel, config, m_emuPerPercent, active, delta);
            });
            if (coupled)
                m_timeGrid->map().incrementSelected(*coupled);
        });
        return true;
    }
    if (!control && isArrow(key)) {
        activeGrid().handleKey(event);
        mirrorSelection();
        return true;
    }
    // Copy, paste, undo and redo stay the active grid's own.
    return activeGrid().handleKey(event);
}

void CCalibrationPage::mirrorSelection() {
    const SCellSelection selection = activeGrid().map().getSelection();
    CMapArray& passive = passiveGrid().map();
    passive.clearSelection();
    if (selection.any)
        passive.selectRect(selection.firstColumn, selection.firstRow, selection.lastColumn,
                           selection.lastRow);
}

void CCalibrationPage::blankLive() {
    for (QLineEdit* field : m_liveFields)
        field->clear();
    for (CMapGrid* grid : {m_timeGrid, m_emulationGrid})
        grid->map().clearLive();
}

void CCalibrationPage::buildCoverage() {
    m_coverage = new CMapCoverageView(device(), m_timeGrid->map().info().channel,
                                      {m_timeView, m_emulationView}, this);
    m_page->insertWidget(0, m_coverage->bar());
    for (CMapGrid* grid : {m_timeGrid, m_emulationGrid})
        grid->setMenuExtension([this](QMenu& menu) { m_coverage->addTools(menu); });
}

void CCalibrationPage::refresh() {
    const bool connected = device().isConnected();
    if (!connected) {
        blankLive();
        return;
    }
    if (device().diagData().count() == 0)
        return;
    m_coverage->refreshLive();
    DiagSample sample{};
    device().diagData().latest(sample);
    const CDeviceConfig config = device().configCopy();
    const SLiveValues live = liveValues(sample, config);
    const SChannelLive channelValues = channelLive(m_channel, config, live);
    for (CMapGrid* grid : {m_timeGrid, m_emulationGrid})
        grid->refreshLive(live.rpm, channelValues.input, connected);
    m_input->setText(twoDecimals(channelValues.input));
    m_output->setText(twoDecimals(channelValues.output));
    if (m_emulationPercent != nullptr)
        m_emulationPercent->setText(twoDecimals(channelValues.emulationPercent));
    refreshLiveExtras(live);
}

} // namespace torva
