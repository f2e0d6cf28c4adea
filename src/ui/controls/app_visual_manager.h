#pragma once

#include "ui/controls/msm_visual_manager.h"

namespace torva {

// The application's own colour scheme: grey window and caption backgrounds, dark red accent.
class CAppVisualManager : public CMSMVisualManager {
public:
    CAppVisualManager();

    static SVisualColours appColours();
};

} // namespace torva
