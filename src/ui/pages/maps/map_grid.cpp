#include "ui/pages/maps/map_grid.h"

#include "config/maps/map_catalogue.h"
#include "lang/source_text.h"
#include "link/lpg_device.h"
#include "platform/user_interface.h"
#include "ui/pages/common/page_texts.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMenu>

#include <array>

namespace torva {

namespace {

EHeaderCell headerCell(EItemKind kind) {
    return kind == EItemKind::RowHeader      ? EHeaderCell::Load
           : kind == EItemKind::ColumnHeader ? EHeaderCell::Rpm
                                             : EHeaderCell::Body;
}

std::optional<EArrowKey> arrowKey(int key) {
    switch (key) {
    case Qt::Key_Left:
        return EArrowKey::Left;
    case Qt::Key_Right:
        return EArrowKey::Right;
    case Qt::Key_Up:
        return EArrowKey::Up;
    case Qt::Key_Down:
        return EArrowKey::Down;
    default:
        return std::nullopt;
    }
}

} // namespace

QString CMapHeaderEdit::getText(EItemKind kind, int index, const QString& typed) {
    return QString::fromStdString(m_rules.getText(headerCell(kind), index, typed.toStdString()));
}

CMapGrid::CMapGrid(std::unique_ptr<CMapArray> map, CCellArray& view, CMapEdit* rules)
    : QObject(&view), m_map(std::move(map)), m_view(view) {
    const bool time = m_map->info().kind == EMapKind::Time;
    m_view.init(time ? QStringLiteral("V") : QStringLiteral("E %"), kMapRows, kMapColumns, {}, {});
    m_view.setCurrentCellColor(QColor(CMapArray::kCurrentCellColor.red,
                                      CMapArray::kCurrentCellColor.green,
                                      CMapArray::kCurrentCellColor.blue));
    if (rules) {
        m_headerEdit = std::make_unique<CMapHeaderEdit>(*rules);
        m_view.setItemEdit(m_headerEdit.get());
        connect(m_headerEdit.get(), &CItemEdit::itemChanged, this,
                [this](EItemKind kind, int index, const QString& text) {
                    if (kind == EItemKind::RowHeader)
                        m_view.setRowHeader(index, text);
                    else if (kind == EItemKind::ColumnHeader)
                        m_view.setColumnHeader(index, text);
                });
        rules->setAxisListener([this] { refresh(); });
    }
    m_map->setChangeListener([this] { syncView(); });
    m_view.setKeyHandler([this](QKeyEvent* event) { return handleKey(event); });
    connect(&m_view, &CCellArray::cellPressed, this,
            [this](int row, int column) { m_map->pressCell(column, row); });
    connect(&m_view, &CCellArray::cellDragged, this,
            [this](int row, int column) { m_map->dragToCell(column, row); });
    m_view.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&m_view, &QWidget::customContextMenuRequested, this, &CMapGrid::showContextMenu);
    refresh();
}

double CMapGrid::step() const {
    return m_map->info().kind == EMapKind::Time ? 0.1 : 1.0;
}

void CMapGrid::refresh() {
    refreshHeaders();
    m_map->fillFromModel();
}

void CMapGrid::refreshHeaders() {
    const CDeviceConfig& config = m_map->device().config();
    for (int row = 0; row < kMapRows; ++row)
        m_view.setRowHeader(
            row, QString::fromStdString(loadHeaderText(config, m_map->info().channel, row)));
    for (int column = 0; column < kMapColumns; ++column)
        m_view.setColumnHeader(
            column, QString::fromStdString(formatRpmPoint(config.m_mapRpmCoordinatesEmu1[column])));
}

void CMapGrid::refreshLive(double rpm, double load, bool connected) {
    m_map->noteConnection(connected);
    m_map->setCurrentCell(rpm, load);
}

void CMapGrid::syncView() {
    std::array<std::array<double, kMapColumns>, kMapRows> trail{};
    for (const STrailCell& left : m_map->trail())
        trail[left.row][left.column] = std::max(trail[left.row][left.column], 1.0 - left.age);
    for (int row = 0; row < kMapRows; ++row) {
        for (int column = 0; column < kMapColumns; ++column) {
            CCell& cell = m_view.cell(row, column);
            const SRgb rgb = m_map->valueColor(m_map->cellValue(column, row));
            const QColor background(rgb.red, rgb.green, rgb.blue);
            const QString text = QString::fromStdString(m_map->cellText(column, row));
            const bool selected = m_map->isSelected(column, row);
            const bool current = m_map->isCurrent(column, row);
            // Trail strength in steps of 1/32 so a slow fade does not repaint on every tick.
            const double fade = std::round(trail[row][column] * 32) / 32;
            if (cell.getTxt() == text && cell.bkColor() == background &&
                cell.isSelected() == selected && cell.isCurrent() == current &&
                cell.trail() == fade)
                continue;
            cell.setTxt(text);
            cell.setBkColor(background);
            cell.setSelected(selected);
            cell.setCurrent(current);
            cell.setTrail(fade);
            m_view.updateCell(row, column);
        }
    }
}

