#include "link/rs_error.h"

#include "lang/source_text.h"

namespace torva {

CRSError::CRSError(int code, std::string detail, int sourceLine, std::string devicePath,
                   int systemError)
    : IError(code, std::move(detail), kSourceFile, sourceLine), m_devicePath(std::move(devicePath)),
      m_systemError(systemError) {
    fillDescriptions();
}

// Both lines always: the first names the usual cause, the second the general one. They stay in
// Polish here and are translated where they are shown.
void CRSError::fillDescriptions() {
    addDescription(PL("Nie można otworzyć portu RS."));
    addDescription(PL("Nie można wykonać operacji na RS."));
}

} // namespace torva
