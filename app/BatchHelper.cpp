#include "app/BatchHelper.h"

#include <system_error>

namespace kalvex {

CBatchHelper::~CBatchHelper()
{
    if (!m_helper.joinable())
        return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_quit = true;
    }
    m_wake.notify_one();
    m_helper.join();
}

void CBatchHelper::Run(std::size_t count, const Job& job)
{
    if (!m_started) {
        m_started = true;
        try {
            m_helper = std::thread(&CBatchHelper::HelperLoop, this);
        } catch (const std::system_error&) {
            // No second thread: the batches run here alone.
        }
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_job = &job;
        m_count = count;
        m_next = 0;
        ++m_batch;
        m_helperBusy = m_helper.joinable();
    }
    m_wake.notify_one();
    TakeJobs();
    std::unique_lock<std::mutex> lock(m_mutex);
    m_idle.wait(lock, [this] { return !m_helperBusy; });
    m_job = nullptr;
}

void CBatchHelper::HelperLoop()
{
    unsigned seen = 0;
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [&] { return m_quit || m_batch != seen; });
        if (m_quit)
            return;
        seen = m_batch;
        lock.unlock();
        TakeJobs();
        lock.lock();
        m_helperBusy = false;
        m_idle.notify_one();
    }
}

void CBatchHelper::TakeJobs()
{
    for (std::size_t index = m_next++; index < m_count; index = m_next++)
        (*m_job)(index);
}

}  // namespace kalvex
