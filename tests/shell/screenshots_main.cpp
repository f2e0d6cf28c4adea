// torva-screenshots FOLDER: the main window in demo mode, in Polish and in English, at
// 1280 × 800 and at the 800 × 530 minimum, saved as PNG files for people to look at; then the
// same with each editing page below that has a picture of its own.
#include "diag/lpg_thread_manager.h"
#include "lang/languages.h"
#include "lang/source_text.h"
#include "lang/translation.h"
#include "ui/controls/multi_page_ctrl.h"
#include "ui/pages/devdata/dev_data_dlg.h"
#include "ui/shell/main_frame.h"
#include "ui/shell/main_view.h"
#include "ui/shell/veko_app.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>

#include <cstdio>

namespace {

void processEventsFor(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

bool save(QWidget& window, const QString& path) {
    if (window.grab().save(path)) {
        std::printf("%s\n", qPrintable(path));
        return true;
    }
    std::fprintf(stderr, "could not write %s\n", qPrintable(path));
    return false;
}

// The editing pages pictured on their own, found by their titles.
struct SPagePicture {
    const char* title;
    const char* name;
    int settleMs; // the device data page shows its running times from the 11th refresh on
};
constexpr SPagePicture kPagePictures[] = {
    {PL("Zabezpieczenia"), "protection", 600},
    {PL("Dane ECU"), "devdata", 2600},
};

int pageIndex(const torva::CMultiPageCtrl& pages, const char* title) {
    const QString shown = QString::fromStdString(torva::translate(title));
    for (int i = 0; i < pages.getPageCount(); ++i) {
        if (pages.getTitle(i) == shown) {
            return i;
        }
    }
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    using namespace torva;
    if (argc != 2) {
        std::fprintf(stderr, "Usage: torva-screenshots FOLDER\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    openLanguageFiles();
    selectLanguage(kPolishLanguage);
    lpgThreadManager();
    QApplication application(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);

    CVeko2012App app(demoOptions());
    if (!app.start()) {
        return 1;
    }
    CMainFrame& frame = app.frame();
    frame.show();
    const struct {
        int language;
        const char* name;
    } languages[] = {{kPolishLanguage, "pl"}, {kEnglishLanguage, "en"}};
    const QSize sizes[] = {QSize(1280, 800), QSize(800, 530)};
    int failures = 0;
    for (const auto& language : languages) {
        selectLanguage(language.language);
        for (const QSize& size : sizes) {
            frame.resize(size);
            // Long enough for the demo samples to reach the gauges and the switch panel.
            processEventsFor(1500);
            const QString suffix = QStringLiteral("%1-%2x%3.png")
                                       .arg(QString::fromLatin1(language.name))
                                       .arg(size.width())
                                       .arg(size.height());
            failures += save(frame, folder + QStringLiteral("/main-") + suffix) ? 0 : 1;
            CMultiPageCtrl* pages = frame.mainView()->pageCtrl();
            for (const SPagePicture& picture : kPagePictures) {
                const int index = pageIndex(*pages, picture.title);
                if (index < 0 || !pages->activatePage(index)) {
                    std::fprintf(stderr, "no page %s\n", picture.name);
                    ++failures;
                    continue;
                }
                if (auto* devData = dynamic_cast<CDevDataDlg*>(pages->getPage(index))) {
                    devData->OnBnClickedBtnReadErrors();
                }
                processEventsFor(picture.settleMs);
                const QString name = QString::fromLatin1(picture.name);
                failures += save(frame, folder + QStringLiteral("/%1-").arg(name) + suffix) ? 0 : 1;
            }
            pages->activatePage(0);
        }
    }
    app.shutdown();
    return failures == 0 ? 0 : 1;
}
