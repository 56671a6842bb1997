#include "docs/page_warmer.h"

#include <cerrno>
#include <cstdint>
#include <sys/mman.h>

namespace {

// Ranges are warmed a slice at a time, so that a stop waits for one slice.
constexpr std::size_t kSlice = std::size_t{2} << 20;
constexpr std::uintptr_t kPage = 4096;

} // namespace

PageWarmer::~PageWarmer()
{
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable()) thread_.join();
}

void PageWarmer::Warm(void* bytes, std::size_t size) noexcept
{
    // Only whole pages inside the range: the bytes around it may be in use.
    const auto begin = (reinterpret_cast<std::uintptr_t>(bytes) + kPage - 1) & ~(kPage - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(bytes) + size) & ~(kPage - 1);
    if (end <= begin) return;
    try {
        const std::lock_guard lock(mutex_);
        if (unable_ || stop_) return;
        queue_.push_back({reinterpret_cast<char*>(begin), end - begin});
        if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
    } catch (...) {
        // Without a thread or room in the queue, the memory is backed when
        // it is first written, as always.
        return;
    }
    wake_.notify_one();
}

void PageWarmer::Run()
{
    std::unique_lock lock(mutex_);
    while (true) {
        wake_.wait(lock, [this] { return stop_ || !queue_.empty(); });
        if (stop_) return;
        Range& range = queue_.front();
        const std::size_t slice = range.size < kSlice ? range.size : kSlice;
        char* const bytes = range.bytes;
        range.bytes += slice;
        range.size -= slice;
        if (range.size == 0) queue_.pop_front();
        lock.unlock();
#ifdef MADV_POPULATE_WRITE
        // Backs the pages as a write would, without writing: ENOMEM for a
        // range freed meanwhile is harmless; EINVAL means an older kernel.
        const bool unsupported = ::madvise(bytes, slice, MADV_POPULATE_WRITE) != 0 && errno == EINVAL;
#else
        const bool unsupported = true;
#endif
        lock.lock();
        if (unsupported) {
            unable_ = true;
            queue_.clear();
        }
    }
}
