// The engine's one contact with threads, with POSIX threads and semaphores.
#include "split/WorkerThread.h"

#include <pthread.h>
#include <sched.h>
#include <semaphore.h>
#include <unistd.h>

#include <cerrno>

namespace {

void* runBody(void* body)
{
    const ThreadBody& what = *static_cast<ThreadBody*>(body);
    what.run(what.context);
    return nullptr;
}

} // namespace

WorkerThread::~WorkerThread()
{
    join();
}

bool WorkerThread::start(void (*body)(void*), void* context)
{
    m_body = {body, context};
    pthread_t* thread = new pthread_t;
    if (pthread_create(thread, nullptr, runBody, &m_body) != 0) {
        delete thread;
        return false;
    }
    m_thread = thread;
    return true;
}

void WorkerThread::join()
{
    if (!m_thread)
        return;
    pthread_t* thread = static_cast<pthread_t*>(m_thread);
    pthread_join(*thread, nullptr);
    delete thread;
    m_thread = nullptr;
}

int WorkerThread::processorCount()
{
#ifdef __linux__
    // The processors this process may run on, as taskset or a container
    // limits them; asked without reading a file, as sysconf would.
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0)
        return CPU_COUNT(&set);
#endif
    const long count = sysconf(_SC_NPROCESSORS_ONLN);
    return count > 0 ? static_cast<int>(count) : 1;
}

Semaphore::Semaphore(int count) : m_count(count)
{
    sem_t* system = new sem_t;
    if (sem_init(system, 0, 0) == 0)
        m_system = system;
    else
        delete system;
}

Semaphore::~Semaphore()
{
    if (!m_system)
        return;
    sem_t* system = static_cast<sem_t*>(m_system);
    sem_destroy(system);
    delete system;
}

void Semaphore::waitForPost()
{
    // A signal handler of the host's may interrupt the wait.
    while (sem_wait(static_cast<sem_t*>(m_system)) != 0 && errno == EINTR) { }
}

void Semaphore::wakeOne()
{
    sem_post(static_cast<sem_t*>(m_system));
}
