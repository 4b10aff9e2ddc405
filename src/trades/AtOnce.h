#pragma once

#include <exception>
#include <system_error>
#include <thread>

namespace corvane {

/**
 * Runs `here` on the calling thread and `there` on a thread of its own at the same time, and returns
 * once both have ended. What either throws is thrown on, the caller's part first; the other part has
 * ended by then. Where the system starts no more threads, both run on the calling thread, `here` first.
 *
 * The contract of its callers: the two parts write apart (rows of their own, results of their own) and may
 * both read what neither writes; what they wrote is the caller's again once RunAtOnce returns. Each caller
 * says at the call what each part writes.
 *
 * `Thread` is std::thread, or in a test a type whose constructor throws std::system_error as the system would.
 */
template <typename Thread = std::thread, typename Here, typename There> void RunAtOnce(Here&& here, There&& there)
{
    std::exception_ptr failed;
    Thread other;
    try {
        other = Thread([&] {
            try {
                there();
            } catch (...) {
                failed = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        here();
        there();
        return;
    }
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
