#pragma once

#include <QString>

#include <initializer_list>
#include <optional>

class QDialog;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// Widgets the two axis dialogs share.
namespace torva::calibration {

// A number field showing value in a printf format ("%.2f", "%.0f").
QLineEdit* numberField(QWidget* parent, const char* format, double value);
// The field's number (decimal comma allowed), or std::nullopt.
std::optional<double> fieldNumber(const QLineEdit* field);
// A hidden line under the fields that explains a refusal the user could not guess.
QLabel* problemLine(QWidget* parent);
void showProblem(QLabel* line, const std::string& text);

// A row of an axis dialog: the field with its label (source text, translated when shown).
struct SAxisDialogRow {
    const char* label;
    QWidget* field;
};
// Lays dialog out: the labelled fields in a column, the problem line under them, then "OK"
// (default) and "Anuluj" on the right; Anuluj rejects the dialog.
void layOutAxisDialog(QDialog* dialog, std::initializer_list<SAxisDialogRow> rows, QLabel* problem,
                      QPushButton*& ok, QPushButton*& cancel);

} // namespace torva::calibration
