#pragma once

#include <QString>

class QAbstractButton;

namespace torva {

// A button in the page control's button row. The page control places the button's widget in
// the row, activates the button's page when it is clicked and marks the active one.
class IMultiPageButton {
public:
    virtual ~IMultiPageButton() = default;
    virtual QAbstractButton* widget() = 0;
    virtual QString title() const = 0;
    virtual void setTitle(const QString& title) = 0;
    virtual bool isActive() const = 0;
    virtual void setActive(bool active) = 0;
};

} // namespace torva
