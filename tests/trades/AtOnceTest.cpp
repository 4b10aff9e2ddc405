#include "trades/AtOnce.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <stdexcept>
#include <string>
#include <system_error>
#include <thread>

namespace corvane {
namespace {

using namespace std::chrono_literals;

// A thread type of a system that starts no more threads.
struct FailingThread
{
    FailingThread() = default;
    template <typename Function> explicit FailingThread(Function&& /*function*/)
    {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    }
    void join() {}
};

TEST(RunAtOnce, RunsThePartsAtTheSameTimeOnTwoThreads)
{
    std::promise<std::thread::id> thereRuns;
    bool met = false;
    std::thread::id thereOn;
    RunAtOnce(
        [&] {
            std::future<std::thread::id> there = thereRuns.get_future();
            met = there.wait_for(10s) == std::future_status::ready;
            if (met)
                thereOn = there.get();
        },
        [&] { thereRuns.set_value(std::this_thread::get_id()); });
    EXPECT_TRUE(met) << "the caller's part waited for the other one in vain";
    EXPECT_NE(thereOn, std::this_thread::get_id());
}

// Whichever part throws, the other has ended when RunAtOnce returns; the caller's exception wins.
TEST(RunAtOnce, ThrowsOnWhatEitherPartThrowsOnceBothHaveEnded)
{
    const struct
    {
        bool HereThrows, ThereThrows;
        const char* Thrown;
    } cases[] = {{false, false, ""}, {true, false, "here"}, {false, true, "there"}, {true, true, "here"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("here throws ") + (c.HereThrows ? "yes" : "no") + ", there "
                     + (c.ThereThrows ? "yes" : "no"));
        std::atomic<bool> thereEnded = false;
        std::string thrown;
        try {
            RunAtOnce(
                [&] {
                    if (c.HereThrows)
                        throw std::runtime_error("here");
                },
                [&] {
                    std::this_thread::sleep_for(20ms);
                    thereEnded = true;
                    if (c.ThereThrows)
                        throw std::runtime_error("there");
                });
        } catch (const std::runtime_error& error) {
            thrown = error.what();
        }
        EXPECT_EQ(thrown, c.Thrown);
        EXPECT_TRUE(thereEnded) << "RunAtOnce returned while the other part still ran";
    }
}

TEST(RunAtOnce, WithoutThreadsRunsBothPartsOnTheCallingThreadTheCallersFirst)
{
    const std::thread::id caller = std::this_thread::get_id();
    std::string order;
    RunAtOnce<FailingThread>([&] { order += std::this_thread::get_id() == caller ? "here;" : "here elsewhere;"; },
                             [&] { order += std::this_thread::get_id() == caller ? "there;" : "there elsewhere;"; });
    EXPECT_EQ(order, "here;there;");

    const auto fails = [](const char* what) { return [what] { throw std::runtime_error(what); }; };
    EXPECT_THROW(RunAtOnce<FailingThread>(fails("here"), [] {}), std::runtime_error);
    try {
        RunAtOnce<FailingThread>([] {}, fails("there"));
        ADD_FAILURE() << "the other part's exception was lost";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "there");
    }
}

} // namespace
} // namespace corvane
