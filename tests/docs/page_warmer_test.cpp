// Memory warmed ahead of a load is backed without a byte of it changing,
// and memory that goes away before its turn is passed over.

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <sys/mman.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "docs/page_warmer.h"

namespace {

constexpr std::size_t kSize = std::size_t{6} << 20;

// Pages of [bytes, bytes + size) that are backed now.
std::size_t ResidentPages(void* bytes, std::size_t size)
{
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    std::vector<unsigned char> flags((size + page - 1) / page);
    if (::mincore(bytes, size, flags.data()) != 0) return 0;
    std::size_t resident = 0;
    for (const unsigned char flag : flags) resident += flag & 1;
    return resident;
}

bool SystemCanWarm()
{
#ifdef MADV_POPULATE_WRITE
    void* probe = ::mmap(nullptr, 4096, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    const bool can = probe != MAP_FAILED && ::madvise(probe, 4096, MADV_POPULATE_WRITE) == 0;
    if (probe != MAP_FAILED) ::munmap(probe, 4096);
    return can;
#else
    return false;
#endif
}

} // namespace

TEST(PageWarmer, BacksFreshMemoryAndKeepsEveryByteOfMemoryInUse)
{
    auto* fresh = static_cast<char*>(::mmap(nullptr, kSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(fresh, MAP_FAILED);
    std::vector<char> used(kSize);
    for (std::size_t i = 0; i < used.size(); ++i) used[i] = static_cast<char>(i * 7 + 1);
    const std::vector<char> before = used;
    {
        PageWarmer warmer;
        // Not page-aligned on purpose: only the whole pages inside are touched.
        warmer.Warm(used.data() + 1, used.size() - 2);
        warmer.Warm(fresh, kSize);
        const auto pages = kSize / static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
        if (SystemCanWarm()) {
            const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
            while (ResidentPages(fresh, kSize) < pages && std::chrono::steady_clock::now() < until)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            EXPECT_EQ(ResidentPages(fresh, kSize), pages);
        }
    }
    EXPECT_TRUE(used == before);
    for (std::size_t i = 0; i < kSize; i += 4096) ASSERT_EQ(fresh[i], 0) << i;  // still cleared memory
    ::munmap(fresh, kSize);
}

TEST(PageWarmer, MemoryGoneBeforeItsTurnAndAStopHalfWayAreHarmless)
{
    PageWarmer warmer;
    for (int i = 0; i < 20; ++i) {
        void* bytes = ::mmap(nullptr, kSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        ASSERT_NE(bytes, MAP_FAILED);
        warmer.Warm(bytes, kSize);
        ::munmap(bytes, kSize);
    }
    warmer.Warm(nullptr, 0);  // nothing to warm
    // The warmer is destroyed with ranges still queued: it stops at once.
}
