#pragma once

#include <QSize>
#include <QWidget>

namespace torva {

// The base of every page a page control hosts: a child window drawn over the background
// gradient that the page control initialises once, then shows (activate) and hides (deactivate).
//
// Pages hook in by overriding onInit (first insertion: build the controls), onActivate and
// onDeactivate. A page whose button text follows the language returns its translated title
// from pageTitle() and sets its own texts again in retranslatePage(); the page control's
// retranslatePages() calls both, in page order.
class CMultiPageDialog : public QWidget {
    Q_OBJECT
public:
    explicit CMultiPageDialog(QWidget* parent = nullptr);

    // Runs onInit once; later calls do nothing.
    void init();
    // Shows the page and runs onActivate; deactivate hides it and runs onDeactivate.
    void activate();
    void deactivate();
    bool isInitialised() const { return m_initialised; }
    bool isActive() const { return m_active; }
    // Gives the keyboard focus to the page's first control that takes it (or to the page).
    void focus();

    // The size the page's rectangles were laid out for; dialog2AppSize scales such a
    // rectangle to the page's present size. Without a design size rectangles stay as they are.
    void setDesignSize(const QSize& size) { m_designSize = size; }
    QSize designSize() const { return m_designSize; }
    QRect dialog2AppSize(const QRect& designRect) const;

    // The translated text of this page's button; an empty text keeps the button's text.
    virtual QString pageTitle() const { return {}; }
    // Sets every text of the page again after a language change.
    virtual void retranslatePage() {}

protected:
    virtual void onInit() {}
    virtual void onActivate() {}
    virtual void onDeactivate() {}
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_initialised = false;
    bool m_active = false;
    QSize m_designSize;
};

} // namespace torva
