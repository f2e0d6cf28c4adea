#pragma once

#include "config/config_compare.h"

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace torva {

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
    QTableWidget* m_table;
    QLabel* m_summary;
    QPushButton* m_restore;
    QPushButton* m_apply;
    std::vector<std::string> m_paths;      // per row of m_files
    std::vector<std::string> m_chosen;     // files chosen from disk, shown first
    std::optional<SConfigSnapshot> m_file; // the selected file, when readable
    SConfigDiff m_diff;
    bool m_loadable = true; // the load would accept the selected file
};

} // namespace torva
