#pragma once

#include "ui/pages/charts/osc_dlg.h"

#include <array>
#include <cstdint>

namespace torva {

class CTransparentCheckBox;

// The charts page with its series check boxes: each box shows or hides its series at once, and
// the page opens with the boxes' start states applied.
class CScopeDLg : public COscDlg {
    Q_OBJECT
public:
    static constexpr int kCheckBoxCount = 13;

    CScopeDLg(CLPGDevice& device, CPollingControl& polling, QWidget* parent = nullptr);

    void refresh() override;
    void retranslatePage() override;

    void OnClickedCheckBox(EChartBox box);

    CTransparentCheckBox* checkBox(EChartBox box) const;

private:
    void applyBox(EChartBox box);

    std::array<CTransparentCheckBox*, kCheckBoxCount> m_boxes{};
    // "Emulator3" follows the tempomat flags, which the settings page may change meanwhile.
    std::uint16_t m_appliedTempomatFlags = 0;
};

} // namespace torva
