#include "ui/pages/charts/scope_dlg.h"

#include "lang/translation.h"
#include "ui/controls/transparent_check_box.h"
#include "ui/pages/charts/chart_tool_icons.h"

#include <QVBoxLayout>

namespace torva {

namespace {

int indexOf(EChartBox box) {
    return static_cast<int>(box);
}

// Both forms of signals 5 and 6 wear the same colours, so the key does not follow the flags.
std::vector<SChartRgb> boxColours(EChartBox box) {
    std::vector<SChartRgb> colours;
    for (int series : seriesOfCheckBox(box, 0)) {
        colours.push_back(chartChannel(series)->colour);
    }
    return colours;
}

} // namespace

CScopeDLg::CScopeDLg(CLPGDevice& device, CPollingControl& polling, QWidget* parent)
    : COscDlg(device, polling, parent), m_appliedTempomatFlags(tempomatFlags()) {
    const auto boxes = chartCheckBoxes();
    for (const SChartCheckBox& spec : boxes) {
        auto* box = new CTransparentCheckBox(this);
        box->setChecked(spec.checkedAtStart);
        box->setIcon(seriesSwatch(boxColours(spec.box)));
        box->setIconSize({16, 10});
        connect(box, &QCheckBox::clicked, this,
                [this, which = spec.box] { OnClickedCheckBox(which); });
        m_boxes[static_cast<std::size_t>(indexOf(spec.box))] = box;
        checkBoxColumn()->addWidget(box);
    }
    checkBoxColumn()->addStretch(1);
    applyStartStates(chart()->model(), m_appliedTempomatFlags);
    chart()->update();
    retranslatePage();
}

CTransparentCheckBox* CScopeDLg::checkBox(EChartBox box) const {
    return m_boxes[static_cast<std::size_t>(indexOf(box))];
}

void CScopeDLg::applyBox(EChartBox box) {
    applyCheckBox(chart()->model(), box, checkBox(box)->isChecked(), m_appliedTempomatFlags);
}

void CScopeDLg::OnClickedCheckBox(EChartBox box) {
    m_appliedTempomatFlags = tempomatFlags();
    applyBox(box);
    chart()->update();
}

void CScopeDLg::refresh() {
    if (tempomatFlags() != m_appliedTempomatFlags) {
        m_appliedTempomatFlags = tempomatFlags();
        applyBox(EChartBox::Emulator3);
        chart()->update();
    }
    COscDlg::refresh();
}

void CScopeDLg::retranslatePage() {
    COscDlg::retranslatePage();
    for (const SChartCheckBox& spec : chartCheckBoxes()) {
        checkBox(spec.box)->setText(QString::fromStdString(translate(spec.caption)));
    }
}

} // namespace torva
