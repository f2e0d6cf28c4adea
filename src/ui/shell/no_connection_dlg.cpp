#include "ui/shell/no_connection_dlg.h"

#include "lang/translation.h"
#include "ui/controls/gradient_button.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace torva {

namespace {
QString translated(const char* text) {
    return QString::fromStdString(translate(text));
}
} // namespace

CNoConnectionDlg::CNoConnectionDlg(QWidget* parent)
    : QDialog(parent),
      m_text(new QLabel(
          translated("Aplikacja nie może nawiązać połączenia ze sterownikiem na żadnym z "
                     "portów COM komputera."),
          this)),
      m_demo(new CGradientButton(translated("Uruchom w trybie demo"), this)),
      m_offline(new CGradientButton(translated("Uruchom bez połączenia"), this)) {
    setWindowTitle(translated("Brak połączenia"));
    m_text->setWordWrap(true);
    m_text->setMinimumWidth(360);
    m_demo->setDefault(true);
    connect(m_demo, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_offline, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_demo);
    buttons->addWidget(m_offline);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addSpacing(8);
    layout->addLayout(buttons);
}

bool CNoConnectionDlg::askForDemo(QWidget* parent) {
    CNoConnectionDlg dialog(parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace torva
