#pragma once
// Batch work on several threads with the result of one thread: independent jobs (a table's
// rows, picture files, exported pictures, bands of a page) run on a few threads, and their
// results come back one at a time in the order the jobs were added, whatever order they
// finished in. A failure comes back in its place too, so the first one met is the first in
// order, as in a loop. At most `window` jobs are in hand at once (waiting, running, or done
// and not yet taken), which bounds the memory they hold.
//
// With one thread no thread is started: each job runs on the caller's thread when its
// result is asked for, exactly as a loop would run it.

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>
#include <utility>
#include <vector>

namespace qrb {

// Threads batch work uses unless told otherwise: the cores this process may run on.
int batchThreads();

// `threads` as given (0 and below: batchThreads()).
int resolvedThreads(int threads);

// The jobs to keep in hand: enough to keep `threads` busy while the oldest is waited for,
// in groups of `group` (one for one thread: a loop), no more than fit `memory` at
// `bytesPerJob` each nor, beyond two a thread, more than a bounded share, and at least one.
std::size_t batchWindow(int threads, std::uint64_t memory = UINT64_MAX,
                        std::uint64_t bytesPerJob = 0, std::size_t group = 1);

// The threads and the queue of OrderedWork, whatever its results are: groups of jobs run
// by the first thread free, the caller's among them while it waits.
class WorkQueue {
public:
    WorkQueue(int threads, std::stop_token stop);
    // Jobs not started are dropped; those running are told to stop and waited for.
    ~WorkQueue();
    WorkQueue(const WorkQueue&) = delete;
    WorkQueue& operator=(const WorkQueue&) = delete;

    int threads() const { return threads_; }

protected:
    struct Group {
        virtual ~Group() = default;
        virtual void run(std::stop_token stop) = 0;
        virtual std::size_t size() const = 0;
        bool started = false;
        bool done = false;
    };
    void push(std::shared_ptr<Group> group);
    bool anyQueued() const;
    // How many jobs the next group should hold, at most `most`: as many as take about a
    // millisecond by the jobs done so far (one while none is).
    std::size_t groupSize(std::size_t most) const;
    // The oldest group, done (run here if no thread has started it), taken out.
    std::shared_ptr<Group> takeOldest();

private:
    void work(std::stop_token quit);
    // The oldest group no thread has started; null when there is none. Under the lock.
    std::shared_ptr<Group> nextToStart();
    void runGroup(std::unique_lock<std::mutex>& lock, const std::shared_ptr<Group>& group);

    const int threads_;
    std::stop_source stop_;
    std::stop_callback<std::function<void()>> forward_;
    mutable std::mutex mutex_;
    std::condition_variable_any changed_;
    std::deque<std::shared_ptr<Group>> groups_;
    std::vector<std::jthread> workers_;
    std::size_t jobsTimed_ = 0;
    double secondsTimed_ = 0;
};

template <class Result> class OrderedWork : public WorkQueue {
public:
    // A job gets a stop token that is requested when the work is abandoned (destroyed
    // before its results were taken) or when `stop` is.
    using Job = std::function<Result(std::stop_token)>;

    // `threads` from 1 (0 and below: batchThreads()), `window` from 1. Jobs that take a
    // fraction of a millisecond go to the threads in groups, up to `group` together
    // (fewer when the window is too small to keep every thread busy so), so that the
    // cost of handing work over is paid once a group.
    OrderedWork(int threads, std::size_t window, std::stop_token stop = {}, std::size_t group = 1)
        : WorkQueue(threads, std::move(stop)), window_(std::max<std::size_t>(window, 1)),
          group_(this->threads() == 1
                     ? 1
                     : std::clamp<std::size_t>(window_ / (2 * std::size_t(this->threads())), 1,
                                               std::max<std::size_t>(group, 1))) {}

    // Whether the window is full: take a result before adding.
    bool full() const { return inHand_ >= window_; }
    bool empty() const { return inHand_ == 0; }

    // Adds `job` behind the others; the window must not be full.
    void add(Job job) {
        if (!open_) {
            open_ = std::make_shared<Jobs>();
            openSize_ = groupSize(group_);
        }
        open_->jobs.push_back(std::move(job));
        ++inHand_;
        if (open_->jobs.size() >= openSize_)
            push(std::exchange(open_, nullptr));
    }

    // The result of the oldest job not yet taken, once it is done; throws what it threw
    // (after which the work is over).
    Result next() {
        if (!taking_ || taken_ == taking_->results.size() + (taking_->error ? 1 : 0)) {
            if (!anyQueued() && open_)
                push(std::exchange(open_, nullptr));
            taking_ = std::static_pointer_cast<Jobs>(takeOldest());
            taken_ = 0;
        }
        --inHand_;
        const std::size_t k = taken_++;
        if (k == taking_->results.size()) {
            failed_ = true;
            std::rethrow_exception(taking_->error);
        }
        return std::move(taking_->results[k]);
    }

    // Adds `job`, first handing results to `take` in order while the window is full.
    template <class Take> void add(Job job, Take&& take) {
        while (full())
            takeOne(take);
        add(std::move(job));
    }

    // Hands every result left to `take`, in order.
    template <class Take> void finish(Take&& take) {
        while (!empty())
            takeOne(take);
    }

    // Runs `produce`, which adds the jobs with add(job, take), then finishes. When
    // `produce` itself throws, the results of the jobs it added before are taken first,
    // so that an earlier job's failure is the one thrown, as in a loop; a job's or
    // `take`'s failure ends the work at once.
    template <class Produce, class Take> void run(Produce&& produce, Take&& take) {
        try {
            produce();
        } catch (...) {
            if (!failed_)
                finish(take);
            throw;
        }
        finish(take);
    }

private:
    // A failure of `take` ends the work as a job's does.
    template <class Take> void takeOne(Take& take) {
        Result result = next();
        try {
            take(std::move(result));
        } catch (...) {
            failed_ = true;
            throw;
        }
    }

    struct Jobs : WorkQueue::Group {
        void run(std::stop_token stop) override {
            results.reserve(jobs.size());
            try {
                for (Job& job : jobs) {
                    results.push_back(job(stop));
                    job = nullptr; // what it holds goes as soon as it is done
                }
            } catch (...) {
                error = std::current_exception(); // the jobs after it are not run
            }
            jobs.clear();
        }
        std::size_t size() const override { return results.size() + (error ? 1 : 0); }
        std::vector<Job> jobs;
        std::vector<Result> results;
        std::exception_ptr error;
    };

    const std::size_t window_;
    const std::size_t group_;
    std::size_t inHand_ = 0;
    std::shared_ptr<Jobs> open_;   // jobs added, not yet handed to the threads
    std::size_t openSize_ = 1;     // how many it takes
    std::shared_ptr<Jobs> taking_; // the group whose results are being taken
    std::size_t taken_ = 0;
    bool failed_ = false; // a job or `take` failed
};

} // namespace qrb
