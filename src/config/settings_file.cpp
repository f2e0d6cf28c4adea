#include "config/settings_file.h"

#include "config/settings_number.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace torva {

namespace {

constexpr const char* kLineEnd = "\r\n";

bool isLineEnd(char c) {
    return c == '\n' || c == '\r';
}

// Splits a byte stream into lines and records the first line of every wanted key.
class CFirstLineIndexer {
public:
    using Index = std::unordered_map<std::string, std::optional<std::string>>;

    CFirstLineIndexer(Index& index, const CSettingsFile::KeyFilter& keysOfInterest)
        : m_index(index), m_keysOfInterest(keysOfInterest) {}

    void feed(const char* data, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i) {
            const char c = data[i];
            if (isLineEnd(c))
                endLine();
            else if (m_line.size() < CSettingsFile::kMaxLineLength)
                m_line.push_back(c);
            else
                m_overlong = true;
        }
    }

    void finish() { endLine(); }

private:
    void endLine() {
        const std::size_t tab = m_line.find('\t');
        if (tab != std::string::npos) {
            std::string key = m_line.substr(0, tab);
            if (!m_keysOfInterest || m_keysOfInterest(key)) {
                std::optional<std::string> value;
                if (!m_overlong && tab + 1 < m_line.size())
                    value = m_line.substr(tab + 1);
                m_index.try_emplace(std::move(key), std::move(value));
            }
        }
        m_line.clear();
        m_overlong = false;
    }

    Index& m_index;
    const CSettingsFile::KeyFilter& m_keysOfInterest;
    std::string m_line;
    bool m_overlong = false;
};

std::string withoutLineEnds(std::string text) {
    for (char& c : text) {
        if (isLineEnd(c))
            c = ' ';
    }
    return text;
}

// The replacement keeps the permissions of the file it replaces; a new file gets rw-r--r--.
mode_t permissionsFor(const std::string& target) {
    struct stat status {};
    if (::stat(target.c_str(), &status) == 0 && S_ISREG(status.st_mode))
        return status.st_mode & 0777;
    return S_IRUSR | S_IWUSR | S_IRGRP | S_IROTH;
}

} // namespace

CSettingsFile::~CSettingsFile() {
    close();
}

bool CSettingsFile::create(const std::string& path) {
    close();
    std::string pattern = path + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0)
        return false;
    m_temporaryPath = name.data();
    ::fchmod(fd, permissionsFor(path));
    m_file = ::fdopen(fd, "wb");
    if (!m_file) {
        ::close(fd);
        close();
        return false;
    }
    m_path = path;
    m_writeFailed = false;
    return true;
}

bool CSettingsFile::writeText(const std::string& key, const std::string& value) {
    if (!m_file)
        return false;
    const std::string line = key + '\t' + withoutLineEnds(value) + kLineEnd;
    if (std::fwrite(line.data(), 1, line.size(), m_file) != line.size()) {
        m_writeFailed = true;
        return false;
    }
    return true;
}

bool CSettingsFile::writeNumber(const std::string& key, double value) {
    return writeText(key, formatSettingsNumber(value));
}

bool CSettingsFile::writeInteger(const std::string& key, std::int64_t value) {
    return writeText(key, formatSettingsInteger(value));
}

bool CSettingsFile::commit() {
    if (!m_file)
        return false;
    bool written = !m_writeFailed && std::fflush(m_file) == 0 && ::fsync(::fileno(m_file)) == 0;
    written = std::fclose(m_file) == 0 && written;
    m_file = nullptr;
    if (written && std::rename(m_temporaryPath.c_str(), m_path.c_str()) == 0) {
        m_temporaryPath.clear();
        return true;
    }
    close();
    return false;
}

bool CSettingsFile::open(const std::string& path, const KeyFilter& keysOfInterest) {
    close();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    CFirstLineIndexer indexer(m_firstLines, keysOfInterest);
    std::vector<char> buffer(64 * 1024);
    std::size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), file)) > 0)
        indexer.feed(buffer.data(), got);
    indexer.finish();
    const bool readWhole = std::ferror(file) == 0;
    std::fclose(file);
    if (!readWhole) {
        close();
        return false;
    }
    m_path = path;
    return true;
}

std::optional<std::string> CSettingsFile::find(const std::string& key) const {
    const auto line = m_firstLines.find(key);
    if (line == m_firstLines.end())
        return std::nullopt;
    return line->second;
}

std::optional<double> CSettingsFile::findNumber(const std::string& key) const {
    const std::optional<std::string> text = find(key);
    if (!text)
        return std::nullopt;
    return parseSettingsNumber(*text);
}

void CSettingsFile::close() {
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    if (!m_temporaryPath.empty()) {
        std::remove(m_temporaryPath.c_str());
        m_temporaryPath.clear();
    }
    m_firstLines.clear();
    m_path.clear();
    m_writeFailed = false;
}

} // namespace torva
