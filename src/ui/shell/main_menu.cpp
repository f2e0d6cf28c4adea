#include "ui/shell/main_menu.h"

#include "lang/languages.h"
#include "lang/source_text.h"
#include "lang/translation.h"
#include "ui/pages/common/live_only.h"

#include <QActionGroup>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include <cstring>

namespace torva {

namespace {
// Whether an action has a handler; one without stays disabled whatever the state.
constexpr const char* kHandled = "torvaHandled";

QString translated(const char* text) {
    return QString::fromStdString(translate(text));
}
} // namespace

CMainMenu::CMainMenu(QMenuBar& bar, SHandlers handlers) : QObject(&bar) {
    QMenu* file = addMenu(bar, PL("Plik"));
    addItem(*file, PL("Połącz"), handlers.connect);
    addItem(*file, PL("Otwórz plik ustawień (offline)…"), handlers.openOffline);
    QAction* save = addItem(*file, PL("Zapisz"), handlers.save);
    save->setShortcut(QKeySequence::Save);
    m_fileOnly = {save, addItem(*file, PL("Zapisz jako…"), handlers.saveAs),
                  addItem(*file, PL("Zapisz do sterownika…"), handlers.writeToController),
                  addItem(*file, PL("Zamknij plik"), handlers.closeFile)};
    file->addSeparator();
    addItem(*file, PL("Wczytaj ustawienia z pliku..."), handlers.loadSettingsFile);
    addItem(*file, PL("Zapisz ustawienia do pliku..."), handlers.saveSettingsFile);
    addItem(*file, PL("Kopie zapasowe..."), handlers.backups);
    file->addSeparator();
    addItem(*file, PL("Zakończ"), handlers.exit);

    QMenu* settings = addMenu(bar, PL("Ustawienia"));
    addItem(*settings, PL("Przywróć ustawienia fabryczne"), handlers.restoreFactorySettings);

    QMenu* language = addMenu(bar, PL("Język"));
    auto* group = new QActionGroup(language);
    for (const SLanguage& entry : languageMenu()) {
        const int index = entry.index;
        const auto select = handlers.selectLanguage;
        QAction* action = addItem(*language, entry.menuText, [select, index] {
            if (select) {
                select(index);
            }
        });
        action->setCheckable(true);
        group->addAction(action);
        m_languages.emplace_back(index, action);
    }

    QMenu* info = addMenu(bar, PL("Informacje"));
    addItem(*info, PL("Dokumentacja"), handlers.openDocumentation);
    m_liveOnly.push_back(addItem(*info, PL("Aktualizacja sterownika..."), handlers.updateFirmware));
    info->setToolTipsVisible(true);
    addItem(*info, PL("O programie"), handlers.about);

    updateLanguageItems();
    setOffline(false);
}

QMenu* CMainMenu::addMenu(QMenuBar& bar, const char* text) {
    QMenu* menu = bar.addMenu(translated(text));
    m_items.push_back({menu->menuAction(), text});
    return menu;
}

QAction* CMainMenu::addItem(QMenu& menu, const char* text, const std::function<void()>& handler) {
    QAction* action = menu.addAction(translated(text));
    action->setEnabled(static_cast<bool>(handler));
    action->setProperty(kHandled, static_cast<bool>(handler));
    if (handler) {
        connect(action, &QAction::triggered, this, [handler] { handler(); });
    }
    m_items.push_back({action, text});
    return action;
}

void CMainMenu::retranslate() {
    for (const SItem& item : m_items) {
        item.action->setText(translated(item.text));
    }
    updateLanguageItems();
    setOffline(m_offline);
}

void CMainMenu::setOffline(bool offline) {
    m_offline = offline;
    const auto hasHandler = [](QAction* action) { return action->property(kHandled).toBool(); };
    for (QAction* action : m_fileOnly) {
        action->setEnabled(offline && hasHandler(action));
    }
    for (QAction* action : m_liveOnly) {
        action->setEnabled(!offline && hasHandler(action));
        action->setToolTip(offline ? translated(live_only::kNeedsController) : action->text());
    }
}

void CMainMenu::updateLanguageItems() {
    const int current = currentLanguage();
    for (const auto& [index, action] : m_languages) {
        action->setChecked(index == current);
        action->setEnabled(index != current && isLanguageAvailable(index));
    }
}

QAction* CMainMenu::findAction(const char* sourceText) const {
    for (const SItem& item : m_items) {
        if (std::strcmp(item.text, sourceText) == 0) {
            return item.action;
        }
    }
    return nullptr;
}

QAction* CMainMenu::languageAction(int index) const {
    for (const auto& [entry, action] : m_languages) {
        if (entry == index) {
            return action;
        }
    }
    return nullptr;
}

} // namespace torva
