#include "ui/shell/no_connection_dlg.h"

#include "ui/controls/gradient_button.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace torva {

CNoConnectionDlg::CNoConnectionDlg(const STexts& texts, QWidget* parent)
    : QDialog(parent), m_text(new QLabel(texts.text, this)),
      m_demo(new CGradientButton(texts.demoButton, this)),
      m_without(new CGradientButton(texts.withoutButton, this)) {
    setWindowTitle(texts.caption);
    m_text->setWordWrap(true);
    m_text->setMinimumWidth(360);
    m_demo->setDefault(true);
    connect(m_demo, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_without, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_demo);
    buttons->addWidget(m_without);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addSpacing(8);
    layout->addLayout(buttons);
}

} // namespace torva
