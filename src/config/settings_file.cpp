#include "config/settings_file.h"

#include "config/printable_text.h"
#include "config/settings_number.h"

namespace torva {

namespace {

constexpr const char* kLineEnd = "\r\n";

bool isLineEnd(char c) {
    return c == '\n' || c == '\r';
}

// Splits a byte stream into lines and records the first line of every wanted key.
class CFirstLineIndexer {
public:
    using Index = std::unordered_map<std::string, CSettingsFile::SFirstLine>;

    CFirstLineIndexer(Index& index, const CSettingsFile::KeyFilter& keysOfInterest)
        : m_index(index), m_keysOfInterest(keysOfInterest) {}

    void feed(const char* data, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i) {
            const char c = data[i];
            // CR LF ends one line, not two.
            if (c == '\n' && m_afterCr) {
                m_afterCr = false;
                continue;
            }
            m_afterCr = c == '\r';
            if (isLineEnd(c))
                endLine();
            else if (m_line.size() < CSettingsFile::kMaxLineLength)
                m_line.push_back(c);
            else
                m_overlong = true;
        }
    }

    void finish() {
        if (!m_line.empty() || m_overlong)
            endLine();
    }

private:
    void endLine() {
        ++m_number;
        const std::size_t tab = m_line.find('\t');
        if (tab != std::string::npos) {
            std::string key = m_line.substr(0, tab);
            if (!m_keysOfInterest || m_keysOfInterest(key)) {
                CSettingsFile::SFirstLine first;
                if (!m_overlong && tab + 1 < m_line.size())
                    first.value = m_line.substr(tab + 1);
                first.number = m_number;
                first.overlong = m_overlong;
                m_index.try_emplace(std::move(key), std::move(first));
            }
        }
        m_line.clear();
        m_overlong = false;
    }

    Index& m_index;
    const CSettingsFile::KeyFilter& m_keysOfInterest;
    std::string m_line;
    std::size_t m_number = 0;
    bool m_overlong = false;
    bool m_afterCr = false;
};

// Line ends inside a value become spaces, other control characters "\xHH": a value never starts
// a line of its own or acts on the terminal that shows the file.
std::string printableValue(const std::string& text) {
    std::string value = text;
    for (char& c : value) {
        if (isLineEnd(c))
            c = ' ';
    }
    return escapeUnprintable(value);
}

} // namespace

CSettingsFile::~CSettingsFile() {
    close();
}

bool CSettingsFile::create(const std::string& path) {
    close();
    if (!m_output.create(path))
        return false;
    m_writing = true;
    m_path = path;
    return true;
}

bool CSettingsFile::writeText(const std::string& key, const std::string& value) {
    if (!m_writing)
        return false;
    return m_output.write(key + '\t' + printableValue(value) + kLineEnd);
}

bool CSettingsFile::writeNumber(const std::string& key, double value) {
    return writeText(key, formatSettingsNumber(value));
}

bool CSettingsFile::writeInteger(const std::string& key, std::int64_t value) {
    return writeText(key, formatSettingsInteger(value));
}

bool CSettingsFile::commit() {
    if (!m_writing)
        return false;
    m_writing = false;
    const bool committed = m_output.commit();
    if (!committed)
        close();
    return committed;
}

bool CSettingsFile::open(const std::string& path, const KeyFilter& keysOfInterest) {
    close();
    const SFileRead read = readRegularFile(path, kMaxFileBytes);
    if (!read) {
        m_readFault = read.fault;
        m_readError = read.error;
        return false;
    }
    CFirstLineIndexer indexer(m_firstLines, keysOfInterest);
    indexer.feed(read.contents.data(), read.contents.size());
    indexer.finish();
    m_path = path;
    return true;
}

std::optional<std::string> CSettingsFile::find(const std::string& key) const {
    const auto line = m_firstLines.find(key);
    if (line == m_firstLines.end())
        return std::nullopt;
    return line->second.value;
}

std::size_t CSettingsFile::lineOf(const std::string& key) const {
    const auto line = m_firstLines.find(key);
    return line == m_firstLines.end() ? 0 : line->second.number;
}

bool CSettingsFile::isOverlong(const std::string& key) const {
    const auto line = m_firstLines.find(key);
    return line != m_firstLines.end() && line->second.overlong;
}

std::optional<double> CSettingsFile::findNumber(const std::string& key) const {
    const std::optional<std::string> text = find(key);
    if (!text)
        return std::nullopt;
    return parseSettingsNumber(*text);
}

void CSettingsFile::close() {
    m_output.abandon();
    m_writing = false;
    m_firstLines.clear();
    m_path.clear();
    m_readFault = EFileReadFault::None;
    m_readError = 0;
}

} // namespace torva
