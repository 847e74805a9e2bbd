#include "runoncores.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

bool runOnCores(int count, int cores, const std::function<bool(int task)> &canShare,
                const std::function<bool(int task, int cores, QString *error)> &task, QString *error)
{
    std::mutex mutex;
    std::condition_variable freed;
    int next = 0;
    int free = cores;
    auto work = [&] {
        std::unique_lock<std::mutex> lock(mutex);
        while (true) {
            freed.wait(lock, [&] { return next == count || free > 0; });
            if (next == count)
                return;
            const int index = next++;
            const int taken = canShare(index) ? std::max(1, free - (count - next)) : 1;
            free -= taken;
            lock.unlock();
            QString failure;
            const bool done = task(index, taken, &failure);
            lock.lock();
            free += taken;
            if (!done && error->isEmpty()) {
                *error = failure;
                next = count;
            }
            freed.notify_all();
        }
    };
    std::vector<std::thread> threads;
    for (int i = 1; i < std::min(cores, count); ++i)
        threads.emplace_back(work);
    work();
    for (std::thread &thread : threads)
        thread.join();
    return error->isEmpty();
}
