#pragma once

namespace torva {

class CDeviceConfig;

// The demo controller's configuration: a car tuned and driving, so a newcomer sees what a real
// installation looks like. The MAP sensor, MAF and both pedal tracks are emulated; every map has
// a smooth shape inside its range over axes that fit the signals of the demo engine. The
// identity (m_devInfo) is kept; everything else starts from the factory values of its type.
void applyDemoConfiguration(CDeviceConfig& config);

} // namespace torva
