#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QRect>
#include <QString>

namespace torva {

// An in-place item window over one cell of a grid.
class CItemWnd {
public:
    virtual ~CItemWnd() = default;
    virtual void create(QWidget* parent) = 0;
    virtual void setText(const QString& text) = 0;
    virtual void move(const QRect& rect) = 0;
    virtual void show(bool visible) = 0;
    virtual QWidget* getWindow() = 0;
};

// The edit box of a CItemEdit: Enter ends the edit, Escape abandons it, and losing the focus
// ends it as Enter does.
class CCellArrayEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CCellArrayEdit(QWidget* parent);

signals:
    void editAccepted();
    void editAbandoned();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

// Which cell an in-place edit is over.
enum class EItemKind { RowHeader, ColumnHeader, Body };

// The in-place editor of a grid's header cells. When an edit ends, getText turns the typed text
// into the text the cell keeps; grids that write typed values override it.
class CItemEdit : public QObject, public CItemWnd {
    Q_OBJECT
public:
    CItemEdit() = default;

    void create(QWidget* parent) override;
    void setText(const QString& text) override;
    void move(const QRect& rect) override;
    void show(bool visible) override;
    QWidget* getWindow() override { return m_edit; }

    // Opens the editor over the item with its current text.
    void begin(EItemKind kind, int index, const QRect& rect, const QString& text);
    bool editing() const { return m_edit && m_edit->isVisible(); }

    virtual QString getText(EItemKind kind, int index, const QString& typed);

signals:
    // The edit ended with the text the cell keeps.
    void itemChanged(torva::EItemKind kind, int index, const QString& text);

private:
    void finish(bool accepted);

    QPointer<CCellArrayEdit> m_edit;
    EItemKind m_kind = EItemKind::Body;
    int m_index = 0;
    bool m_finishing = false;
};

} // namespace torva
