#include "ui/shell/backups_dlg.h"

#include "config/config_diff_groups.h"
#include "config/device_type.h"
#include "config/maps/map_catalogue.h"
#include "config/settings_backup.h"
#include "config/settings_export.h"
#include "config/settings_io.h"
#include "config/settings_keys.h"
#include "document/veko2012_doc.h"
#include "lang/source_text.h"
#include "lang/translation.h"
#include "platform/error.h"
#include "platform/local_time.h"
#include "platform/user_interface.h"
#include "ui/controls/cell_array.h"
#include "ui/controls/gradient_button.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QStackedWidget>
#include <QTableWidget>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>

namespace torva {

namespace {

const QColor kChangedCell(255, 200, 120);
const QColor kUnchangedCell(Qt::white);

QString translated(const char* text) {
    return QString::fromStdString(translate(text));
}

QString number(double value) {
    return QString::fromStdString(diffValueText(value));
}

const char* apartText(EApartReason reason) {
    switch (reason) {
    case EApartReason::NotInFirst:
        return PL("brak w sterowniku");
    case EApartReason::NotInSecond:
        return PL("brak w pliku");
    case EApartReason::DeviceType:
        return PL("inny typ sterownika");
    case EApartReason::Firmware:
        return PL("brak w firmware sterownika");
    }
    return "";
}

std::size_t groupOf(std::size_t keyIndex) {
    return diffGroupOfKey(settingsKeys()[keyIndex].key).value_or(0);
}

// The map a map group carries (they share the block that writes them).
const SMapInfo& mapOfGroup(std::size_t group) {
    for (int number = 1; number < kMapCount; ++number) {
        if (mapInfo(number).block == diffGroups()[group].block)
            return mapInfo(number);
    }
    return mapInfo(kMapCount);
}

} // namespace

CBackupsDlg::CBackupsDlg(CVeko2012Doc& doc, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_files(new QListWidget(this)), m_groups(new QListWidget(this)),
      m_view(new QStackedWidget(this)), m_table(new QTableWidget(this)),
      m_mapPanel(new QWidget(this)), m_grid(new CCellArray(m_mapPanel)),
      m_cellStatus(new QLabel(m_mapPanel)), m_summary(new QLabel(this)),
      m_restore(new CGradientButton(translated(PL("Przywróć całość")), this)),
      m_apply(new CGradientButton(translated(PL("Wpisz zaznaczone")), this)) {
    setWindowTitle(translated(PL("Kopie zapasowe")));
    m_files->setObjectName(QStringLiteral("files"));
    m_groups->setObjectName(QStringLiteral("groups"));
    m_table->setObjectName(QStringLiteral("differences"));
    m_grid->setObjectName(QStringLiteral("mapDifferences"));
    m_cellStatus->setObjectName(QStringLiteral("cellStatus"));
    m_restore->setObjectName(QStringLiteral("restore"));
    m_apply->setObjectName(QStringLiteral("apply"));
    auto* otherFile = new CGradientButton(translated(PL("Inny plik...")), this);
    auto* close = new CGradientButton(translated(PL("Zamknij")), this);
    m_summary->setWordWrap(true);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 4);

    // The map panel: the file's map as the map pages draw it, a legend, and the picked cell.
    auto* legend = new QLabel(
        QStringLiteral("<span style=\"background-color:%1\">&nbsp;&nbsp;&nbsp;&nbsp;</span>&nbsp;")
                .arg(kChangedCell.name()) +
            translated(PL("Wartość z pliku różna od sterownika (kliknij komórkę, by zobaczyć "
                          "wartość sterownika)"))
                .toHtmlEscaped(),
        m_mapPanel);
    legend->setWordWrap(true);
    m_cellStatus->setMinimumHeight(m_cellStatus->fontMetrics().height()); // no jump when filled
    auto* mapLayout = new QVBoxLayout(m_mapPanel);
    mapLayout->setContentsMargins(0, 0, 0, 0);
    mapLayout->addWidget(m_grid, 1);
    mapLayout->addWidget(legend);
    mapLayout->addWidget(m_cellStatus);
    m_grid->installEventFilter(this);
    m_grid->setKeyHandler([this](QKeyEvent* event) { return handleMapKey(event); });
    connect(m_grid, &CCellArray::cellPressed, this,
            [this](int row, int column) { pickMapCell(row, column); });
    m_view->addWidget(m_table);
    m_view->addWidget(m_mapPanel);

    // Changing the controller must never be what Enter does.
    m_restore->setAutoDefault(false);
    m_apply->setAutoDefault(false);
    close->setDefault(true);

    // The lists on the left, one above the other, leave the width to the map grid.
    auto* lists = new QVBoxLayout;
    lists->addWidget(new QLabel(translated(PL("Kopie zapasowe i pliki:")), this));
    lists->addWidget(m_files, 2);
    lists->addWidget(otherFile);
    lists->addWidget(new QLabel(translated(PL("Różnice względem sterownika:")), this));
    lists->addWidget(m_groups, 3);
    lists->addWidget(m_summary);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_restore);
    buttons->addWidget(m_apply);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QGridLayout(this);
    layout->addLayout(lists, 0, 0);
    layout->addWidget(m_view, 0, 1);
    layout->addLayout(buttons, 1, 0, 1, 2);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 3);

    connect(m_files, &QListWidget::currentRowChanged, this, [this] { OnSelchangeListFiles(); });
    connect(m_groups, &QListWidget::currentRowChanged, this, [this] { OnSelchangeListGroups(); });
    connect(m_groups, &QListWidget::itemChanged, this,
            [this] { m_apply->setEnabled(m_loadable && !tickedGroups().empty()); });
    connect(otherFile, &QPushButton::clicked, this, [this] { OnBnClickedBtnOtherFile(); });
    connect(m_restore, &QPushButton::clicked, this, [this] { OnBnClickedBtnRestore(); });
    connect(m_apply, &QPushButton::clicked, this, [this] { OnBnClickedBtnApply(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    fillFileList();
}

void CBackupsDlg::addFile(const std::string& path) {
    m_chosen.insert(m_chosen.begin(), path);
    fillFileList(path);
}

void CBackupsDlg::selectGroup(std::size_t group) {
    for (int row = 0; row < m_groups->count(); ++row) {
        if (m_groups->item(row)->data(Qt::UserRole).toULongLong() == group)
            m_groups->setCurrentRow(row);
    }
}

void CBackupsDlg::fillFileList(const std::string& keep) {
    const QSignalBlocker blocker(m_files);
    m_files->clear();
    m_paths.clear();
    for (const std::string& path : m_chosen) {
        m_files->addItem(QString::fromStdString(std::filesystem::path(path).filename().string()));
        m_files->item(m_files->count() - 1)->setToolTip(QString::fromStdString(path));
        m_paths.push_back(path);
    }
    for (const SBackupFile& backup : listSettingsBackups(m_doc.device().config().m_devInfo)) {
        QString text = QString::fromStdString(localTimeText(backup.when, "%Y-%m-%d  %H:%M:%S"));
        if (backup.reason)
            text += QStringLiteral("  ") + translated(backupReasonText(*backup.reason));
        m_files->addItem(text);
        m_files->item(m_files->count() - 1)->setToolTip(QString::fromStdString(backup.path));
        m_paths.push_back(backup.path);
    }
    const auto kept = std::find(m_paths.begin(), m_paths.end(), keep);
    m_files->setCurrentRow(m_paths.empty()         ? -1
                           : kept != m_paths.end() ? static_cast<int>(kept - m_paths.begin())
                                                   : 0);
    compareSelected();
}

std::string CBackupsDlg::selectedPath() const {
    const int row = m_files->currentRow();
    return row >= 0 && static_cast<std::size_t>(row) < m_paths.size() ? m_paths[row]
                                                                      : std::string();
}

void CBackupsDlg::compareSelected() {
    m_file.reset();
    m_diff = {};
    m_loadable = true;
    const std::string path = selectedPath();
    std::string failure;
    if (path.empty())
        m_summary->setText(translated(PL("Brak kopii zapasowych tego sterownika.")));
    else if (!(m_file = snapshotOfFile(path, failure)))
        m_summary->setText(translated(PL("Nie można wczytać ustawień z pliku")) +
                           QStringLiteral("\n") + QString::fromStdString(failure));
    else
        m_diff = compareConfigurations(snapshotOf(m_doc.device().config()), *m_file);
    fillGroupList();
    // A file the load would refuse (no time stamp, a mandatory key missing) can be compared
    // but neither restored nor applied.
    const SDevInfo& live = m_doc.device().config().m_devInfo;
    CDeviceConfig scratch(isKnownDeviceType(live.m_deviceID) ? std::optional(live.m_deviceID)
                                                             : std::nullopt);
    std::string refusal;
    if (m_file && !readSettings(path, scratch, loadTargetOf(live), &refusal)) {
        m_restore->setEnabled(false);
        m_loadable = false;
        m_summary->setText(m_summary->text() + QStringLiteral("\n") +
                           QString::fromStdString(settingsLoadFailureText(path, refusal)));
    }
}

void CBackupsDlg::fillGroupList() {
    const QSignalBlocker blocker(m_groups);
    m_groups->clear();
    m_table->clear();
    m_table->setRowCount(0);
    m_table->setColumnCount(0);
    m_view->setCurrentWidget(m_table);
    m_restore->setEnabled(m_file.has_value());
    m_apply->setEnabled(false);
    if (!m_file)
        return;
    const auto groups = diffGroups();
    std::vector<std::size_t> counts(groups.size(), 0);
    for (const SKeyDifference& difference : m_diff.differences)
        ++counts[groupOf(difference.keyIndex)];
    for (std::size_t group = 0; group < groups.size(); ++group) {
        if (counts[group] == 0)
            continue;
        auto* item = new QListWidgetItem(translated(groups[group].title.data()) +
                                         QStringLiteral(" (%1)").arg(counts[group]));
        item->setData(Qt::UserRole, static_cast<qulonglong>(group));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        m_groups->addItem(item);
    }
    // Not differences: what could not be compared, and why.
    for (const SApartGroup& apart : apartGroups(m_diff)) {
        auto* item =
            new QListWidgetItem(translated(groups[apart.group].title.data()) +
                                QStringLiteral(": ") + translated(apartText(apart.reason)));
        item->setData(Qt::UserRole, static_cast<qulonglong>(apart.group));
        item->setFlags(Qt::ItemIsEnabled);
        item->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
        m_groups->addItem(item);
    }
    m_summary->setText(m_diff.identical()
                           ? translated(PL("Brak różnic."))
                           : translated(PL("Różnice: %1")).arg(m_diff.differences.size()));
    if (m_groups->count() > 0) {
        m_groups->setCurrentRow(0);
        showGroup(m_groups->item(0)->data(Qt::UserRole).toULongLong());
    }
}

void CBackupsDlg::showGroup(std::size_t group) {
    if (diffGroups()[group].isMap)
        showMapGroup(group);
    else
        showMemberGroup(group);
}

void CBackupsDlg::showMapGroup(std::size_t group) {
    const SMapInfo& map = mapOfGroup(group);
    // The file's axes and load-header rules, on the controller's record for what it lacks.
    const CDeviceConfig file = recordOf(*m_file, m_doc.device().config());
    QStringList loads;
    QStringList rpms;
    for (int row = 0; row < kMapRows; ++row)
        loads.append(QString::fromStdString(loadHeaderText(file, map.channel, row)));
    for (int column = 0; column < kMapColumns; ++column)
        rpms.append(QString::fromStdString(formatRpmPoint(file.m_mapRpmCoordinatesEmu1[column])));
    m_grid->init(map.kind == EMapKind::Time ? QStringLiteral("V") : QStringLiteral("E %"), kMapRows,
                 kMapColumns, loads, rpms);
    m_controllerTexts = {};
    for (const SKeyDifference& difference : m_diff.differences) {
        const std::optional<SKeyCell> cell = keyCell(settingsKeys()[difference.keyIndex].key);
        if (groupOf(difference.keyIndex) == group && cell && cell->column >= 0)
            m_controllerTexts[cell->row][cell->column] =
                QString::fromStdString(formatMapValue(map.kind, difference.first));
    }
    const auto& keys = settingsKeys();
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const std::optional<SKeyCell> cell = keyCell(keys[i].key);
        if (groupOf(i) != group || !cell || cell->column < 0)
            continue;
        const std::optional<double>& value = m_file->numbers[i];
        CCell& shown = m_grid->cell(cell->row, cell->column);
        shown.setTxt(value ? QString::fromStdString(formatMapValue(map.kind, *value))
                           : QStringLiteral("-"));
        shown.setBkColor(m_controllerTexts[cell->row][cell->column].isEmpty() ? kUnchangedCell
                                                                              : kChangedCell);
    }
    m_pickedRow = m_pickedColumn = -1;
    m_cellStatus->clear();
    m_view->setCurrentWidget(m_mapPanel);
    // The first changed cell starts picked, so its controller value shows without a search.
    for (int row = 0; row < kMapRows && m_pickedRow < 0; ++row) {
        for (int column = 0; column < kMapColumns && m_pickedRow < 0; ++column) {
            if (!m_controllerTexts[row][column].isEmpty())
                pickMapCell(row, column);
        }
    }
}

void CBackupsDlg::pickMapCell(int row, int column) {
    if (m_pickedRow >= 0)
        m_grid->cell(m_pickedRow, m_pickedColumn).setSelected(false);
    m_pickedRow = row;
    m_pickedColumn = column;
    m_grid->cell(row, column).setSelected(true);
    m_grid->update(); // the selection frame reaches over the neighbours' borders
    const QString& controller = m_controllerTexts[row][column];
    m_cellStatus->setText(
        m_grid->rowHeader(row) + QStringLiteral(" / ") + m_grid->columnHeader(column) +
        QStringLiteral(":  ") + translated(PL("Plik")) + QStringLiteral(" ") +
        m_grid->cell(row, column).getTxt() + QStringLiteral(",  ") +
        (controller.isEmpty() ? translated(PL("sterownik tak samo"))
                              : translated(PL("Sterownik:")) + QStringLiteral(" ") + controller));
}

bool CBackupsDlg::handleMapKey(QKeyEvent* event) {
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    int row = std::max(m_pickedRow, 0);
    int column = std::max(m_pickedColumn, 0);
    switch (event->key()) {
    case Qt::Key_Up:
        row = std::max(row - 1, 0);
        break;
    case Qt::Key_Down:
        row = std::min(row + 1, kMapRows - 1);
        break;
    case Qt::Key_Left:
        column = std::max(column - 1, 0);
        break;
    case Qt::Key_Right:
        column = std::min(column + 1, kMapColumns - 1);
        break;
    default:
        return false;
    }
    pickMapCell(m_pickedRow < 0 ? 0 : row, m_pickedColumn < 0 ? 0 : column);
    return true;
}

bool CBackupsDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_grid || event->type() != QEvent::ToolTip)
        return QDialog::eventFilter(watched, event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const auto [row, column] = m_grid->cellAt(help->pos());
    if (row >= 0 && column >= 0 && !m_controllerTexts[row][column].isEmpty())
        QToolTip::showText(help->globalPos(),
                           translated(PL("Sterownik:")) + QStringLiteral(" ") +
                               m_controllerTexts[row][column],
                           m_grid, m_grid->cellRect(row, column));
    else
        QToolTip::hideText();
    return true;
}

