#include "platform/atomic_file.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace torva {

namespace {

// As many links as the system itself follows before it gives up with ELOOP.
constexpr int kMaxLinkHops = 40;

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The replacement keeps the permissions of the file it replaces; a new file gets rw-r--r--.
mode_t permissionsFor(const std::string& target) {
    struct stat status {};
    if (::stat(target.c_str(), &status) == 0 && S_ISREG(status.st_mode))
        return status.st_mode & 0777;
    return S_IRUSR | S_IWUSR | S_IRGRP | S_IROTH;
}

} // namespace

std::string resolvedOutputPath(const std::string& path) {
    std::string current = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat status {};
        if (::lstat(current.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
            return current;
        std::vector<char> link(PATH_MAX + 1);
        const ssize_t length = ::readlink(current.c_str(), link.data(), PATH_MAX);
        if (length <= 0)
            return current;
        const std::string target(link.data(), static_cast<std::size_t>(length));
        current = target.front() == '/' ? target : folderOf(current) + target;
    }
    return current;
}

bool isSameFile(const std::string& first, const std::string& second) {
    struct stat a {};
    struct stat b {};
    return ::stat(first.c_str(), &a) == 0 && ::stat(second.c_str(), &b) == 0 &&
           a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

CAtomicFile::~CAtomicFile() {
    abandon();
}

bool CAtomicFile::fail(int error) {
    m_failure = std::strerror(error != 0 ? error : EIO);
    return false;
}

bool CAtomicFile::create(const std::string& path) {
    abandon();
    m_failure.clear();
    m_target = resolvedOutputPath(path);
    struct stat status {};
    if (::stat(m_target.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
        m_failure = "not a regular file";
        return false;
    }
    std::string pattern = m_target + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0)
        return fail(errno);
    m_temporaryPath = name.data();
    ::fchmod(fd, permissionsFor(m_target));
    m_file = ::fdopen(fd, "wb");
    if (!m_file) {
        const int error = errno;
        ::close(fd);
        abandon();
        return fail(error);
    }
    m_writeFailed = false;
    return true;
}

bool CAtomicFile::write(const char* data, std::size_t size) {
    if (!m_file || m_writeFailed)
        return false;
    if (std::fwrite(data, 1, size, m_file) != size) {
        m_writeFailed = true;
        fail(errno);
        return false;
    }
    return true;
}

bool CAtomicFile::commit() {
    if (!m_file)
        return false;
    bool written = !m_writeFailed;
    if (written && (std::fflush(m_file) != 0 || ::fsync(::fileno(m_file)) != 0))
        written = fail(errno);
    if (std::fclose(m_file) != 0 && written)
        written = fail(errno);
    m_file = nullptr;
    if (written && std::rename(m_temporaryPath.c_str(), m_target.c_str()) != 0)
        written = fail(errno);
    if (written) {
        m_temporaryPath.clear();
        return true;
    }
    abandon();
    return false;
}

void CAtomicFile::abandon() {
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    if (!m_temporaryPath.empty()) {
        std::remove(m_temporaryPath.c_str());
        m_temporaryPath.clear();
    }
    m_writeFailed = false;
}

} // namespace torva
