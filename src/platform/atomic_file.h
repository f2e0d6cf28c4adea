#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace torva {

// An output file written whole or not at all: the text goes into a temporary file in the
// target's folder and commit() renames it over the target, so a failed, abandoned or killed write
// leaves an existing file as it was. Only regular files are written: a FIFO, a device or a folder
// at the path is refused rather than replaced, and a symbolic link is followed, so its target
// gets the new text and the link stays a link.
class CAtomicFile {
public:
    CAtomicFile() = default;
    ~CAtomicFile();
    CAtomicFile(const CAtomicFile&) = delete;
    CAtomicFile& operator=(const CAtomicFile&) = delete;

    // False, with failure() saying why, when the target is no regular file or the temporary file
    // cannot be created.
    bool create(const std::string& path);
    // False once any write failed; later writes are dropped and commit() fails.
    bool write(const char* data, std::size_t size);
    bool write(const std::string& text) { return write(text.data(), text.size()); }
    // Puts the written file in place of the target. False, with the target untouched, when any
    // write, the flush or the rename failed.
    bool commit();
    // Drops an uncommitted file.
    void abandon();

    // The file that commit() replaces: the path given, or the end of its chain of links.
    const std::string& target() const { return m_target; }
    // The system's reason for the last failure, or "not a regular file".
    const std::string& failure() const { return m_failure; }

private:
    bool fail(int error);

    std::FILE* m_file = nullptr;
    std::string m_target;
    std::string m_temporaryPath;
    std::string m_failure;
    bool m_writeFailed = false;
};

// Where a write to path lands: path itself, or the file at the end of its symbolic links.
std::string resolvedOutputPath(const std::string& path);

// Whether two paths name the same existing file (links followed).
bool isSameFile(const std::string& first, const std::string& second);

} // namespace torva
