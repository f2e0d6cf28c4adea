#include "ui/pages/maps/value_entry_dlg.h"

#include "config/maps/map_catalogue.h"
#include "lang/source_text.h"
#include "lang/translation.h"
#include "ui/controls/gradient_button.h"
#include "ui/pages/common/page_texts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace torva {

namespace {

constexpr double kRangeTolerance = 1e-9;

} // namespace

std::optional<double> valueInRange(const std::string& typed, const SEntryRange& range) {
    const std::optional<double> value = parseTypedNumber(typed);
    if (!value || *value < range.min - kRangeTolerance || *value > range.max + kRangeTolerance)
        return std::nullopt;
    return value;
}

std::string valueRangeText(const SEntryRange& range) {
    return translateNumbered(PL("Wpisz liczbę od %1 do %2; nic nie zostało zapisane."),
                         {range.minText, range.maxText});
}

CValueEntryDlg::CValueEntryDlg(const QString& title, const QString& label, const QString& start,
                               SEntryRange range, QWidget* parent)
    : CGradientDialog(parent), m_range(std::move(range)) {
    setWindowTitle(title);
    m_field = new QLineEdit(start, this);
    m_field->selectAll();
    m_problem = new QLabel(this);
    m_problem->setWordWrap(true);
    m_problem->setStyleSheet(QStringLiteral("color: #b00000;"));
    m_problem->hide();
    m_ok = new CGradientButton(translatedText("OK"), this);
    m_ok->setDefault(true);
    auto* cancel = new CGradientButton(translatedText("Anuluj"), this);
    connect(m_ok, &QPushButton::clicked, this, &CValueEntryDlg::OnOK);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* fieldRow = new QHBoxLayout;
    fieldRow->addWidget(new QLabel(label, this), 1);
    fieldRow->addWidget(m_field);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fieldRow);
    layout->addWidget(m_problem);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    setMinimumWidth(300);
}

void CValueEntryDlg::OnOK() {
    const std::optional<double> value = valueInRange(m_field->text().toStdString(), m_range);
    if (!value) {
        m_problem->setText(QString::fromStdString(valueRangeText(m_range)));
        m_problem->show();
        adjustSize(); // the whole explanation shows
        m_field->setFocus();
        return;
    }
    m_value = *value;
    accept();
}

} // namespace torva
