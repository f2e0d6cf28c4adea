#pragma once

#include "ui/controls/multi_page_button.h"

#include <QAbstractButton>

namespace torva {

// The page control's usual button: a text tab, filled with the accent colour while its page is
// the active one.
class CPageButton : public QAbstractButton, public IMultiPageButton {
    Q_OBJECT
public:
    explicit CPageButton(QWidget* parent = nullptr);

    QAbstractButton* widget() override { return this; }
    QString title() const override { return text(); }
    void setTitle(const QString& title) override;
    bool isActive() const override { return m_active; }
    void setActive(bool active) override;

    QSize sizeHint() const override;
    // A row too narrow for every tab takes the room from the padding, never from the text.
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    bool m_active = false;
    bool m_hovered = false;
};

} // namespace torva
