#pragma once

#include <QFont>
#include <QIcon>
#include <QWidget>

class QAbstractButton;

namespace torva {

// The main window's own caption: icon and text over the caption colour, with minimise,
// maximise and close buttons for a window that has no system caption. Dragging the bar moves
// the window; a double click maximises or restores it.
class CMSMCaptionBar : public QWidget {
    Q_OBJECT
public:
    explicit CMSMCaptionBar(QWidget* parent = nullptr);

    void setCaptionText(const QString& text);
    QString captionText() const { return m_text; }
    void setIcon(const QIcon& icon);
    QIcon icon() const { return m_icon; }
    void setCaptionFont(const QFont& font);
    QFont captionFont() const { return m_font; }
    // The window buttons are shown unless the window keeps its system caption.
    void setSystemButtonsVisible(bool visible);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void toggleMaximised();
    int barHeight() const;
    void placeButtons();

    QString m_text;
    QIcon m_icon;
    QFont m_font;
    QAbstractButton* m_minimise;
    QAbstractButton* m_maximise;
    QAbstractButton* m_close;
};

} // namespace torva
