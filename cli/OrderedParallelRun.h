// SPDX-License-Identifier: GPL-3.0-or-later
// Work items run on several threads, their results used one at a time in
// the items' order, so what a batch writes does not depend on how many
// threads ran it.
#pragma once

#include <oneapi/tbb/enumerable_thread_specific.h>
#include <oneapi/tbb/parallel_pipeline.h>

#include <cstddef>
#include <exception>
#include <functional>
#include <optional>
#include <utility>

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
        Edges edges;
        std::size_t next = 0;
        edges.claimed.Leave();
        InArenaOf(jobs_, [&] {
            tbb::parallel_pipeline(InFlightPerJob * jobs_, Claim(count, next, edges) &
                                                               Make(works, edges) &
                                                               Use(use, edges));
        });
        edges.made.Arrive();
        edges.used.Arrive();
    }

  private:
    // One made item: its result, or what `work` threw for it.
    struct Made {
        std::optional<Result> result;
        std::exception_ptr error;
    };

    // The orderings of the pipeline's stages (see ThreadSanitizerEdge.h):
    // each claim after the one before, an item's making after its claim,
    // its use after its making, each use after the one before.
    struct Edges {
        ThreadSanitizerEdge claimed;
        ThreadSanitizerEdge made;
        ThreadSanitizerEdge used;
    };

    // Items 0..count-1, one at a time in order.
    static auto Claim(std::size_t count, std::size_t& next, Edges& edges) {
        return tbb::make_filter<void, std::size_t>(
            tbb::filter_mode::serial_in_order, [count, &next, &edges](tbb::flow_control& control) {
                edges.claimed.Arrive();
                if (next == count) {
                    control.stop();
                }
                const std::size_t item = next < count ? next++ : next;
                edges.claimed.Leave();
                return item;
            });
    }

    // An item's result on any thread, with that thread's own work object.
    static auto Make(tbb::enumerable_thread_specific<Work>& works, Edges& edges) {
        return tbb::make_filter<std::size_t, Made>(tbb::filter_mode::parallel,
                                                   [&works, &edges](std::size_t i) {
                                                       edges.claimed.Arrive();
                                                       Made made;
                                                       try {
                                                           made.result.emplace(works.local()(i));
                                                       } catch (...) {
                                                           made.error = std::current_exception();
                                                       }
                                                       edges.made.Leave();
                                                       return made;
                                                   });
    }

    // The results in item order, one at a time.
    static auto Use(const std::function<void(Result&&)>& use, Edges& edges) {
        return tbb::make_filter<Made, void>(tbb::filter_mode::serial_in_order,
                                            [&use, &edges](Made made) {
                                                edges.made.Arrive();
                                                edges.used.Arrive();
                                                const ThreadSanitizerLeaveOnExit leave(edges.used);
                                                if (made.error) {
                                                    std::rethrow_exception(made.error);
                                                }
                                                use(std::move(*made.result));
                                            });
    }

    unsigned jobs_;
    std::function<Work()> makeWork_;
};

}  // namespace tesmera
