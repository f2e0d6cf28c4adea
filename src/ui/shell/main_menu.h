#pragma once

#include <QObject>

#include <functional>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;

namespace torva {

// The main window's menu: file, settings, language and information commands. Texts are Polish
// source texts, translated now and again on retranslate(). A command without a handler is
// shown disabled.
class CMainMenu : public QObject {
    Q_OBJECT
public:
    struct SHandlers {
        std::function<void()> connect;
        // A settings file edited without a controller.
        std::function<void()> openOffline;
        std::function<void()> save;
        std::function<void()> saveAs;
        std::function<void()> writeToController;
        std::function<void()> closeFile;
        std::function<void()> loadSettingsFile;
        std::function<void()> saveSettingsFile;
        std::function<void()> backups;
        std::function<void()> exit;
        std::function<void()> restoreFactorySettings;
        std::function<void()> openDocumentation;
        std::function<void()> updateFirmware;
        std::function<void()> about;
        std::function<void(int index)> selectLanguage;
    };

    CMainMenu(QMenuBar& bar, SHandlers handlers);

    void retranslate();
    // Offline: the file commands can be used and the commands that need a live controller
    // cannot (their tool tip says why).
    void setOffline(bool offline);
    // The current language carries the check mark and cannot be chosen again; languages
    // without a language file cannot be chosen.
    void updateLanguageItems();

    // The action of a Polish menu text, for tests; nullptr when there is none.
    QAction* findAction(const char* sourceText) const;
    QAction* languageAction(int index) const;

private:
    struct SItem {
        QAction* action;
        const char* text;
    };
    QMenu* addMenu(QMenuBar& bar, const char* text);
    QAction* addItem(QMenu& menu, const char* text, const std::function<void()>& handler);

    std::vector<SItem> m_items;
    std::vector<QAction*> m_fileOnly; // usable only while a file is open offline
    std::vector<QAction*> m_liveOnly; // need a live controller
    bool m_offline = false;
    std::vector<std::pair<int, QAction*>> m_languages;
};

} // namespace torva
