#include "core/OrderedWork.h"

#include <sched.h>

#include <algorithm>
#include <chrono>
#include <system_error>

namespace qrb {

int batchThreads() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0)
        return CPU_COUNT(&set);
    return int(std::max(1u, std::thread::hardware_concurrency()));
}

int resolvedThreads(int threads) {
    return threads > 0 ? threads : batchThreads();
}

std::size_t batchWindow(int threads, std::uint64_t memory, std::uint64_t bytesPerJob,
                        std::size_t group) {
    // Two groups a thread: a thread that finishes while the oldest is still running finds
    // another group to start.
    const int resolved = resolvedThreads(threads);
    std::uint64_t window =
        resolved == 1 ? 1 : 2 * std::uint64_t(resolved) * std::max<std::uint64_t>(group, 1);
    if (bytesPerJob > 0) {
        // However much memory is free, the jobs ahead take no more than a bounded share
        // of it once every thread has work.
        constexpr std::uint64_t kAheadBytes = std::uint64_t(128) << 20;
        const std::uint64_t busy = 2 * std::uint64_t(resolved);
        window = std::min(window, std::max(busy, kAheadBytes / bytesPerJob));
        window = std::min(window, memory / bytesPerJob);
    }
    return std::size_t(std::max<std::uint64_t>(window, 1));
}

WorkQueue::WorkQueue(int threads, std::stop_token stop)
    : threads_(resolvedThreads(threads)),
      forward_(std::move(stop), std::function<void()>([this] { stop_.request_stop(); })) {}

WorkQueue::~WorkQueue() {
    {
        const std::lock_guard lock(mutex_);
        std::erase_if(groups_, [](const std::shared_ptr<Group>& group) { return !group->started; });
    }
    stop_.request_stop();
    for (std::jthread& worker : workers_)
        worker.request_stop();
    workers_.clear(); // joins
}

bool WorkQueue::anyQueued() const {
    const std::lock_guard lock(mutex_);
    return !groups_.empty();
}

void WorkQueue::push(std::shared_ptr<Group> group) {
    std::unique_lock lock(mutex_);
    groups_.push_back(std::move(group));
    // Threads start as jobs come, up to one fewer than asked: the caller is the last.
    if (workers_.size() + 1 < std::size_t(threads_)) {
        try {
            workers_.emplace_back([this](std::stop_token quit) { work(quit); });
        } catch (const std::system_error&) {
            // The system would start no more threads: those there are do the work.
        }
    }
    lock.unlock();
    changed_.notify_one();
}

std::shared_ptr<WorkQueue::Group> WorkQueue::nextToStart() {
    for (const std::shared_ptr<Group>& group : groups_)
        if (!group->started)
            return group;
    return nullptr;
}

void WorkQueue::runGroup(std::unique_lock<std::mutex>& lock, const std::shared_ptr<Group>& group) {
    group->started = true;
    lock.unlock();
    const auto start = std::chrono::steady_clock::now();
    group->run(stop_.get_token());
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    lock.lock();
    group->done = true;
    jobsTimed_ += group->size();
    secondsTimed_ += took.count();
    changed_.notify_all();
}

std::size_t WorkQueue::groupSize(std::size_t most) const {
    // A group of a millisecond costs its handing over a few hundredths of its time.
    constexpr double kGroupSeconds = 1e-3;
    const std::lock_guard lock(mutex_);
    if (most <= 1 || jobsTimed_ == 0 || secondsTimed_ <= 0)
        return 1;
    const double perJob = secondsTimed_ / double(jobsTimed_);
    return std::clamp<std::size_t>(std::size_t(kGroupSeconds / perJob), 1, most);
}

void WorkQueue::work(std::stop_token quit) {
    std::unique_lock lock(mutex_);
    while (changed_.wait(lock, quit, [this] { return nextToStart() != nullptr; }))
        runGroup(lock, nextToStart());
}

std::shared_ptr<WorkQueue::Group> WorkQueue::takeOldest() {
    std::unique_lock lock(mutex_);
    const std::shared_ptr<Group> oldest = groups_.front();
    while (!oldest->done) {
        // Waiting would leave a core idle: the caller runs a group itself meanwhile.
        if (const std::shared_ptr<Group> group = nextToStart())
            runGroup(lock, group);
        else
            changed_.wait(lock);
    }
    groups_.pop_front();
    return oldest;
}

} // namespace qrb
