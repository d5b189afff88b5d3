// The engine's one contact with threads, on Windows (XP and later).
#include "split/WorkerThread.h"

#include <climits>
#include <cstdint>
#include <process.h>
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace {

unsigned __stdcall runBody(void* body)
{
    const ThreadBody& what = *static_cast<ThreadBody*>(body);
    what.run(what.context);
    return 0;
}

} // namespace

WorkerThread::~WorkerThread()
{
    join();
}

bool WorkerThread::start(void (*body)(void*), void* context)
{
    m_body = {body, context};
    // _beginthreadex rather than CreateThread: the body uses the C runtime
    // (the digests' text is allocated), which then sets up for the thread.
    std::uintptr_t handle = _beginthreadex(nullptr, 0, runBody, &m_body, 0, nullptr);
    m_thread = reinterpret_cast<void*>(handle);
    return m_thread != nullptr;
}

void WorkerThread::join()
{
    if (!m_thread)
        return;
    WaitForSingleObject(static_cast<HANDLE>(m_thread), INFINITE);
    CloseHandle(static_cast<HANDLE>(m_thread));
    m_thread = nullptr;
}

int WorkerThread::processorCount()
{
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return info.dwNumberOfProcessors > 0 ? static_cast<int>(info.dwNumberOfProcessors) : 1;
}

Semaphore::Semaphore(int count) : m_count(count)
{
    m_system = CreateSemaphoreA(nullptr, 0, LONG_MAX, nullptr);
}

Semaphore::~Semaphore()
{
    if (m_system)
        CloseHandle(static_cast<HANDLE>(m_system));
}

void Semaphore::waitForPost()
{
    WaitForSingleObject(static_cast<HANDLE>(m_system), INFINITE);
}

void Semaphore::wakeOne()
{
    ReleaseSemaphore(static_cast<HANDLE>(m_system), 1, nullptr);
}
