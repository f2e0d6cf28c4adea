// torva-diesel: the desktop configuration and diagnostic tool.
#include "diag/lpg_thread_manager.h"
#include "lang/languages.h"
#include "lang/translation.h"
#include "lang/user_locale.h"
#include "platform/folders.h"
#include "ui/shell/app_options.h"
#include "ui/shell/display_check.h"
#include "ui/shell/veko_app.h"

#include <QApplication>

#include <iostream>

int main(int argc, char** argv) {
    using namespace torva;
    // Before anything else: the language files, the initial language and the thread manager,
    // which must outlive every polling thread.
    openLanguageFiles();
    if (!isLanguageAvailable(kEnglishLanguage)) {
        // Every text then stays Polish; say where the files were looked for.
        std::cerr << "torva-diesel: no language files in " << programDataFolder("DIESEL_LANG")
                  << '\n';
    }
    selectLanguage(initialLanguageIndex());
    lpgThreadManager();

    const SAppOptionsResult parsed =
        parseAppOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.options) {
        std::cerr << "torva-diesel: " << parsed.error << '\n' << appUsage();
        return 2;
    }
    if (parsed.options->help) {
        std::cout << appUsage();
        return 0;
    }
    if (const std::string problem = displayProblem(); !problem.empty()) {
        std::cerr << problem << '\n';
        return 1;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("torva-diesel"));
    QApplication::setOrganizationName(QStringLiteral("TORVA"));
    QGuiApplication::setDesktopFileName(QStringLiteral("torva-diesel"));

    CVeko2012App app(*parsed.options);
    if (!app.start()) {
        return 1;
    }
    app.show();
    const int result = QApplication::exec();
    app.shutdown();
    return result;
}
