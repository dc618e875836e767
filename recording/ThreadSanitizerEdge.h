// SPDX-License-Identifier: GPL-3.0-or-later
// Tells ThreadSanitizer of an ordering that oneTBB guarantees but that the
// sanitizer cannot see: the system's oneTBB is not instrumented, so the
// hand-over of work between its threads (a loop's start before its bodies,
// the bodies before its end, one stage of a pipeline before the next) is
// invisible to it, and every piece of data so handed over would be
// reported as a race. Each edge restates one guarantee of the library at
// the point where we rely on it; in any other build it is nothing.
#pragma once

#if defined(__SANITIZE_THREAD__)
#define TESMERA_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define TESMERA_THREAD_SANITIZER 1
#endif
#endif

#ifdef TESMERA_THREAD_SANITIZER
extern "C" void __tsan_acquire(void* address);
extern "C" void __tsan_release(void* address);
#endif

namespace tesmera {

// Everything a thread did before Leave() happens before whatever a thread
// does after a later Arrive() on the same edge.
class ThreadSanitizerEdge {
  public:
#ifdef TESMERA_THREAD_SANITIZER
    void Leave() {
        __tsan_release(this);
    }
    void Arrive() {
        __tsan_acquire(this);
    }
#else
    void Leave() {}
    void Arrive() {}
#endif
};

// Leaves an edge however a scope ends.
class ThreadSanitizerLeaveOnExit {
  public:
    explicit ThreadSanitizerLeaveOnExit(ThreadSanitizerEdge& edge) : edge_(edge) {}
    ~ThreadSanitizerLeaveOnExit() { edge_.Leave(); }
    ThreadSanitizerLeaveOnExit(const ThreadSanitizerLeaveOnExit&) = delete;
    ThreadSanitizerLeaveOnExit& operator=(const ThreadSanitizerLeaveOnExit&) = delete;

  private:
    ThreadSanitizerEdge& edge_;
};

// Arrives at an edge however a scope ends: where a library call that may
// throw has finished with every thread's part before it returns or throws.
class ThreadSanitizerArriveOnExit {
  public:
    explicit ThreadSanitizerArriveOnExit(ThreadSanitizerEdge& edge) : edge_(edge) {}
    ~ThreadSanitizerArriveOnExit() { edge_.Arrive(); }
    ThreadSanitizerArriveOnExit(const ThreadSanitizerArriveOnExit&) = delete;
    ThreadSanitizerArriveOnExit& operator=(const ThreadSanitizerArriveOnExit&) = delete;

  private:
    ThreadSanitizerEdge& edge_;
};

// The edge every pipeline starts on. A pipeline's stages live in memory
// the library allocates and reuses unseen by the sanitizer, so a stage may
// read where the starting thread wrote long before: that thread leaves this
// edge once the stages exist, and each stage arrives at it before it reads
// anything of its own. A single edge for every pipeline only orders more
// than needed, which hides no race between our own stages' data.
inline ThreadSanitizerEdge& PipelineStart() {
    static ThreadSanitizerEdge edge;
    return edge;
}

}  // namespace tesmera
