#include "config/data_folders.h"

#include "platform/folders.h"

namespace torva {

namespace {

std::string dataSubFolder(const std::string& name) {
    const std::string folder = documentsFolder() + "TORVA DIESEL/" + name + "/";
    createFolders(folder);
    return folder;
}

} // namespace

std::string diagnosticFolder() {
    return dataSubFolder("Diag");
}

std::string settingsFolder() {
    return dataSubFolder("Settings");
}

} // namespace torva
