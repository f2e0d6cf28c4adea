#include "platform/regular_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace torva {

int openRegularFile(const std::string& path, EFileReadFault& fault, int& error) {
    fault = EFileReadFault::None;
    error = 0;
    // Without O_NONBLOCK, opening a FIFO waits for a writer that may never come.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        fault = EFileReadFault::CannotOpen;
        error = errno;
        return -1;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        fault = EFileReadFault::NotRegular;
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

SFileRead readRegularFile(const std::string& path, std::size_t maxBytes) {
    SFileRead read;
    const int fd = openRegularFile(path, read.fault, read.error);
    if (fd < 0)
        return read;
    struct stat status {};
    if (::fstat(fd, &status) == 0 && static_cast<std::size_t>(status.st_size) > maxBytes) {
        ::close(fd);
        read.fault = EFileReadFault::TooLarge;
        return read;
    }
    read.contents.resize(static_cast<std::size_t>(status.st_size));
    std::size_t got = 0;
    // The file may grow while it is read: one byte past the limit is enough to tell.
    while (true) {
        if (got == read.contents.size()) {
            if (got > maxBytes) {
                read.fault = EFileReadFault::TooLarge;
                break;
            }
            read.contents.resize(std::min(maxBytes + 1, got + 64 * 1024));
        }
        const ssize_t n = ::read(fd, read.contents.data() + got, read.contents.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            read.fault = EFileReadFault::ReadFailed;
            read.error = errno;
            break;
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (read.fault != EFileReadFault::None)
        read.contents.clear();
    else
        read.contents.resize(got);
    return read;
}

bool isRegularFile(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

std::string describeFileReadFault(EFileReadFault fault, int error, std::size_t maxBytes) {
    switch (fault) {
    case EFileReadFault::None:
        break;
    case EFileReadFault::CannotOpen:
    case EFileReadFault::ReadFailed:
        return std::strerror(error != 0 ? error : EIO);
    case EFileReadFault::NotRegular:
        return "not a regular file";
    case EFileReadFault::TooLarge:
        return "larger than " + std::to_string(maxBytes / (1024 * 1024)) + " MB";
    }
    return {};
}

} // namespace torva
