// The Grep window's results at scale, without a window: the memory a hit
// costs in the list (10 M hits over a few thousand files), the time the
// text column takes to read the rows of one screen, and the filter's time
// per key typed over 1 M rows (the first key reads the texts once).
//
//   results_bench DIR    (a scratch directory; files are written there)

#include "search/hit_texts.h"
#include "search/result_filter.h"
#include "search/result_store.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

double Ms(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: results_bench DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    std::filesystem::create_directories(dir);

    // 1 M hits: 1,000 files of 1,000 lines, every line a hit.
    constexpr int kFiles = 1000, kLines = 1000;
    ResultStore store;
    HitTexts texts;
    texts.SetMatcher(std::make_unique<TextMatcher>("needle", false, false));
    for (int f = 0; f < kFiles; ++f) {
        const std::string path = dir + "/src/module" + std::to_string(f / 100) + "/file" + std::to_string(f) + ".c";
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream out(path, std::ios::binary);
        std::uint64_t offset = 0;
        texts.NoteFile(store.size(), path);
        for (int n = 1; n <= kLines; ++n) {
            const std::string line = "    call_needle(" + std::to_string(n * 7919 % 100003) + ", item_" +
                                     std::to_string(f * kLines + n) + ");  /* needle */\n";
            out << line;
            store.Append(path, static_cast<std::uint64_t>(n), offset);
            offset += line.size();
        }
    }
    std::printf("1 M hits: %zu bytes held, %.1f bytes a hit (paths included)\n", store.BytesHeld(),
                static_cast<double>(store.BytesHeld()) / static_cast<double>(store.size()));

    // One screen of rows read, then read again (kept).
    auto start = std::chrono::steady_clock::now();
    for (std::size_t row = 500000; row < 500040; ++row)
        texts.Row(row, store.FirstRowOfPath(row), std::string(store.Path(row)), store.LineOffset(row));
    std::printf("text column, 40 rows read: %.2f ms\n", Ms(std::chrono::steady_clock::now() - start));
    start = std::chrono::steady_clock::now();
    for (std::size_t row = 500000; row < 500040; ++row)
        texts.Row(row, store.FirstRowOfPath(row), std::string(store.Path(row)), store.LineOffset(row));
    std::printf("text column, 40 rows again: %.2f ms\n", Ms(std::chrono::steady_clock::now() - start));

    // The texts read as the field is entered, then "item_5" typed key by
    // key, then a path filter.
    ResultFilter filter;
    start = std::chrono::steady_clock::now();
    filter.ReadTexts(store);
    std::printf("filter texts read: %.1f ms\n", Ms(std::chrono::steady_clock::now() - start));
    std::string typed;
    for (const char c : std::string("item_5")) {
        typed += c;
        start = std::chrono::steady_clock::now();
        const std::size_t rows = filter.Rows(store, typed).size();
        std::printf("filter \"%s\": %zu rows, %.1f ms\n", typed.c_str(), rows,
                    Ms(std::chrono::steady_clock::now() - start));
    }
    start = std::chrono::steady_clock::now();
    const std::size_t by_path = filter.Rows(store, "module7").size();
    std::printf("filter \"module7\": %zu rows, %.1f ms; texts held %zu bytes\n", by_path,
                Ms(std::chrono::steady_clock::now() - start), filter.BytesHeld());

    // 10 M hits of 5,000 files: the store alone.
    ResultStore big;
    for (int f = 0; f < 5000; ++f) {
        const std::string path = "/home/user/projects/tree/src/module" + std::to_string(f % 50) + "/file" +
                                 std::to_string(f) + ".c";
        for (int n = 1; n <= 2000; ++n) big.Append(path, static_cast<std::uint64_t>(n), std::uint64_t(n) * 60);
    }
    std::printf("10 M hits: %zu bytes held, %.1f bytes a hit (paths included)\n", big.BytesHeld(),
                static_cast<double>(big.BytesHeld()) / static_cast<double>(big.size()));
    return 0;
}
