// SPDX-License-Identifier: GPL-3.0-or-later
// Work items run on several threads, their results used one at a time in
// the items' order, so what a batch writes does not depend on how many
// threads ran it.
#pragma once

#include <oneapi/tbb/enumerable_thread_specific.h>
#include <oneapi/tbb/parallel_pipeline.h>

#include <algorithm>
#include <cstddef>
#include <exception>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "recording/ThreadSanitizerEdge.h"
#include "recording/parallel_work.h"

namespace tesmera {

// Runs `work(i)` for i in 0..count-1 on up to `jobs` threads (no more than
// the machine's cores), the calling thread one of them, and hands each
// result to `use`, strictly in order of i and never two at once. `makeWork`
// is called once per thread that makes items, so each such thread has its
// own buffers.
//
// At most InFlightPerJob * jobs items are made or wait to be used at a time,
// so memory stays bounded however many items there are. An exception from
// `work` reaches the caller when its item's turn comes; one from `use`
// stops the run and reaches the caller once the items being made are done.
// Items not yet started when a failure reaches the caller are never run.
template <class Result>
class OrderedParallelRun {
  public:
    using Work = std::function<Result(std::size_t)>;
    static constexpr std::size_t InFlightPerJob = 8;
    // Items pass through the pipeline in runs of this many: a token costs
    // the library a few microseconds, a sizeable share of a short file's
    // analysis. InFlightPerJob is a multiple of it.
    static constexpr std::size_t ItemsPerToken = 4;

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
        tbb::enumerable_thread_specific<Work> works([this] { return makeWork_(); });
        State state(count, InFlightPerJob * jobs_);
        const tbb::filter<void, void> stages = Claim(state) & Make(works, state) & Use(use, state);
        state.claimed.Leave();
        PipelineStart().Leave();
        InArenaOf(jobs_,
                  [&] { tbb::parallel_pipeline(state.slots.size() / ItemsPerToken, stages); });
    }

  private:
    // One made item: its result, or what `work` threw for it.
    struct Made {
        std::optional<Result> result;
        std::exception_ptr error;
    };

    // What the stages share. Item i is made into slot i % window, free again
    // by then as no more items than that are in the pipeline; the pipeline
    // passes only the item's number. The edges (see ThreadSanitizerEdge.h)
    // order each claim after the one before, an item's making after its
    // claim and after its slot's last use, each use after its item's
    // making and after the use before, and the slots' end after all.
    struct State {
        State(std::size_t count, std::size_t window) : count(count), slots(window) {}
        // The pipeline has finished with every thread's part by then, also
        // when it failed.
        ~State() {
            claimed.Arrive();
            made.Arrive();
            used.Arrive();
        }
        State(const State&) = delete;
        State& operator=(const State&) = delete;
        const std::size_t count;
        std::size_t next = 0;  // the first item not yet claimed
        std::vector<Made> slots;
        ThreadSanitizerEdge claimed;
        ThreadSanitizerEdge made;
        ThreadSanitizerEdge used;
    };

    // The first items of the runs of 0..count-1, one at a time in order.
    static auto Claim(State& state) {
        return tbb::make_filter<void, std::size_t>(
            tbb::filter_mode::serial_in_order, [&state](tbb::flow_control& control) {
                PipelineStart().Arrive();
                state.claimed.Arrive();
                const ThreadSanitizerLeaveOnExit leave(state.claimed);
                if (state.next == state.count) {
                    control.stop();
                    return state.next;
                }
                const std::size_t first = state.next;
                state.next = RunEnd(state, first);
                return first;
            });
    }

    // A run's results on any thread, with that thread's own work object.
    static auto Make(tbb::enumerable_thread_specific<Work>& works, State& state) {
        return tbb::make_filter<std::size_t, std::size_t>(
            tbb::filter_mode::parallel, [&works, &state](std::size_t first) {
                PipelineStart().Arrive();
                state.claimed.Arrive();
                state.used.Arrive();
                const Work& work = works.local();
                for (std::size_t i = first; i < RunEnd(state, first); ++i) {
                    Made& made = state.slots[i % state.slots.size()];
                    try {
                        made.result.emplace(work(i));
                    } catch (...) {
                        made.error = std::current_exception();
                    }
                }
                state.made.Leave();
                return first;
            });
    }

    // The results in item order, one at a time; each slot emptied for reuse.
    static auto Use(const std::function<void(Result&&)>& use, State& state) {
        return tbb::make_filter<std::size_t, void>(
            tbb::filter_mode::serial_in_order, [&use, &state](std::size_t first) {
                PipelineStart().Arrive();
                state.made.Arrive();
                state.used.Arrive();
                const ThreadSanitizerLeaveOnExit leave(state.used);
                for (std::size_t i = first; i < RunEnd(state, first); ++i) {
                    Made made = std::exchange(state.slots[i % state.slots.size()], Made{});
                    if (made.error) {
                        std::rethrow_exception(made.error);
                    }
                    use(std::move(*made.result));
                }
            });
    }

    // The end of the run of items from `first`.
    static std::size_t RunEnd(const State& state, std::size_t first) {
        return std::min(state.count, first + ItemsPerToken);
    }

    unsigned jobs_;
    std::function<Work()> makeWork_;
};

}  // namespace tesmera
