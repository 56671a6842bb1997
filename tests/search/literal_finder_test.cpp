// The screened search and the line-feed count against the plain loops, at
// every alignment and length around the vector widths.

#include "search/line_feeds.h"
#include "search/literal_finder.h"

#include "base/text_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

const char* NaiveFind(const std::string& p, bool fold, const char* s, const char* end)
{
    const std::size_t m = p.size();
    for (; m > 0 && static_cast<std::size_t>(end - s) >= m; ++s) {
        bool same = true;
        for (std::size_t i = 0; i < m && same; ++i)
            same = fold ? text::ToLowerAscii(s[i]) == text::ToLowerAscii(p[i]) : s[i] == p[i];
        if (same) return s;
    }
    return nullptr;
}

} // namespace

TEST(LiteralFinder, AgreesWithThePlainSearch)
{
    std::mt19937 random(7);
    const std::string alphabet("aAbB@`\0\xe9\xc9z", 10);
    for (int round = 0; round < 3000; ++round) {
        std::string data(random() % 200, 'a');
        for (char& c : data) c = alphabet[random() % alphabet.size()];
        std::string pattern(1 + random() % 6, 'a');
        for (char& c : pattern) c = alphabet[random() % alphabet.size()];
        const bool fold = round % 2;
        const LiteralFinder finder(pattern, !fold);
        const std::size_t from = data.empty() ? 0 : random() % data.size();
        const char* begin = data.data() + from;
        const char* end = data.data() + data.size();
        ASSERT_EQ(finder.Find(begin, end), NaiveFind(pattern, fold, begin, end))
            << "round " << round << " pattern " << testing::PrintToString(pattern);
    }
}

TEST(LiteralFinder, FindsInLongBlocksAndNeverBeyondTheEnd)
{
    std::string data(10000, 'x');
    data.replace(9990, 6, "NeEdLe");
    EXPECT_EQ(LiteralFinder("needle", false).Find(data.data(), data.data() + data.size()), data.data() + 9990);
    EXPECT_EQ(LiteralFinder("needle", true).Find(data.data(), data.data() + data.size()), nullptr);
    EXPECT_EQ(LiteralFinder("needle", false).Find(data.data(), data.data() + 9995), nullptr);
    EXPECT_EQ(LiteralFinder("", false).Find(data.data(), data.data() + data.size()), nullptr);
}

TEST(LineFeeds, CountAgreesWithStdCount)
{
    std::mt19937 random(3);
    std::string data(70000, 'a');
    for (char& c : data) c = random() % 5 == 0 ? '\n' : 'a';
    for (int round = 0; round < 500; ++round) {
        const std::size_t a = random() % data.size();
        const std::size_t b = a + random() % (data.size() - a);
        ASSERT_EQ(CountLineFeeds(data.data() + a, data.data() + b),
                  static_cast<std::size_t>(std::count(data.begin() + a, data.begin() + b, '\n')));
    }
    const std::string all(100000, '\n');  // every byte lane full, many times over
    EXPECT_EQ(CountLineFeeds(all.data(), all.data() + all.size()), all.size());
}
