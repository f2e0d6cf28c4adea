#pragma once

#include "config/axis_definition.h"
#include "link/lpg_device.h"

namespace torva {

enum class EAxisWrite {
    Written,     // in the record and acknowledged by the controller
    RecordOnly,  // no controller is connected: in the record only
    WriteFailed, // in the record; the controller did not take a block
};

// The one place where the live record's axes change: puts the channel's new axes into
// device.config() and, when a controller is connected, writes the blocks that carry them (the
// RPM axis travels in channel 1's block). A failed write keeps the new axes in the record, as
// every page edit does; the caller shows the failure.
EAxisWrite updateLiveAxes(CLPGDevice& device, EEmuChannel channel, const SNewAxes& axes);

} // namespace torva
