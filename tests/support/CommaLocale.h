#pragma once

#include <string>

namespace corvane::test {

/**
 * Switches LC_NUMERIC to a locale whose decimal point is a comma, and back at the end. An installed
 * one is used when there is one; otherwise a German locale is built once with localedef into a
 * temporary folder named by LOCPATH. Active() is false only when neither works.
 */
class CommaNumericLocale
{
public:
    CommaNumericLocale();
    ~CommaNumericLocale();
    CommaNumericLocale(const CommaNumericLocale&) = delete;
    CommaNumericLocale& operator=(const CommaNumericLocale&) = delete;

    bool Active() const { return !m_name.empty(); }
    const std::string& Name() const { return m_name; }

private:
    std::string m_previous;
    std::string m_name;
};

} // namespace corvane::test
