#include "sim/identity.h"

namespace torva::sim {

ModelTraits modelTraits(std::uint8_t modelCode) {
    switch (modelCode) {
    case 2:
    case 3:
        return {197, 250, 39936, 1024, false};
    case 40:
    case 41:
        return {196, 228, 57344, 2048, false};
    case 37:
    case 38:
        return {196, 230, 173056, 2048, true};
    default: // 25, 26, 30 and unknown codes
        return {196, 239, 57344, 2048, true};
    }
}

} // namespace torva::sim
