#pragma once

#include "config/config_compare.h"

#include "config/device_config.h"

#include <QDialog>

#include <array>

#include <optional>
#include <string>
#include <vector>

class QKeyEvent;
class QLabel;
class QListWidget;
class QPushButton;
class QStackedWidget;
class QTableWidget;

namespace torva {

class CCellArray;
class CVeko2012Doc;

// File -> "Kopie zapasowe...": the connected controller's backups (newest first) and any
// settings file chosen from disk; for the selected one the differences against the controller
// by group (a map as its grid with the changed cells marked), a whole restore, and a write of
// only the ticked groups. Comparing changes neither side.
class CBackupsDlg : public QDialog {
    Q_OBJECT
public:
    explicit CBackupsDlg(CVeko2012Doc& doc, QWidget* parent = nullptr);

    // Adds a settings file to the list as if chosen from disk and selects it.
    void addFile(const std::string& path);
    // Selects a group of the difference list (index into diffGroups()), for a first look.
    void selectGroup(std::size_t group);

private:
    // Lists the chosen files and the backups again, keeping keep selected when it is there.
    void fillFileList(const std::string& keep = {});
    void compareSelected();
    void fillGroupList();
    void showGroup(std::size_t group);
    void showMapGroup(std::size_t group);
    void showMemberGroup(std::size_t group);
    // Marks the map cell the user picked and says what the controller holds there.
    void pickMapCell(int row, int column);
    bool handleMapKey(QKeyEvent* event);
    bool eventFilter(QObject* watched, QEvent* event) override;
    std::vector<std::size_t> tickedGroups() const;
    std::string selectedPath() const;

    void OnSelchangeListFiles();
    void OnSelchangeListGroups();
    void OnBnClickedBtnOtherFile();
    void OnBnClickedBtnRestore();
    void OnBnClickedBtnApply();

    CVeko2012Doc& m_doc;
    QListWidget* m_files;
    QListWidget* m_groups;
    QStackedWidget* m_view; // the member table or the map panel
    QTableWidget* m_table;
    QWidget* m_mapPanel;
    CCellArray* m_grid; // read-only: no header editor, keys only move the picked cell
    QLabel* m_cellStatus;
    QLabel* m_summary;
    QPushButton* m_restore;
    QPushButton* m_apply;
    std::vector<std::string> m_paths;      // per row of m_files
    std::vector<std::string> m_chosen;     // files chosen from disk, shown first
    std::optional<SConfigSnapshot> m_file; // the selected file, when readable
    SConfigDiff m_diff;
    bool m_loadable = true; // the load would accept the selected file
    // The controller's value of each changed cell of the shown map in the map's format,
    // [row][column]; empty where the file agrees.
    std::array<std::array<QString, kMapColumns>, kMapRows> m_controllerTexts;
    int m_pickedRow = -1; // the picked map cell, -1: none
    int m_pickedColumn = -1;
};

} // namespace torva
