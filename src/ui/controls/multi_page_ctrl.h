#pragma once

#include "ui/controls/page_selection.h"

#include <QWidget>

#include <vector>

class QHBoxLayout;
class QKeyEvent;
class QVBoxLayout;

namespace torva {

class CMultiPageDialog;
class IMultiPageButton;

// A row of titled page buttons over one visible page at a time. Pages keep their insertion
// order; the first page inserted becomes the active one, and activating a page deactivates
// the one before it.
class CMultiPageCtrl : public QWidget {
    Q_OBJECT
public:
    explicit CMultiPageCtrl(QWidget* parent = nullptr);

    // Appends page with button titled title and initialises the page; the control takes
    // ownership of both. Returns the page's index, or -1 when page or button is missing.
    int insertPage(const QString& title, IMultiPageButton* button, CMultiPageDialog* page);
    // The same with the usual text button.
    int insertPage(const QString& title, CMultiPageDialog* page);
    // Removes and deletes a page and its button; removing the active page activates the page
    // that takes its place (or the new last page).
    void removePage(int index);

    // Returns false, changing nothing, for an unknown index or button.
    bool activatePage(int index);
    bool activatePage(const IMultiPageButton* button);
    CMultiPageDialog* getActivePage() const;
    int getActiveIndex() const { return m_selection.active(); }
    CMultiPageDialog* getPage(int index) const;
    IMultiPageButton* getButton(int index) const;
    int getPageCount() const { return m_selection.count(); }

    void changeTitle(int index, const QString& title);
    QString getTitle(int index) const;
    // For each page in order: its button takes the page's pageTitle() (when not empty), then
    // the page sets its own texts again.
    void retranslatePages();

    // Page switching from the keyboard: Ctrl+Tab and Ctrl+PgDown go to the next page,
    // Ctrl+Shift+Tab and Ctrl+PgUp to the previous one. Returns true when the key was used.
    bool checkMsg(const QKeyEvent& event);

signals:
    void pageActivated(int index);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct SPage {
        IMultiPageButton* button;
        CMultiPageDialog* page;
    };

    void apply(const SPageSwitch& change);
    bool valid(int index) const { return index >= 0 && index < getPageCount(); }

    CPageSelection m_selection;
    std::vector<SPage> m_pages;
    QWidget* m_buttonRow;
    QHBoxLayout* m_buttonLayout;
    QWidget* m_pageArea;
    QVBoxLayout* m_pageLayout;
};

} // namespace torva
