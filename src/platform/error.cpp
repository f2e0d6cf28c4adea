#include "platform/error.h"

#include <sstream>

namespace torva {

IError::IError(int code, std::string detail, std::string sourceFile, int sourceLine)
    : std::runtime_error(detail), m_code(code), m_detail(std::move(detail)),
      m_sourceFile(std::move(sourceFile)), m_sourceLine(sourceLine) {}

std::string IError::formattedText() const {
    std::ostringstream out;
    for (const auto& line : m_descriptions)
        out << line << '\n';
    out << "[" << m_code << "] " << m_sourceFile << ":" << m_sourceLine << '\n' << m_detail;
    if (m_inner)
        out << '\n' << m_inner->formattedText();
    return out.str();
}

} // namespace torva
