#include "ui/pages/charts/scope_dlg.h"

#include "lang/translation.h"
#include "ui/controls/transparent_check_box.h"

#include <QVBoxLayout>

namespace torva {

namespace {

int indexOf(EChartBox box) {
    return static_cast<int>(box);
}

} // namespace

CScopeDLg::CScopeDLg(CLPGDevice& device, CPollingControl& polling, QWidget* parent)
    : COscDlg(device, polling, parent), m_appliedTempomatFlags(tempomatFlags()) {
    const auto boxes = chartCheckBoxes();
    for (const SChartCheckBox& spec : boxes) {
        auto* box = new CTransparentCheckBox(this);
        box->setChecked(spec.checkedAtStart);
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
