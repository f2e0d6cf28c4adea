#include "ui/pages/calibration/axis_dialog_parts.h"

#include "ui/controls/gradient_button.h"
#include "ui/controls/number_format.h"
#include "ui/pages/calibration/axis_dialog_input.h"
#include "ui/pages/common/page_texts.h"

#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace torva::calibration {

namespace {

constexpr int kFieldWidth = 90;

// "OK" (default) and "Anuluj" on the right; Anuluj rejects the dialog.
QBoxLayout* okCancelRow(QPushButton*& ok, QPushButton*& cancel, QDialog* dialog) {
    ok = new CGradientButton(translatedText("OK"), dialog);
    cancel = new CGradientButton(translatedText("Anuluj"), dialog);
    ok->setDefault(true);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

} // namespace

QLineEdit* numberField(QWidget* parent, const char* format, double value) {
    auto* field = new QLineEdit(QString::fromStdString(formatNumber(format, value)), parent);
    field->setFixedWidth(kFieldWidth);
    field->setAlignment(Qt::AlignRight);
    return field;
}

std::optional<double> fieldNumber(const QLineEdit* field) {
    return parseTypedNumber(field->text().toStdString());
}

QLabel* problemLine(QWidget* parent) {
    auto* line = new QLabel(parent);
    line->setWordWrap(true);
    line->setStyleSheet(QStringLiteral("color: #b00000;"));
    line->hide();
    return line;
}

void showProblem(QLabel* line, const std::string& text) {
    line->setText(QString::fromStdString(text));
    line->setVisible(!text.empty());
}

void layOutAxisDialog(QDialog* dialog, std::initializer_list<SAxisDialogRow> rows, QLabel* problem,
                      QPushButton*& ok, QPushButton*& cancel) {
    auto* fields = new QGridLayout;
    int row = 0;
    for (const SAxisDialogRow& entry : rows) {
        fields->addWidget(new QLabel(translatedText(entry.label), dialog), row, 0);
        fields->addWidget(entry.field, row++, 1);
    }
    fields->setColumnStretch(0, 1);
    fields->setHorizontalSpacing(16);

    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(fields);
    layout->addWidget(problem);
    layout->addSpacing(8);
    layout->addLayout(okCancelRow(ok, cancel, dialog));
}

} // namespace torva::calibration
