#pragma once

#include <QString>

#include <optional>

class QBoxLayout;
class QDialog;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// Widgets the two axis dialogs share.
namespace torva::calibration {

QString translated(const char* text);
// A number field showing value in a printf format ("%.2f", "%.0f").
QLineEdit* numberField(QWidget* parent, const char* format, double value);
// The field's number (decimal comma allowed), or std::nullopt.
std::optional<double> fieldNumber(const QLineEdit* field);
// A hidden line under the fields that explains a refusal the user could not guess.
QLabel* problemLine(QWidget* parent);
void showProblem(QLabel* line, const std::string& text);
// "OK" (default) and "Anuluj" on the right; Anuluj rejects the dialog.
QBoxLayout* okCancelRow(QPushButton*& ok, QPushButton*& cancel, QDialog* dialog);

} // namespace torva::calibration
