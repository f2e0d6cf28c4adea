#include "ui/shell/user_guide_opener.h"

#include "lang/source_text.h"
#include "lang/translation.h"
#include "lang/user_guide.h"
#include "platform/user_interface.h"

#include <QDesktopServices>
#include <QUrl>

namespace torva {

bool openInBrowser(const std::string& page) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(page)));
}

void openUserGuide(const std::string& folder, int languageIndex,
                   const std::function<bool(const std::string& page)>& open) {
    const std::string page = userGuidePage(folder, languageIndex);
    if (page.empty()) {
        appUi().message(translate(PL("Podręcznik użytkownika nie jest zainstalowany.")) + "\n" +
                            folder,
                        "TORVA", EIcon::Information);
        return;
    }
    if (!open(page)) {
        appUi().message(translate(PL("Nie można otworzyć podręcznika w przeglądarce:")) + "\n" +
                            page,
                        "TORVA", EIcon::Warning);
    }
}

} // namespace torva