EEditResult CMapGrid::underWaitCursor(const std::function<EEditResult()>& edit) {
    appUi().setWaitCursor(true);
    EEditResult result = EEditResult::Ignored;
    try {
        result = edit();
    } catch (...) {
        appUi().setWaitCursor(false);
        throw;
    }
    appUi().setWaitCursor(false);
    return result;
}

bool CMapGrid::handleKey(QKeyEvent* event) {
    const bool control = event->modifiers() & Qt::ControlModifier;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const int key = event->key();
    if (control && (key == Qt::Key_Up || key == Qt::Key_Down)) {
        const double delta = key == Qt::Key_Up ? step() : -step();
        underWaitCursor([&] { return m_map->incrementSelected(delta); });
        return true;
    }
    if (const std::optional<EArrowKey> arrow = arrowKey(key); arrow && !control) {
        shift ? m_map->extendSelection(*arrow) : m_map->moveSelection(*arrow);
        return true;
    }
    if (!control)
        return false;
    switch (key) {
    case Qt::Key_C:
        copyToClipboard();
        return true;
    case Qt::Key_V:
        pasteFromClipboard();
        return true;
    case Qt::Key_Z:
        underWaitCursor([&] { return shift ? m_map->redo() : m_map->undo(); });
        return true;
    case Qt::Key_Y:
        underWaitCursor([&] { return m_map->redo(); });
        return true;
    default:
        return false;
    }
}

void CMapGrid::copyToClipboard() {
    const std::string text = m_map->copySelection();
    if (!text.empty())
        QApplication::clipboard()->setText(QString::fromStdString(text));
}

void CMapGrid::pasteFromClipboard() {
    const std::string text = QApplication::clipboard()->text().toStdString();
    underWaitCursor([&] { return m_map->paste(text); });
}

void CMapGrid::askAndSetValue() {
    bool ok = false;
    const double value = QInputDialog::getDouble(&m_view, translatedText(PL("Ustaw wartość")),
                                                 translatedText(PL("Wartość:")), 0,
                                                 m_map->m_valueMin, m_map->m_valueMax, 1, &ok);
    if (ok)
        underWaitCursor([&] { return m_map->setSelectedTo(value); });
}

void CMapGrid::askAndAdd() {
    bool ok = false;
    const double span = m_map->m_valueMax - m_map->m_valueMin;
    const double delta =
        QInputDialog::getDouble(&m_view, translatedText(PL("Dodaj")),
                                translatedText(PL("Wartość:")), 0, -span, span, 1, &ok);
    if (ok)
        underWaitCursor([&] { return m_map->addToSelected(delta); });
}

void CMapGrid::askAndScale() {
    bool ok = false;
    const double percent =
        QInputDialog::getDouble(&m_view, translatedText(PL("Pomnóż")),
                                translatedText(PL("Procent:")), 100, 0, 1000, 1, &ok);
    if (ok)
        underWaitCursor([&] { return m_map->scaleSelected(percent); });
}

void CMapGrid::showContextMenu(const QPoint& where) {
    QMenu menu(&m_view);
    const bool selected = m_map->getSelection().any;
    const auto add = [&](const char* text, auto run, bool enabled) {
        QAction* action = menu.addAction(translatedText(text));
        action->setEnabled(enabled && !m_map->busy());
        connect(action, &QAction::triggered, this, run);
    };
    add(
        PL("Ustaw wartość..."), [this] { askAndSetValue(); }, selected);
    add(
        PL("Dodaj..."), [this] { askAndAdd(); }, selected);
    add(
        PL("Pomnóż o procent..."), [this] { askAndScale(); }, selected);
    add(
        PL("Interpoluj"),
        [this] { underWaitCursor([this] { return m_map->interpolateSelected(); }); }, selected);
    add(
        PL("Wygładź"), [this] { underWaitCursor([this] { return m_map->smoothSelected(); }); },
        selected);
    menu.addSeparator();
    add(
        PL("Kopiuj"), [this] { copyToClipboard(); }, selected);
    add(
        PL("Wklej"), [this] { pasteFromClipboard(); }, selected);
    menu.addSeparator();
    add(
        PL("Cofnij"), [this] { underWaitCursor([this] { return m_map->undo(); }); },
        m_map->canUndo());
    add(
        PL("Ponów"), [this] { underWaitCursor([this] { return m_map->redo(); }); },
        m_map->canRedo());
    if (m_extendMenu) {
        menu.addSeparator();
        m_extendMenu(menu);
    }
    menu.exec(m_view.mapToGlobal(where));
}

} // namespace torva
