#pragma once

#include <cstddef>
#include <string>

namespace torva {

// Files that come from outside are read only when they are regular files: a folder, a FIFO
// without a writer or a device such as /dev/zero would otherwise hang the reader or fill its
// memory. None of these checks waits for the file.

enum class EFileReadFault {
    None,
    CannotOpen, // error holds the reason
    NotRegular, // a folder, FIFO, socket or device
    TooLarge,   // more bytes than the reader takes
    ReadFailed, // error holds the reason
};

struct SFileRead {
    EFileReadFault fault = EFileReadFault::None;
    int error = 0;
    std::string contents;
    explicit operator bool() const { return fault == EFileReadFault::None; }
};

// The whole file when it is a regular file of at most maxBytes; a larger one is refused before
// any of it is read.
SFileRead readRegularFile(const std::string& path, std::size_t maxBytes);

// An open descriptor (close it) on path when it is a regular file, or -1 with fault and error
// set. For readers that stream a long file.
int openRegularFile(const std::string& path, EFileReadFault& fault, int& error);

// Whether path, symbolic links followed, names a regular file. Does not open it.
bool isRegularFile(const std::string& path);

// "not a regular file", "larger than 4 MB", the system's reason: for logs and the command line.
std::string describeFileReadFault(EFileReadFault fault, int error, std::size_t maxBytes = 0);

} // namespace torva
