#include "ui/pages/maps/map_grid.h"

#include "config/maps/map_catalogue.h"
#include "lang/source_text.h"
#include "lang/translation.h"
#include "link/lpg_device.h"
#include "platform/user_interface.h"
#include "ui/pages/common/page_texts.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
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

// The start of a typed number.
bool startsNumber(const QString& text) {
    return text.size() == 1 && (text[0].isDigit() || text[0] == QLatin1Char('-') ||
                                text[0] == QLatin1Char('.') || text[0] == QLatin1Char(','));
}

constexpr const char* kOutOfMapRange =
    PL("Wynik wyszedłby poza zakres mapy od %1 do %2; nic nie zostało zapisane.");
constexpr const char* kPasteNotFitting =
    PL("Schowek nie zawiera bloku liczb, który mieści się w mapie od zaznaczonej komórki; nic "
       "nie zostało zapisane.");

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
    m_cellEdit.create(&m_view);
    connect(&m_cellEdit, &CItemEdit::itemChanged, this,
            [this](EItemKind, int, const QString& typed) { setTypedValue(typed); });
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

EEditResult CMapGrid::runTool(const std::function<EEditResult()>& edit) {
    const EEditResult result = underWaitCursor(edit);
    if (result == EEditResult::Refused) {
        const SEntryRange range = mapRange();
        appUi().message(translateNumbered(kOutOfMapRange, {range.minText, range.maxText}), "TORVA",
                        EIcon::Warning);
    }
    return result;
}

SEntryRange CMapGrid::mapRange() const {
    return {m_map->m_valueMin, m_map->m_valueMax, m_map->formatValue(m_map->m_valueMin),
            m_map->formatValue(m_map->m_valueMax)};
}

std::optional<double> CMapGrid::ask(const char* title, const char* label, const QString& start,
                                    const SEntryRange& range) {
    CValueEntryDlg dialog(translatedText(title), translatedText(label), start, range, &m_view);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.value();
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
    if (!control && m_view.hasFocus() && m_map->getSelection().any && startsNumber(event->text())) {
        beginTyping(event->text());
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
    const EEditResult result = underWaitCursor([&] { return m_map->paste(text); });
    // A refused paste is a block that does not fit, is no block of numbers or leaves the range.
    if (result == EEditResult::Refused) {
        const SEntryRange range = mapRange();
        appUi().message(translate(kPasteNotFitting) + "\n" +
                            translateNumbered(kOutOfMapRange, {range.minText, range.maxText}),
                        "TORVA", EIcon::Warning);
    }
}

void CMapGrid::askAndSetValue() {
    const SCellSelection s = m_map->getSelection();
    if (!s.any)
        return;
    // From the selected cell's value, so that OK alone changes nothing unseen.
    const QString start = QString::fromStdString(m_map->cellText(s.firstColumn, s.firstRow));
    if (const auto value = ask(PL("Ustaw wartość"), PL("Wartość:"), start, mapRange()))
        runTool([&] { return m_map->setSelectedTo(*value); });
}

void CMapGrid::askAndAdd() {
    const SCellSelection s = m_map->getSelection();
    if (!s.any)
        return;
    // What every selected cell can take without leaving the map's range.
    double lowest = m_map->m_valueMax;
    double highest = m_map->m_valueMin;
    for (int row = s.firstRow; row <= s.lastRow; ++row) {
        for (int column = s.firstColumn; column <= s.lastColumn; ++column) {
            if (m_map->isSelected(column, row)) {
                lowest = std::min(lowest, m_map->cellValue(column, row));
                highest = std::max(highest, m_map->cellValue(column, row));
            }
        }
    }
    const double down = m_map->m_valueMin - lowest;
    const double up = m_map->m_valueMax - highest;
    const SEntryRange range{down, up, m_map->formatValue(down), m_map->formatValue(up)};
    if (const auto delta = ask(PL("Dodaj"), PL("Wartość:"), QStringLiteral("0"), range))
        runTool([&] { return m_map->addToSelected(*delta); });
}

void CMapGrid::askAndScale() {
    const SEntryRange range{0, 1000, "0", "1000"};
    if (const auto percent = ask(PL("Pomnóż"), PL("Procent:"), QStringLiteral("100"), range))
        runTool([&] { return m_map->scaleSelected(*percent); });
}

void CMapGrid::beginTyping(const QString& first) {
    const SCellSelection s = m_map->getSelection();
    m_cellEdit.begin(EItemKind::Body, 0, m_view.cellRect(s.firstRow, s.firstColumn), first);
    // The first character stays, and the next ones follow it.
    if (auto* field = qobject_cast<QLineEdit*>(m_cellEdit.getWindow())) {
        field->deselect();
        field->end(false);
    }
}

void CMapGrid::setTypedValue(const QString& typed) {
    if (typed.trimmed().isEmpty())
        return;
    const SEntryRange range = mapRange();
    const std::optional<double> value = valueInRange(typed.toStdString(), range);
    if (!value) {
        appUi().message(valueRangeText(range), "TORVA", EIcon::Warning);
        return;
    }
    runTool([&] { return m_map->setSelectedTo(*value); });
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
        PL("Interpoluj"), [this] { runTool([this] { return m_map->interpolateSelected(); }); },
        selected);
    add(
        PL("Wygładź"), [this] { runTool([this] { return m_map->smoothSelected(); }); }, selected);
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
