#pragma once

#include <QWidget>

namespace torva {

// The base of custom-drawn controls that a page lays out as a plain placeholder widget and
// replaces when it builds itself: the control takes the placeholder's parent, place, size,
// size rules, layout slot and name, and the placeholder is deleted.
class CCompCtrl : public QWidget {
    Q_OBJECT
public:
    explicit CCompCtrl(QWidget* parent = nullptr);

    // Replaces the placeholder named placeholderName somewhere under parent. Returns false,
    // changing nothing, when there is no such placeholder.
    bool CreateFromStatic(const QString& placeholderName, QWidget* parent);
    // Replaces placeholder, which must have a parent.
    bool CreateFromStatic(QWidget* placeholder);
};

} // namespace torva
