// The engine's one contact with threads: a second thread of a split and the counts it waits on.
#pragma once

#include <atomic>

// What a WorkerThread runs: run(context).
struct ThreadBody {
    void (*run)(void*) = nullptr;
    void* context = nullptr;
};

// A thread that runs one function and is waited for. The system's part lives
// in WorkerThreadWin32.cpp or WorkerThreadPosix.cpp.
class WorkerThread {
public:
    WorkerThread() = default;
    // Waits for a thread still running.
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Runs body(context) on a new thread; false when the system cannot start
    // one (nothing runs then). Only one thread per object.
    bool start(void (*body)(void*), void* context);
    // Returns once body has returned; at once when no thread was started or it was already waited for.
    void join();

    // The processors the system has for this program's threads; at least 1.
    static int processorCount();

private:
    void* m_thread = nullptr; // the system's handle of the running thread
    ThreadBody m_body;        // read by the new thread, so it stays here
};

// A count that one thread takes from, waiting while it is 0, and another adds
// to. Both steps are one atomic instruction unless a thread has to wait: the
// system's semaphore (a server call under Wine) is asked only then.
class Semaphore {
public:
    explicit Semaphore(int count);
    ~Semaphore();
    Semaphore(const Semaphore&) = delete;
    Semaphore& operator=(const Semaphore&) = delete;

    // False when the system could not make its semaphore: then nothing may wait.
    bool usable() const { return m_system != nullptr; }
    // Takes one from the count, first waiting until it is above 0.
    void wait()
    {
        if (m_count.fetch_sub(1) <= 0)
            waitForPost();
    }
    // Adds one to the count, waking a thread that waits for it.
    void post()
    {
        if (m_count.fetch_add(1) < 0)
            wakeOne();
    }

private:
    void waitForPost();
    void wakeOne();

    // The count less the threads waiting: below 0 while one waits on m_system.
    std::atomic<int> m_count;
    void* m_system = nullptr; // the system's semaphore, at 0 but while a post crosses a wait
};
