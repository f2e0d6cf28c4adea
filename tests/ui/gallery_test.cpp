#include "ui/controls/app_visual_manager.h"
#include "ui/controls/comp_ctrl.h"
#include "ui/controls/ext_tr_list_ctrl.h"
#include "ui/controls/gradient_button.h"
#include "ui/controls/gradient_dialog.h"
#include "ui/controls/msm_caption_bar.h"
#include "ui/controls/msm_menu_bar.h"
#include "ui/controls/multi_page_ctrl.h"
#include "ui/controls/multi_page_dialog.h"
#include "ui/controls/transparent_bar_display.h"
#include "ui/controls/transparent_check_box.h"
#include "ui/controls/transparent_group_box.h"
#include "ui/controls/transparent_static.h"

#include <QDir>
#include <QGridLayout>
#include <QPainter>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace torva {
namespace {

// Draws every control the way the application uses it. The pictures are written only when
// TORVA_GALLERY_DIR names a folder, for a person to look at; otherwise the test still runs
// every paint path.
class CGalleryTest : public ::testing::Test {
protected:
    CGalleryTest() { CMSMVisualManager::install(std::make_unique<CAppVisualManager>()); }
    ~CGalleryTest() override { CMSMVisualManager::install(nullptr); }

    static void render(QWidget& widget, const QString& name) {
        widget.show();
        const QImage image = widget.grab().toImage();
        ASSERT_FALSE(image.isNull()) << name.toStdString();
        const QString folder = qEnvironmentVariable("TORVA_GALLERY_DIR");
        if (!folder.isEmpty()) {
            QDir().mkpath(folder);
            EXPECT_TRUE(image.save(folder + "/" + name + ".png")) << name.toStdString();
        }
    }
};

// A stand-in for a custom-drawn control: a framed panel with a curve.
class CSketch : public CCompCtrl {
protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillRect(rect(), Qt::white);
        painter.setPen(QColor(120, 120, 120));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        painter.setPen(QPen(QColor(160, 0, 0), 2));
        painter.drawLine(10, height() - 10, width() - 10, 10);
    }
};

TEST_F(CGalleryTest, ReadingsPage) {
    CMultiPageCtrl pane;
    pane.resize(820, 300);
    auto* readings = new CMultiPageDialog;
    auto* grid = new QGridLayout(readings);
    struct SGauge {
        const char* caption;
        const char* format;
        double maximum;
        int divisions;
        double value;
    };
    const SGauge gauges[] = {
        {"Obroty", "%i RPM", 5000, 15, 2350.4},
        {"Obroty z rozrządu", "%i RPM", 5000, 19, 0},
        {"Czas ON", "%.2f ms", 10, 19, 1.234},
        {"Map Sensor", "%.2f V", 24, 15, 12.6},
        {"Podciśnienie (reduktor)", "%.1f bar", 3, 15, 0.6},
        {"Ciśnienie (reduktor)", "%.1f bar", 3, 15, 1.3},
        {"Temperatura gazu", "%i °C", 100, 15, 42},
        {"Temperatura spalin", "%i °C", 900, 50, 1020},
    };
    int index = 0;
    for (const SGauge& gauge : gauges) {
        auto* bar = new CTransparentBarDisplay(QString::fromUtf8(gauge.caption),
                                               QString::fromUtf8(gauge.format), gauge.maximum,
                                               gauge.divisions);
        bar->setPos(gauge.value);
        grid->addWidget(bar, index / 2, index % 2);
        ++index;
    }
    auto* mode = new CTransparentStatic("DIESEL");
    QFont bold = mode->font();
    bold.setBold(true);
    bold.setPointSize(14);
    mode->setFont(bold);
    grid->addWidget(mode, index / 2, 0);
    auto* buttons = new QHBoxLayout;
    auto* automatic = new CGradientButton("AUTO");
    automatic->setDefault(true);
    buttons->addWidget(automatic);
    buttons->addWidget(new CGradientButton("GAZ"));
    buttons->addWidget(new CGradientButton("DIESEL"));
    grid->addLayout(buttons, index / 2, 1);
    pane.insertPage("Odczyty", readings);
    pane.insertPage("Wykresy", new CMultiPageDialog);
    render(pane, "readings_page");
}