void CBackupsDlg::showMemberGroup(std::size_t group) {
    m_table->clear();
    m_table->setColumnCount(3);
    m_table->setHorizontalHeaderLabels(
        {translated(PL("Ustawienie")), translated(PL("Sterownik")), translated(PL("Plik"))});
    m_table->setRowCount(0);
    const auto& keys = settingsKeys();
    const std::string prefix = std::string(diffGroups()[group].prefix) + ".";
    for (const SKeyDifference& difference : m_diff.differences) {
        if (groupOf(difference.keyIndex) != group)
            continue;
        std::string name = keys[difference.keyIndex].key;
        if (name.starts_with(prefix))
            name.erase(0, prefix.size());
        const int row = m_table->rowCount();
        m_table->insertRow(row);
        m_table->setItem(row, 0, new QTableWidgetItem(QString::fromStdString(name)));
        m_table->setItem(row, 1, new QTableWidgetItem(number(difference.first)));
        auto* file = new QTableWidgetItem(number(difference.second));
        file->setBackground(kChangedCell);
        m_table->setItem(row, 2, file);
    }
    m_table->resizeColumnsToContents();
    m_view->setCurrentWidget(m_table);
}

std::vector<std::size_t> CBackupsDlg::tickedGroups() const {
    std::vector<std::size_t> ticked;
    for (int row = 0; row < m_groups->count(); ++row) {
        const QListWidgetItem* item = m_groups->item(row);
        if ((item->flags() & Qt::ItemIsUserCheckable) && item->checkState() == Qt::Checked)
            ticked.push_back(item->data(Qt::UserRole).toULongLong());
    }
    return ticked;
}

