#pragma once
// Has fresh memory backed by pages on a thread of its own, ahead of the
// code that will fill it. The kernel's clearing and mapping of new pages
// (on a virtual machine also the host's) costs about as much as reading a
// file from the page cache; done beside the read, it no longer adds to it.
//
// The warming never changes a byte: memory that is freed or reused before
// its turn comes is merely backed, or skipped when it is gone.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <thread>

class PageWarmer {
public:
    PageWarmer() = default;
    // Waits for the range being warmed (a few milliseconds at most) and
    // drops the rest.
    ~PageWarmer();
    PageWarmer(const PageWarmer&) = delete;
    PageWarmer& operator=(const PageWarmer&) = delete;

    // Queues [bytes, bytes + size) and returns at once; ranges are warmed
    // in the order they came. Does nothing where the system cannot warm.
    void Warm(void* bytes, std::size_t size) noexcept;

private:
    struct Range {
        char* bytes;
        std::size_t size;
    };
    void Run();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Range> queue_;
    bool stop_ = false;
    bool unable_ = false;
    std::thread thread_;
};
