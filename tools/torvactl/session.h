#pragma once

#include "cli_user_interface.h"
#include "document/veko2012_doc.h"
#include "exit_status.h"

#include <memory>
#include <optional>
#include <string>

namespace torva::cli {

// The global options, as every command sees them.
struct SGlobalOptions {
    std::string port;
    bool demo = false;
    std::string file; // a settings file standing in for the controller
    bool json = false;
    std::optional<int> language;
    bool yes = false;
    bool verbose = false;
};

// One run of the tool: the options, the terminal's user interface and, once a command asks for
// it, the document with its controller link.
class CSession {
public:
    CSession();
    ~CSession();
    CSession(const CSession&) = delete;
    CSession& operator=(const CSession&) = delete;

    SGlobalOptions& options() { return m_options; }
    CCliUserInterface& ui() { return m_ui; }

    // After the arguments are parsed: installs the user interface and the language.
    void prepare();

    // The document, connected to the controller (identification and the whole configuration
    // read), in demo mode, or offline on the --file; exit 3 when no controller answers, 1 when
    // the file is refused.
    CVeko2012Doc& connect();
    CLPGDevice& device() { return connect().device(); }
    // Where the controller was found ("demo" in demo mode).
    const std::string& portDescription() const { return m_portDescription; }

    // Reads one live sample into the device's store, as the polling would have, for the
    // operations that consult the newest sample; false when none arrived.
    bool readOneLiveSample();

    // After a command that ran to its end: the --file is written again when the command edited
    // it (in one piece), and left as it was otherwise.
    void saveOfflineEdits();

    // After a document command: a question declined for want of --yes is a usage error, an
    // error message the core showed is a refusal.
    void failOnDeclinedOrShownError();
    // Fails with the latest error message the core showed, or with fallback when it showed none.
    [[noreturn]] void failWithShownError(EExit status, const std::string& fallback);

private:
    void openFile();
    bool connectOnPort(CLPGDevice& device);
    bool searchForController(CLPGDevice& device);

    SGlobalOptions m_options;
    CCliUserInterface m_ui;
    std::unique_ptr<CVeko2012Doc> m_doc;
    std::string m_portDescription;
};

} // namespace torva::cli
