#include "link/port_problem.h"

#include "lang/source_text.h"
#include "lang/translation.h"
#include "link/port_names.h"
#include "link/rs_error.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>

namespace torva {

namespace fs = std::filesystem;

namespace {

// The translated text with each "%s" replaced by the next value.
std::string fillIn(const char* sourceText, std::initializer_list<std::string> values) {
    std::string text = translate(sourceText);
    std::size_t from = 0;
    for (const std::string& value : values) {
        const std::size_t at = text.find("%s", from);
        if (at == std::string::npos)
            break;
        text.replace(at, 2, value);
        from = at + value.size();
    }
    return text;
}

std::string joined(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items)
        text += (text.empty() ? "" : ", ") + item;
    return text;
}

bool isAllDigits(const std::string& name) {
    return !name.empty() &&
           std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string programName(const std::string& pid) {
    std::ifstream comm("/proc/" + pid + "/comm");
    std::string name;
    std::getline(comm, name);
    return name.empty() ? "?" : name;
}

std::vector<std::string> presentPortPaths() {
    std::vector<std::string> paths;
    for (const int port : presentPorts())
        paths.push_back(devicePathForPort(port));
    return paths;
}

std::string userName(uid_t uid) {
    if (const passwd* entry = ::getpwuid(uid))
        return entry->pw_name;
    return std::to_string(uid);
}

// Whether the user is listed in the group (or has it as primary group) although this process
// does not carry it: the group was given after the login.
bool memberSinceLastLogin(const std::string& user, gid_t groupId) {
    const struct group* entry = ::getgrgid(groupId);
    const passwd* account = ::getpwnam(user.c_str());
    bool listed = account != nullptr && account->pw_gid == groupId;
    for (char** member = entry != nullptr ? entry->gr_mem : nullptr; member && *member; ++member)
        listed = listed || user == *member;
    if (!listed)
        return false;
    if (::getegid() == groupId)
        return false;
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(::getgroups(0, nullptr), 0)));
    const int count = ::getgroups(static_cast<int>(groups.size()), groups.data());
    groups.resize(static_cast<std::size_t>(std::max(count, 0)));
    return std::find(groups.begin(), groups.end(), groupId) == groups.end();
}

} // namespace

std::vector<std::string> programsHolding(const std::string& path) {
    struct stat device {};
    if (::stat(path.c_str(), &device) != 0 || !S_ISCHR(device.st_mode))
        return {};
    // Processes come and go while we look: every step takes its error instead of throwing.
    std::vector<std::string> holders;
    std::error_code ec;
    for (fs::directory_iterator process("/proc", ec), end; !ec && process != end;
         process.increment(ec)) {
        const std::string pid = process->path().filename().string();
        if (!isAllDigits(pid))
            continue;
        std::error_code fdError;
        for (fs::directory_iterator fd(process->path() / "fd", fdError); !fdError && fd != end;
             fd.increment(fdError)) {
            struct stat opened {};
            if (::stat(fd->path().c_str(), &opened) == 0 && S_ISCHR(opened.st_mode) &&
                opened.st_rdev == device.st_rdev) {
                holders.push_back(programName(pid) + " (pid " + pid + ")");
                break;
            }
        }
    }
    return holders;
}

SPortProblem diagnosePortProblem(const std::string& path, int systemError, std::string technical) {
    SPortProblem problem;
    problem.path = path;
    problem.technical = std::move(technical);
    if (path.empty())
        return problem;
    struct stat device {};
    const bool exists = ::stat(path.c_str(), &device) == 0;
    if (!exists && errno == ENOENT) {
        problem.kind = EPortProblem::Vanished;
        problem.presentPorts = presentPortPaths();
        return problem;
    }
    switch (systemError) {
    case EBUSY:
    case EWOULDBLOCK:
        problem.kind = EPortProblem::Busy;
        problem.holders = programsHolding(path);
        break;
    case EACCES:
    case EPERM:
        problem.kind = EPortProblem::NoPermission;
        problem.user = userName(::geteuid());
        if (exists) {
            const struct group* owner = ::getgrgid(device.st_gid);
            problem.group = owner != nullptr ? owner->gr_name : std::to_string(device.st_gid);
            problem.memberNotYetActive = memberSinceLastLogin(problem.user, device.st_gid);
        } else {
            problem.group = "dialout";
        }
        break;
    default:
        break;
    }
    return problem;
}

SPortProblem diagnosePortProblem(const IError& error, const std::string& fallbackPath) {
    const auto* portError = dynamic_cast<const CRSError*>(&error);
    if (portError == nullptr || portError->systemError() == 0) {
        SPortProblem problem;
        problem.path = fallbackPath;
        problem.technical = error.formattedText();
        return problem;
    }
    const std::string& path =
        portError->devicePath().empty() ? fallbackPath : portError->devicePath();
    const int systemError = portError->systemError();
    std::string technical = (path.empty() ? "" : path + ": ") + std::strerror(systemError) + " (" +
                            error.detail() + ")";
    return diagnosePortProblem(path, systemError, std::move(technical));
}

std::string portProblemText(const SPortProblem& problem) {
    std::string text;
    const auto line = [&text](const std::string& sentence) { text += sentence + "\n"; };
    switch (problem.kind) {
    case EPortProblem::Other:
        return {};
    case EPortProblem::Busy:
        line(fillIn(PL("Port %s jest zajęty: używa go inny program."), {problem.path}));
        if (!problem.holders.empty())
            line(fillIn(PL("Używa go: %s."), {joined(problem.holders)}));
        line(translate(PL("Zamknij ten program (albo drugie okno tej aplikacji) i spróbuj "
                          "ponownie.")));
        break;
    case EPortProblem::NoPermission:
        line(fillIn(PL("Brak uprawnień do portu %s."), {problem.path}));
        if (problem.memberNotYetActive) {
            line(fillIn(PL("Użytkownik %s jest już w grupie %s, ale ta sesja jeszcze o tym nie "
                           "wie: wyloguj się i zaloguj ponownie (albo uruchom komputer ponownie)."),
                        {problem.user, problem.group}));
        } else {
            line(fillIn(PL("Użytkownik %s musi należeć do grupy %s. Wpisz w terminalu:"),
                        {problem.user, problem.group}));
            line("    sudo usermod -aG " + problem.group + " " + problem.user);
            line(translate(PL("Potem wyloguj się i zaloguj ponownie: nowa grupa działa dopiero "
                              "po nowym zalogowaniu.")));
        }
        break;
    case EPortProblem::Vanished:
        line(fillIn(PL("Port %s zniknął: przejściówkę USB odłączono (albo symulator został "
                       "zamknięty)."),
                    {problem.path}));
        if (problem.presentPorts.empty())
            line(translate(PL("Nie ma teraz żadnego portu szeregowego.")));
        else
            line(fillIn(PL("Porty obecne teraz: %s"), {joined(problem.presentPorts)}));
        line(translate(PL("Podłącz przejściówkę ponownie i spróbuj jeszcze raz.")));
        break;
    }
    return text + problem.technical;
}

} // namespace torva
