#include "app/BatchHelper.h"

namespace kalvex {

CBatchHelper::~CBatchHelper()
{
    if (m_helper == nullptr)
        return;
    AcquireSRWLockExclusive(&m_lock);
    m_quit = true;
    ReleaseSRWLockExclusive(&m_lock);
    WakeConditionVariable(&m_wake);
    WaitForSingleObject(m_helper, INFINITE);
    CloseHandle(m_helper);
}

void CBatchHelper::Run(std::size_t count, const Job& job)
{
    if (!m_started) {
        m_started = true;
        // Without a second thread the batches run here alone.
        m_helper = CreateThread(nullptr, 0, &CBatchHelper::HelperMain, this, 0, nullptr);
    }
    AcquireSRWLockExclusive(&m_lock);
    m_job = &job;
    m_count = count;
    m_next = 0;
    ++m_batch;
    m_helperBusy = m_helper != nullptr;
    ReleaseSRWLockExclusive(&m_lock);
    WakeConditionVariable(&m_wake);
    TakeJobs();
    AcquireSRWLockExclusive(&m_lock);
    while (m_helperBusy)
        SleepConditionVariableSRW(&m_idle, &m_lock, INFINITE, 0);
    m_job = nullptr;
    ReleaseSRWLockExclusive(&m_lock);
}

DWORD WINAPI CBatchHelper::HelperMain(void* helper)
{
    static_cast<CBatchHelper*>(helper)->HelperLoop();
    return 0;
}

void CBatchHelper::HelperLoop()
{
    unsigned seen = 0;
    AcquireSRWLockExclusive(&m_lock);
    for (;;) {
        while (!m_quit && m_batch == seen)
            SleepConditionVariableSRW(&m_wake, &m_lock, INFINITE, 0);
        if (m_quit)
            break;
        seen = m_batch;
        ReleaseSRWLockExclusive(&m_lock);
        TakeJobs();
        AcquireSRWLockExclusive(&m_lock);
        m_helperBusy = false;
        WakeConditionVariable(&m_idle);
    }
    ReleaseSRWLockExclusive(&m_lock);
}

void CBatchHelper::TakeJobs()
{
    for (std::size_t index = m_next++; index < m_count; index = m_next++)
        (*m_job)(index);
}

}  // namespace kalvex
