// SPDX-License-Identifier: GPL-3.0-or-later
// Work items run on several threads, their results used one at a time in
// the items' order, so what a batch writes does not depend on how many
// threads ran it.
#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace tesmera {

// Runs `work(i)` for i in 0..count-1 on `jobs` threads, the calling thread
// one of them, and hands each result to `use` on the calling thread,
// strictly in order of i. `makeWork` is called once per thread, so each
// thread has its own buffers; `use` never runs concurrently. The calling
// thread makes items itself while the one it is to use next is not ready,
// so it neither sleeps nor leaves a core idle while it could work.
//
// At most InFlightPerJob * jobs results wait or are being made at a time,
// so memory stays bounded however many items there are. An exception from
// `work` reaches the caller when its item's turn comes; one from `use`
// stops the threads and reaches the caller at once. Items not yet started
// when a failure reaches the caller are never run.
template <class Result>
class OrderedParallelRun {
  public:
    using Work = std::function<Result(std::size_t)>;
    static constexpr std::size_t InFlightPerJob = 8;

    OrderedParallelRun(unsigned jobs, std::function<Work()> makeWork)
        : jobs_(jobs < 1 ? 1 : jobs), makeWork_(std::move(makeWork)) {}

    void Run(std::size_t count, const std::function<void(Result&&)>& use) {
        if (jobs_ == 1 || count < 2) {
            const Work work = makeWork_();
            for (std::size_t i = 0; i < count; ++i) {
                use(work(i));
            }
            return;
        }
        Shared shared(count, InFlightPerJob * jobs_);
        const Work own = makeWork_();
        {
            Workers workers(shared);
            for (unsigned j = 1; j < jobs_; ++j) {
                workers.Start([&shared, work = makeWork_()] { WorkLoop(shared, work); });
            }
            for (std::size_t i = 0; i < count; ++i) {
                while (!shared.Ready(i)) {
                    const std::optional<std::size_t> next = shared.TryClaim();
                    if (!next) {
                        break;
                    }
                    Make(shared, own, *next);
                }
                use(shared.Take(i));
            }
        }
    }

  private:
    // One finished item: its result, or what `work` threw for it.
    struct Slot {
        std::optional<Result> result;
        std::exception_ptr error;
        bool ready = false;
    };

    // The ring of slots item i uses slot i % size of, and who may claim what.
    class Shared {
      public:
        Shared(std::size_t count, std::size_t window) : count_(count), slots_(window) {}

        // The next item to make, waiting while the window is full; nothing
        // once every item is claimed or the run is stopping.
        std::optional<std::size_t> Claim() {
            std::unique_lock lock(mutex_);
            claimable_.wait(lock, [&] {
                return stopping_ || next_ == count_ || next_ < taken_ + slots_.size();
            });
            if (stopping_ || next_ == count_) {
                return std::nullopt;
            }
            return next_++;
        }

        // The next item to make if one may be claimed now, without waiting.
        std::optional<std::size_t> TryClaim() {
            const std::lock_guard lock(mutex_);
            if (stopping_ || next_ == count_ || next_ >= taken_ + slots_.size()) {
                return std::nullopt;
            }
            return next_++;
        }

        bool Ready(std::size_t i) {
            const std::lock_guard lock(mutex_);
            return slots_[i % slots_.size()].ready;
        }

        void Deliver(std::size_t i, std::optional<Result> result, std::exception_ptr error) {
            {
                const std::lock_guard lock(mutex_);
                Slot& slot = slots_[i % slots_.size()];
                slot.result = std::move(result);
                slot.error = error;
                slot.ready = true;
            }
            delivered_.notify_all();
        }

        // Item i's result once it is made (rethrowing its error); frees its slot.
        Result Take(std::size_t i) {
            std::unique_lock lock(mutex_);
            Slot& slot = slots_[i % slots_.size()];
            delivered_.wait(lock, [&] { return slot.ready; });
            if (slot.error) {
                std::rethrow_exception(slot.error);
            }
            Result result = std::move(*slot.result);
            slot = Slot{};
            ++taken_;
            // Threads waiting for room are woken once half the window is
            // free, not item by item: each wake-up costs more than an item
            // of work. Nothing waits on them meanwhile: the calling thread
            // makes the items it needs itself.
            const bool wake = taken_ % std::max<std::size_t>(1, slots_.size() / 2) == 0;
            lock.unlock();
            if (wake) {
                claimable_.notify_all();
            }
            return result;
        }

        void Stop() {
            {
                const std::lock_guard lock(mutex_);
                stopping_ = true;
            }
            claimable_.notify_all();
        }

      private:
        std::mutex mutex_;
        std::condition_variable claimable_;
        std::condition_variable delivered_;
        const std::size_t count_;
        std::vector<Slot> slots_;
        std::size_t next_ = 0;   // first item not yet claimed
        std::size_t taken_ = 0;  // items already handed to `use`
        bool stopping_ = false;
    };

    // The threads of one run: stopped and joined however the run ends.
    class Workers {
      public:
        explicit Workers(Shared& shared) : shared_(shared) {}
        Workers(const Workers&) = delete;
        Workers& operator=(const Workers&) = delete;
        ~Workers() {
            shared_.Stop();
            for (std::thread& thread : threads_) {
                thread.join();
            }
        }
        void Start(std::function<void()> loop) { threads_.emplace_back(std::move(loop)); }

      private:
        Shared& shared_;
        std::vector<std::thread> threads_;
    };

    static void Make(Shared& shared, const Work& work, std::size_t i) {
        try {
            shared.Deliver(i, work(i), nullptr);
        } catch (...) {
            shared.Deliver(i, std::nullopt, std::current_exception());
        }
    }

    static void WorkLoop(Shared& shared, const Work& work) {
        while (const std::optional<std::size_t> i = shared.Claim()) {
            Make(shared, work, *i);
        }
    }

    unsigned jobs_;
    std::function<Work()> makeWork_;
};

}  // namespace tesmera