void CBackupsDlg::OnSelchangeListFiles() {
    compareSelected();
}

void CBackupsDlg::OnSelchangeListGroups() {
    const QListWidgetItem* item = m_groups->currentItem();
    if (item && m_file)
        showGroup(item->data(Qt::UserRole).toULongLong());
}

void CBackupsDlg::OnBnClickedBtnOtherFile() {
    const std::string path = chooseSettingsFileToLoad();
    if (!path.empty())
        addFile(path);
}

void CBackupsDlg::OnBnClickedBtnRestore() {
    const std::string path = selectedPath();
    try {
        m_doc.restoreSettingsFile(path);
    } catch (const IError& error) {
        appUi().message("CBackupsDlg::OnBnClickedBtnRestore()\n" + error.formattedText(), "TORVA",
                        EIcon::None);
    }
    fillFileList(path); // the restore's own backup joins the list
}

void CBackupsDlg::OnBnClickedBtnApply() {
    const std::string path = selectedPath();
    try {
        m_doc.applySettingsGroups(path, tickedGroups());
    } catch (const IError& error) {
        appUi().message("CBackupsDlg::OnBnClickedBtnApply()\n" + error.formattedText(), "TORVA",
                        EIcon::None);
    }
    fillFileList(path);
}

} // namespace torva
