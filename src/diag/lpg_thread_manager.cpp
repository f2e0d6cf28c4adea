#include "diag/lpg_thread_manager.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace torva {

CLPGThreadManager::~CLPGThreadManager() {
    if (threadManager().anyRunning())
        endProcessNow();
}

CLPGThreadManager& lpgThreadManager() {
    static CLPGThreadManager manager;
    return manager;
}

void endProcessNow() {
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    std::_Exit(0);
}

} // namespace torva
