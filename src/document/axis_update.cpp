#include "document/axis_update.h"

namespace torva {

EAxisWrite updateLiveAxes(CLPGDevice& device, EEmuChannel channel, const SNewAxes& axes) {
    device.withConfig([&](CDeviceConfig& config) { applyAxes(config, channel, axes); });
    if (!device.isConnected())
        return EAxisWrite::RecordOnly;
    const bool channelOne = channel == EEmuChannel::Emu1;
    if (axes.load && !channelOne && !device.writeBlock(axisBlockOf(channel)))
        return EAxisWrite::WriteFailed;
    if ((axes.load && channelOne) || axes.rpm) {
        if (!device.writeBlock(EBlock::Axes1Rpm))
            return EAxisWrite::WriteFailed;
    }
    return EAxisWrite::Written;
}

} // namespace torva
