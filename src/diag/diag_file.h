#pragma once

#include "link/diag_sample.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace torva {

class CDeviceConfig;

// Diagnostic recordings: plain text, one line per stored sample, 28 tab-separated converted
// values. Lines end in LF alone; readers accept any whitespace, CR LF included.

// True when the last four characters of name are "oscd" in any case: only such names are opened
// as recordings.
bool hasRecordingExtension(const std::string& name);
// The name a recording is written to: name itself when it has the extension, else name with
// ".oscd" added, so no name the user gave is silently left unrecorded.
std::string withRecordingExtension(const std::string& name);

// True for a name that ends in a path separator (such as "\", the name polling starts with at
// start-up) or is empty: it names a folder, never a recording.
bool namesFolder(const std::string& name);

// The recording line of a sample with the configuration in force, "\n" included. Numbers are
// written with "." whatever the process locale.
std::string formatDiagLine(const DiagSample& sample, const CDeviceConfig& config);

// The recording side: the open file (or none) and its name (empty when none is open).
class CDiagFile {
public:
    CDiagFile() = default;
    ~CDiagFile();
    CDiagFile(const CDiagFile&) = delete;
    CDiagFile& operator=(const CDiagFile&) = delete;

    enum class EOpen {
        Replace, // a new recording: an existing file is emptied
        Append,  // the same recording going on after a pause (a lost link)
    };
    // Opens fileName, creating it when missing. False, with no file open and the name empty,
    // when it cannot be opened; a name that ends in a path separator (such as "\") names a
    // folder and is never opened.
    bool open(const std::string& fileName, EOpen mode = EOpen::Replace);
    bool isOpen() const { return m_file != nullptr; }
    const std::string& fileName() const { return m_fileName; }
    // Lines reach the disk at least this often while samples keep coming, so a crash or a
    // pulled plug loses at most about a second of a recording.
    static constexpr int kFlushIntervalMs = 1000;

    // Writes the sample's line; write errors are ignored (the recording is best effort).
    void appendLine(const DiagSample& sample, const CDeviceConfig& config);
    // Closes the file and forgets its name.
    void close();

private:
    std::FILE* m_file = nullptr;
    std::string m_fileName;
    std::int64_t m_lastFlushMs = 0;
};

} // namespace torva
