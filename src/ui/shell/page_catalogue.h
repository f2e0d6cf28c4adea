#pragma once

#include "ui/shell/page_list.h"

#include <functional>
#include <map>

namespace torva {

class CMultiPageDialog;
class CVeko2012Doc;

// Builds one page for the document; the page control takes ownership.
using PageFactory = std::function<CMultiPageDialog*(CVeko2012Doc&)>;

// The pages this program has. A page of the configuration's list without a factory is left
// out, so the page control shows only pages that exist.
struct SPageCatalogue {
    std::map<EPage, PageFactory> mainPages;
    PageFactory readingsPage; // "Odczyty"
    PageFactory chartsPage;   // "Wykresy"
};

SPageCatalogue pageCatalogue();

} // namespace torva
