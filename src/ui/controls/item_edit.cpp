#include "ui/controls/item_edit.h"

#include <QKeyEvent>

namespace torva {

CCellArrayEdit::CCellArrayEdit(QWidget* parent) : QLineEdit(parent) {
    setFrame(false);
    setAlignment(Qt::AlignCenter);
}

void CCellArrayEdit::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit editAccepted();
        return;
    case Qt::Key_Escape:
        emit editAbandoned();
        return;
    default:
        QLineEdit::keyPressEvent(event);
    }
}

void CCellArrayEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (isVisible())
        emit editAccepted();
}

void CItemEdit::create(QWidget* parent) {
    if (m_edit)
        return;
    m_edit = new CCellArrayEdit(parent);
    m_edit->hide();
    connect(m_edit, &CCellArrayEdit::editAccepted, this, [this] { finish(true); });
    connect(m_edit, &CCellArrayEdit::editAbandoned, this, [this] { finish(false); });
}

void CItemEdit::setText(const QString& text) {
    if (m_edit)
        m_edit->setText(text);
}

void CItemEdit::move(const QRect& rect) {
    if (m_edit)
        m_edit->setGeometry(rect);
}

void CItemEdit::show(bool visible) {
    if (!m_edit)
        return;
    m_edit->setVisible(visible);
    if (visible) {
        m_edit->setFocus();
        m_edit->selectAll();
    }
}

void CItemEdit::begin(EItemKind kind, int index, const QRect& rect, const QString& text) {
    m_kind = kind;
    m_index = index;
    setText(text);
    move(rect);
    show(true);
}

QString CItemEdit::getText(EItemKind, int, const QString& typed) {
    return typed;
}

void CItemEdit::finish(bool accepted) {
    // Hiding the box moves the focus, which would end the edit a second time.
    if (m_finishing || !m_edit)
        return;
    m_finishing = true;
    const QString typed = m_edit->text();
    QWidget* grid = m_edit->parentWidget();
    show(false);
    if (grid)
        grid->setFocus();
    if (accepted)
        emit itemChanged(m_kind, m_index, getText(m_kind, m_index, typed));
    m_finishing = false;
}

} // namespace torva
