// SPDX-License-Identifier: GPL-3.0-or-later
// Independent pieces of one recording's work spread over a few threads.
// The pieces never depend on how many threads run them, so results are the
// same for any count.
#pragma once

#include <cstddef>
#include <functional>

namespace tesmera {

// The threads worth using on this machine: its cores, at least 1.
unsigned AvailableCores();

// Runs `work` on the calling thread in an arena of oneTBB threads, so that
// the parallel algorithms it starts use up to `threads` threads (0 counts
// as 1), the caller's own among them, and no more than the machine's cores.
void InArenaOf(unsigned threads, const std::function<void()>& work);

// Calls `task(i)` once for every i in [0, count), on up to `threads` threads
// (the caller's own among them; 0 counts as 1), and returns when all are
// done. Each task must write only its own results. When tasks throw, the
// exception of the lowest-numbered one that threw is rethrown after every
// started task has finished; tasks not yet started are skipped.
void RunInParallel(std::size_t count, unsigned threads,
                   const std::function<void(std::size_t)>& task);

// As RunInParallel over runs of at most `run` consecutive items (run >= 1):
// `work(first, end)` handles items first..end-1, so that what a run sets up
// once (buffers, an analyser) serves all of its items.
void RunInParallelRuns(std::size_t count, std::size_t run, unsigned threads,
                       const std::function<void(std::size_t first, std::size_t end)>& work);

}  // namespace tesmera
