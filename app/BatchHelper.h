// A second thread that shares batches of independent jobs with the thread
// that asks: file removal under Wine spends most of each file's time in the
// calling process (path lookup, system calls), so two threads finish a
// folder in a little over half the time of one. The helper starts with the
// first batch and stays until the object goes.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <functional>

namespace kalvex {

class CBatchHelper {
public:
    using Job = std::function<void(std::size_t)>;

    CBatchHelper() = default;
    ~CBatchHelper();
    CBatchHelper(const CBatchHelper&) = delete;
    CBatchHelper& operator=(const CBatchHelper&) = delete;

    // Runs job(0) .. job(count - 1), each exactly once, on this thread and
    // the helper together; returns when all have finished. The jobs must not
    // depend on each other's order. Without a helper thread (it could not be
    // started), this thread runs them all.
    void Run(std::size_t count, const Job& job);

private:
    static DWORD WINAPI HelperMain(void* helper);
    void HelperLoop();
    // Claims and runs jobs of the current batch until none is left.
    void TakeJobs();

    SRWLOCK m_lock = SRWLOCK_INIT;
    CONDITION_VARIABLE m_wake = CONDITION_VARIABLE_INIT;
    CONDITION_VARIABLE m_idle = CONDITION_VARIABLE_INIT;
    const Job* m_job = nullptr;
    std::size_t m_count = 0;
    std::atomic<std::size_t> m_next{0};
    unsigned m_batch = 0;
    bool m_helperBusy = false;
    bool m_quit = false;
    bool m_started = false;
    HANDLE m_helper = nullptr;
};

}  // namespace kalvex