TEST_F(CGalleryTest, DeviceDataPage) {
    CMultiPageCtrl pages;
    pages.resize(820, 420);
    pages.insertPage("Ustawienia", new CMultiPageDialog);
    pages.insertPage("Mapa Map Sensor", new CMultiPageDialog);
    pages.insertPage("Zabezpieczenia", new CMultiPageDialog);
    auto* device = new CMultiPageDialog;
    pages.insertPage("Dane ECU", device);
    pages.activatePage(3);

    auto* layout = new QHBoxLayout(device);
    auto* left = new QVBoxLayout;
    auto* version = new CTransparentGroupBox("Wersja sterownika");
    auto* versionGrid = new QGridLayout(version);
    versionGrid->addWidget(new CTransparentStatic("Wersja"), 0, 0);
    versionGrid->addWidget(new CTransparentStatic("KARMEL A2  v 1.47.5"), 0, 1);
    versionGrid->addWidget(new CTransparentStatic("Ilość wtryskiwaczy"), 1, 0);
    versionGrid->addWidget(new CTransparentStatic("2 x 4"), 1, 1);
    left->addWidget(version);
    auto* lock = new CTransparentCheckBox("Zablokuj zmiany (żółć, gęś)");
    lock->setChecked(true);
    left->addWidget(lock);
    auto* sketch = new QLabel;
    sketch->setObjectName("sketchPlaceholder");
    sketch->setMinimumHeight(90);
    left->addWidget(sketch);
    layout->addLayout(left, 1);
    (new CSketch)->CreateFromStatic("sketchPlaceholder", device);

    auto* faults = new CTransparentGroupBox("Kody błędów");
    auto* faultLayout = new QVBoxLayout(faults);
    auto* list = new CExtTrListCtrl;
    list->InsertColumn(0, "Nr", 50);
    list->InsertColumn(1, "Opis", 2000);
    list->SetTextColor(QColor(150, 0, 0));
    list->SetGridColor(QColor(50, 185, 68));
    list->SetSelTextBkColor(QColor(50, 185, 68));
    const char* texts[] = {"Czujnik ciśnienia gazu: zwarcie do masy",
                           "Wtryskiwacz 3: przerwa w obwodzie", "Zbyt niskie napięcie zasilania"};
    for (int i = 0; i < 3; ++i) {
        list->InsertItem(i, QString::number(i + 1));
        list->SetItemText(i, 1, QString::fromUtf8(texts[i]));
    }
    list->selectRow(1);
    faultLayout->addWidget(list);
    auto* faultButtons = new QHBoxLayout;
    faultButtons->addWidget(new CGradientButton("Wczytaj z urządzenia"));
    faultButtons->addWidget(new CGradientButton("Kasuj błędy"));
    faultLayout->addLayout(faultButtons);
    layout->addWidget(faults, 2);
    render(pages, "device_data_page");
}

TEST_F(CGalleryTest, MainWindowTop) {
    QWidget top;
    auto* layout = new QVBoxLayout(&top);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* caption = new CMSMCaptionBar;
    caption->setCaptionText(
        QString::fromUtf8("TORVA  KT1  v 1.44   firmware: v 1.47     BRAK POŁĄCZENIA DEMO"));
    QFont font = caption->captionFont();
    font.setBold(true);
    font.setPixelSize(17);
    caption->setCaptionFont(font);
    layout->addWidget(caption);
    auto* menu = new CMSMMenuBar;
    for (const char* title : {"Plik", "Ustawienia", "Język", "Informacje"}) {
        menu->addMenu(QString::fromUtf8(title))->addAction("Wyjście");
    }
    layout->addWidget(menu);
    layout->addStretch(1);
    top.resize(820, 90);
    render(top, "caption_and_menu");
}

TEST_F(CGalleryTest, GradientDialog) {
    CGradientDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new CTransparentStatic("Kalibracja TPS: wciśnij pedał gazu do oporu."));
    auto* buttons = new QHBoxLayout;
    auto* ok = new CGradientButton("Dalej");
    ok->setDefault(true);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    auto* cancel = new CGradientButton("Anuluj");
    cancel->setEnabled(false);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    dialog.resize(420, 130);
    render(dialog, "gradient_dialog");
}

} // namespace
} // namespace torva
