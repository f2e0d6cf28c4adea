#include "ui/shell/page_catalogue.h"

#include "ui/pages/charts/scope_dlg.h"
#include "ui/pages/devdata/dev_data_dlg.h"
#include "ui/pages/egt/egt_dlg.h"
#include "ui/pages/readings/readings_dlg.h"
#include "ui/pages/settings/settings_dlg.h"
#include "ui/shell/veko_doc.h"

namespace torva {

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
    return catalogue;
}

} // namespace torva
