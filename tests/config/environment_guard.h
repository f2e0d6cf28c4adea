#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace torva::test {

// Sets an environment variable for the guard's lifetime (TZ changes take effect at once).
class CEnvironmentGuard {
public:
    CEnvironmentGuard(const char* name, const std::string& value) : m_name(name) {
        if (const char* previous = std::getenv(name))
            m_previous = previous;
        ::setenv(name, value.c_str(), 1);
        ::tzset();
    }
    ~CEnvironmentGuard() {
        if (m_previous)
            ::setenv(m_name, m_previous->c_str(), 1);
        else
            ::unsetenv(m_name);
        ::tzset();
    }
    CEnvironmentGuard(const CEnvironmentGuard&) = delete;
    CEnvironmentGuard& operator=(const CEnvironmentGuard&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_previous;
};

} // namespace torva::test
