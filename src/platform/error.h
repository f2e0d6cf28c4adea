#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace torva {

// Base of every error the core throws: a numeric code, a detail text for the log, where it was
// raised, and the description lines a user is shown (already translated when filled).
class IError : public std::runtime_error {
public:
    IError(int code, std::string detail, std::string sourceFile, int sourceLine);
    ~IError() override = default;

    int code() const { return m_code; }
    const std::string& detail() const { return m_detail; }
    const std::string& sourceFile() const { return m_sourceFile; }
    int sourceLine() const { return m_sourceLine; }
    const std::vector<std::string>& descriptions() const { return m_descriptions; }
    const IError* inner() const { return m_inner.get(); }
    void setInner(std::shared_ptr<const IError> inner) { m_inner = std::move(inner); }

    // The description lines, one per line, followed by the code, source and detail.
    std::string formattedText() const;
    virtual std::string className() const { return "IError"; }

protected:
    void addDescription(std::string line) { m_descriptions.push_back(std::move(line)); }

private:
    int m_code;
    std::string m_detail;
    std::string m_sourceFile;
    int m_sourceLine;
    std::vector<std::string> m_descriptions;
    std::shared_ptr<const IError> m_inner;
};

} // namespace torva
