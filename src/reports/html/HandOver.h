#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <mutex>
#include <vector>

namespace corvane {

/**
 * Items made on one thread (the producer) and taken in the same order on another (the consumer), at most
 * `ahead` of them waiting, the ones the consumer is done with handed back to be filled again. Both read-ahead
 * threads of a newer terminal's report (the file's pieces, the rows cut from them) hand their work over
 * through one of these.
 *
 * The contract between the two threads: an item belongs to the thread that holds it, and the queue moves it
 * from one to the other under its lock. What the producer writes before Close(), the consumer may read once
 * Take() has returned false: the lock orders the two.
 */
template <typename Item> class HandOver
{
public:
    explicit HandOver(std::size_t ahead) : m_ahead(ahead) {}

    // Producer: waits for room and hands `item` over, leaving in it one given back (or an empty Item). False,
    // and nothing handed over, once the consumer has stopped.
    bool Put(Item& item)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_ready.size() < m_ahead || m_stop; });
        if (m_stop)
            return false;
        m_ready.push_back(std::move(item));
        item = Item();
        if (!m_spare.empty()) {
            item = std::move(m_spare.back());
            m_spare.pop_back();
        }
        lock.unlock();
        m_changed.notify_all();
        return true;
    }

    // Producer: nothing comes after the items handed over; `error`, when given, is what ended the work.
    void Close(std::exception_ptr error = nullptr)
    {
        {
            const std::lock_guard lock(m_mutex);
            m_closed = true;
            m_error = std::move(error);
        }
        m_changed.notify_all();
    }

    // Producer: whether the consumer has stopped.
    bool Stopped()
    {
        const std::lock_guard lock(m_mutex);
        return m_stop;
    }

    // Consumer: hands `item` back and puts the next one in its place, waiting for it. False once every item
    // was taken and the producer closed; rethrows then what ended its work.
    bool Take(Item& item)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return !m_ready.empty() || m_closed; });
        if (m_ready.empty()) {
            if (m_error)
                std::rethrow_exception(m_error);
            return false;
        }
        m_spare.push_back(std::move(item));
        item = std::move(m_ready.front());
        m_ready.pop_front();
        lock.unlock();
        m_changed.notify_all();
        return true;
    }

    // Consumer: nothing more is wanted; a producer waiting for room, or coming to wait, is told so.
    void Stop()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_changed.notify_all();
    }

private:
    const std::size_t m_ahead;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Item> m_ready;
    std::vector<Item> m_spare;
    bool m_closed = false;
    bool m_stop = false;
    std::exception_ptr m_error;
};

} // namespace corvane
