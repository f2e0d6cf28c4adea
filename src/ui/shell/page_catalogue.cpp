#include "ui/shell/page_catalogue.h"

#include "ui/pages/calibration/calibration_pages.h"
#include "ui/pages/charts/scope_dlg.h"
#include "ui/pages/devdata/dev_data_dlg.h"
#include "ui/pages/egt/egt_dlg.h"
#include "ui/pages/readings/readings_dlg.h"
#include "ui/pages/settings/settings_dlg.h"
#include "ui/shell/veko_doc.h"

namespace torva {

namespace {

// The five calibration pages, one per emulator channel.
void addCalibrationPages(SPageCatalogue& catalogue) {
    catalogue.mainPages[EPage::MapSensor] = [](CVeko2012Doc& doc) -> CMultiPageDialog* {
        return new CCalibration1(doc.device());
    };
    catalogue.mainPages[EPage::MapMafTempomat] = [](CVeko2012Doc& doc) -> CMultiPageDialog* {
        return new CCalibration2(doc.device());
    };
    catalogue.mainPages[EPage::MapTps1] = [](CVeko2012Doc& doc) -> CMultiPageDialog* {
        return new CCalibration3(doc.device());
    };
    catalogue.mainPages[EPage::MapTps2] = [](CVeko2012Doc& doc) -> CMultiPageDialog* {
        return new CCalibration4(doc.device());
    };
    catalogue.mainPages[EPage::MapTpsDigital] = [](CVeko2012Doc& doc) -> CMultiPageDialog* {
        return new CCalibrationTPSDigital(doc.device());
    };
}

} // namespace

SPageCatalogue pageCatalogue() {
    SPageCatalogue catalogue;
    // An editing page is added by giving its EPage a factory in catalogue.mainPages; the main
    // view then builds it whenever the configuration's page list names it.
    catalogue.mainPages[EPage::Settings] = [](CVeko2012Doc& doc) -> CMultiPageDialog* {
        return new CSettingsDlg(doc);
    };
    catalogue.mainPages[EPage::Protection] = [](CVeko2012Doc& doc) -> CMultiPageDialog* {
        return new CEGTDlg(doc.device());
    };
    catalogue.mainPages[EPage::DeviceData] = [](CVeko2012Doc& doc) -> CMultiPageDialog* {
        return new CDevDataDlg(doc.device(), doc.errorDecoders());
    };
    catalogue.readingsPage = [](CVeko2012Doc& doc) -> CMultiPageDialog* {
        return new CReadingsDlg(doc.device(), doc.errorDecoders());
    };
    catalogue.chartsPage = [](CVeko2012Doc& doc) -> CMultiPageDialog* {
        return new CScopeDLg(doc.device(), doc.polling());
    };
    addCalibrationPages(catalogue);
    return catalogue;
}

} // namespace torva
