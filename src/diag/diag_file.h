#pragma once

#include "diag/diag_sample.h"

#include <cstdio>
#include <string>

namespace torva {

class CDeviceConfig;

// Diagnostic recordings: plain text, one line per stored sample, 28 tab-separated converted
// values. Lines end in LF alone; readers accept any whitespace, CR LF included.

// True when the last four characters of name are exactly "oscd" (lower case): only such names
// are recorded to or opened as recordings.
bool hasRecordingExtension(const std::string& name);

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

    // Creates or truncates fileName. False, with no file open and the name empty, when it
    // cannot be created; a name that ends in a path separator (such as "\") names a folder and
    // is never opened.
    bool open(const std::string& fileName);
    bool isOpen() const { return m_file != nullptr; }
    const std::string& fileName() const { return m_fileName; }
    // Writes the sample's line; write errors are ignored (the recording is best effort).
    void appendLine(const DiagSample& sample, const CDeviceConfig& config);
    // Closes the file and forgets its name.
    void close();

private:
    std::FILE* m_file = nullptr;
    std::string m_fileName;
};

} // namespace torva
