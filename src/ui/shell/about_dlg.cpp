#include "ui/shell/about_dlg.h"

#include "lang/translation.h"
#include "ui/controls/gradient_button.h"
#include "ui/shell/caption_text.h"
#include "ui/shell/program_icon.h"

#include <QGridLayout>
#include <QLabel>

namespace torva {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromStdString(translate("O programie")));
    auto* icon = new QLabel(this);
    icon->setPixmap(programIcon().pixmap(64, 64));
    auto* name =
        new QLabel(QStringLiteral("TORVA DIESEL  ") + QString::fromLatin1(kProgramVersion), this);
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    auto* ok = new CGradientButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(name, 0, 1);
    layout->addWidget(ok, 1, 2, Qt::AlignBottom);
    layout->setColumnStretch(1, 1);
    layout->setHorizontalSpacing(16);
}

} // namespace torva
