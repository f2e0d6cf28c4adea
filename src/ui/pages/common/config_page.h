#pragma once

#include "ui/controls/multi_page_dialog.h"

#include <QPointer>

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <vector>

namespace torva {

class CLPGDevice;

// The life of a page that edits the live configuration, as the main view drives it:
// - fillFromConfig: every control shows the record again. The view calls it when it has built
//   the page (the Create command: at start-up, after a settings file or factory settings were
//   written, and whenever a page asked for the pages to be built again); the page itself also
//   fills when it is shown.
// - connectionChanged: the controller came or went (also right after the page was built).
// A page whose edit decides which pages exist, or what the others show, asks for a rebuild
// with CVeko2012Doc::refreshPages(): the window posts Create, then InitLang, and runs them
// after the handler has returned, never inside it.
class IConfigPage {
public:
    virtual ~IConfigPage() = default;
    virtual void fillFromConfig() = 0;
    virtual void connectionChanged(bool connected) = 0;
};

// The base of the editing pages: fills on show, and while no controller is connected keeps
// the page's editing area disabled (an edit is written at once; made without a controller it
// would only be undone by the next read) and so are the controls that only act through the
// controller; those that need a live one (markLiveOnly) stay disabled while a settings file
// stands in for it.
class CConfigPage : public CMultiPageDialog, public IConfigPage {
public:
    explicit CConfigPage(CLPGDevice& device, QWidget* parent = nullptr);

    // Enables or disables the editing area and the controls registered with needsController.
    void connectionChanged(bool connected) override;

    // The one rule for every editing page: whether edits of the record may be made now.
    static bool editingAllowed(bool connected) { return connected; }

protected:
    CLPGDevice& device() const { return m_device; }
    // Controls whose action needs the controller (check boxes, combos, buttons that write).
    void needsController(std::initializer_list<QWidget*> controls);
    // The widget that holds every control that edits the record, map grids and their tools
    // included: the page itself unless a page names a narrower one (the content of its scroll
    // area, so it still scrolls), or nullptr when the page edits nothing. Controls a page
    // disables for reasons of its own stay disabled when the area comes back.
    void setEditingArea(QWidget* area) { m_editingArea = area; }
    // A control whose field lives in a block the controller's firmware lacks: disabled whatever
    // the connection, its tool tip naming the firmware it needs (neededFirmware, e.g. 0x10A).
    // std::nullopt lifts the gate.
    void gateByFirmware(QWidget* control, std::optional<std::int32_t> neededFirmware);
    // Fills the page; a page that overrides it calls it.
    void onActivate() override;

private:
    bool controllerControl(const QWidget* control) const;
    static bool gated(const QWidget* control);

    CLPGDevice& m_device;
    QPointer<QWidget> m_editingArea;
    std::vector<QPointer<QWidget>> m_controllerControls;
};

// "Wymaga oprogramowania sterownika v 1.10 lub nowszego.", translated, for firmware version.
QString firmwareNeededText(std::int32_t version);

// Runs fillFromConfig and connectionChanged on page when it is an editing page.
void fillConfigPage(QWidget* page, bool connected);
// Tells page of a connection change when it is an editing page.
void tellConnectionChanged(QWidget* page, bool connected);

} // namespace torva
