#pragma once

#include <exception>
#include <system_error>
#include <thread>

namespace corvane {

/**
 * Runs `here` on the calling thread and `there` on a thread of its own at the same time, and returns
 * once both have ended. What either throws is thrown on, the caller's part first; the other part has
 * ended by then.
 */
template <typename Here, typename There> void RunAtOnce(Here&& here, There&& there)
{
    std::exception_ptr failed;
    std::thread other([&] {
        try {
            there();
        } catch (...) {
            failed = std::current_exception();
        }
    });
    try {
        here();
    } catch (...) {
        other.join();
        throw;
    }
    other.join();
    if (failed)
        std::rethrow_exception(failed);
}

} // namespace corvane
