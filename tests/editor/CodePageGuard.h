#pragma once

#include <cstdlib>
#include <optional>
#include <string>

// Sets QEL_CODEPAGE for one test and puts back what was there.
class CCodePageGuard
{
public:
    explicit CCodePageGuard(const char* codePage)
    {
        if (const char* old = std::getenv("QEL_CODEPAGE"))
            m_old = old;
        ::setenv("QEL_CODEPAGE", codePage, 1);
    }
    ~CCodePageGuard()
    {
        if (m_old)
            ::setenv("QEL_CODEPAGE", m_old->c_str(), 1);
        else
            ::unsetenv("QEL_CODEPAGE");
    }
    CCodePageGuard(const CCodePageGuard&) = delete;
    CCodePageGuard& operator=(const CCodePageGuard&) = delete;

private:
    std::optional<std::string> m_old;
};
