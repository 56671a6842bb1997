// Scanning one file: what a line is, what counts as a hit, whole words,
// case folding, and the replacement hand-off. A reference scan, written the
// plain way (text-mode lines, one at a time), checks the block scan on
// random files that cross block borders.

#include "recording_host.h"
#include "search/file_reading.h"
#include "search/grep_engine.h"
#include "support/temp_tree.h"

#include "base/characters.h"
#include "base/text_rules.h"

#include <gtest/gtest.h>

#include <random>

namespace {

struct Flags {
    bool case_sensitive = false;
    bool whole_words = false;
    bool show_lines = true;
};

// Line numbers listed for `contents` searched for `pattern`.
std::vector<long> Hits(const std::string& contents, const std::string& pattern, Flags flags = {})
{
    TempTree tree;
    const std::string path = tree.Write("f.txt", contents);
    RecordingHost host;
    GrepEngine engine(host);
    engine.options.pattern = pattern;
    engine.options.case_sensitive = flags.case_sensitive;
    engine.options.whole_words = flags.whole_words;
    engine.options.show_lines = flags.show_lines;
    engine.SearchFile(path);
    std::vector<long> lines;
    for (const std::string& r : host.results) {
        EXPECT_EQ(r.substr(0, r.find('\t')), path);
        lines.push_back(std::stol(r.substr(r.find('\t') + 1)));
    }
    EXPECT_EQ(engine.matches, static_cast<long>(lines.size()));
    return lines;
}

using Lines = std::vector<long>;

// The search done line by line, as the rules read.
Lines ReferenceHits(const std::string& data, const std::string& pattern, Flags flags)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < data.size()) {
        const std::size_t lf = data.find('\n', start);
        if (lf == std::string::npos) {
            lines.push_back(data.substr(start));
            break;
        }
        std::string line = data.substr(start, lf - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = lf + 1;
    }
    const std::string p = flags.case_sensitive ? pattern : text::LowerAscii(pattern);
    const std::size_t m = p.size();
    Lines hits;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string l = flags.case_sensitive ? lines[i] : text::LowerAscii(lines[i]);
        std::size_t pos = l.find(p);
        const auto whole = [&](std::size_t at) {
            if (!flags.whole_words) return true;
            return text::WordEndsBefore(l, at) && text::WordEndsAt(l, at + m);
        };
        while (pos != std::string::npos && !whole(pos)) pos = l.find(p, pos + m);
        if (pos == std::string::npos) continue;
        hits.push_back(static_cast<long>(i + 1));
        if (!flags.show_lines) break;
    }
    return hits;
}

} // namespace

TEST(GrepScan, FirstMatchingLineOnlyUnlessAllLinesAreWanted)
{
    const std::string text = "one\ntwo\nthe hit\nfour\nfive\nsix\nhit hit again\n";
    EXPECT_EQ(Hits(text, "hit", {.show_lines = false}), Lines{3});
    // One entry per line, however many occurrences it holds.
    EXPECT_EQ(Hits(text, "hit", {.show_lines = true}), (Lines{3, 7}));
    EXPECT_EQ(Hits(text, "absent"), Lines{});
}

TEST(GrepScan, CaseFoldsOnlyAsciiLetters)
{
    const std::string text = "Hello\nHELLO\nhello\n\xc9t\xc9\n\xe9t\xe9\n";
    EXPECT_EQ(Hits(text, "HeLLo"), (Lines{1, 2, 3}));
    EXPECT_EQ(Hits(text, "Hello", {.case_sensitive = true}), Lines{1});
    EXPECT_EQ(Hits(text, "\xc9T\xc9"), Lines{4});
    EXPECT_EQ(Hits(text, "@"), Lines{});  // '@' | 0x20 is '`': no false hit
    EXPECT_EQ(Hits("`\n@\n", "@"), Lines{2});
}

TEST(GrepScan, WholeWordsAreBoundedByNonWordCharacters)
{
    const Flags words{.whole_words = true};
    EXPECT_EQ(Hits("word_x\n", "word", words), Lines{1});   // underscore ends a word
    EXPECT_EQ(Hits("(word)\n", "word", words), Lines{1});
    EXPECT_EQ(Hits("word\n", "word", words), Lines{1});      // start and end of line
    // Letters of any script, UTF-8 or a Latin-1 byte, hold a word together;
    // other symbols and invalid bytes end it.
    EXPECT_EQ(Hits("\xa7word\xbb\n", "word", words), Lines{1});
    EXPECT_EQ(Hits("\xc2\xabword\xc2\xbb\n", "word", words), Lines{1});
    EXPECT_EQ(Hits("\xe9word\n", "word", words), Lines{});
    EXPECT_EQ(Hits("word\xc3\xa9\n", "word", words), Lines{});
    EXPECT_EQ(Hits("\xd0\x96word\n", "word", words), Lines{});
    EXPECT_EQ(Hits("na\xc3\xafve\n", "na\xc3\xafve", words), Lines{1});
    EXPECT_EQ(Hits("words\n", "word", words), Lines{});
    EXPECT_EQ(Hits("sword\n", "word", words), Lines{});
    EXPECT_EQ(Hits("2word\n", "word", words), Lines{});
    // A rejected occurrence glued to a letter, then one standing alone.
    EXPECT_EQ(Hits("swords word\n", "word", words), Lines{1});
    // The line before does not touch the word at the start of the next.
    EXPECT_EQ(Hits("xx\nword\n", "word", words), Lines{2});
    EXPECT_EQ(Hits("word\r\n", "word", words), Lines{1});
    // Retries never overlap the rejected occurrence.
    EXPECT_EQ(Hits("xa-a-a\n", "a-a", words), Lines{});
}

TEST(GrepScan, IsWholeWordLooksAtTheBytesAroundTheOccurrence)
{
    RecordingHost host;
    GrepEngine engine(host);
    EXPECT_TRUE(engine.IsWholeWord("xwordx", 1, 4));  // whole words off
    engine.options.whole_words = true;
    EXPECT_FALSE(engine.IsWholeWord("xword", 1, 4));
    EXPECT_FALSE(engine.IsWholeWord("word1", 0, 4));
    EXPECT_TRUE(engine.IsWholeWord("word", 0, 4));
    EXPECT_TRUE(engine.IsWholeWord("-word_", 1, 4));
}

TEST(GrepScan, ALineIsEverythingUpToItsLineFeedWhateverItsLength)
{
    std::string text = "first\n";
    text += std::string(5000, 'x') + "needle" + std::string(3000, 'y') + "\n";
    text += "after\nneedle\n";
    EXPECT_EQ(Hits(text, "needle"), (Lines{2, 4}));
    EXPECT_EQ(Hits(text, "after"), Lines{3});
    // A line longer than a whole block.
    const std::string huge = std::string(file_reading::kBlockSize * 2 + 17, 'z') + "tail\nnext\n";
    EXPECT_EQ(Hits(huge, "tail"), Lines{1});
    EXPECT_EQ(Hits(huge, "next"), Lines{2});
}

TEST(GrepScan, NulAndCtrlZAreOrdinaryBytes)
{
    EXPECT_EQ(Hits(std::string("a\0b needle\n", 11), "needle"), Lines{1});
    EXPECT_EQ(Hits(std::string("a\x1a\nneedle\n"), "needle"), Lines{2});
    EXPECT_EQ(Hits(std::string("x\0y\n", 4), std::string("\0y", 2)), Lines{1});
}

TEST(GrepScan, CarriageReturnBeforeLineFeedIsNotPartOfTheLine)
{
    EXPECT_EQ(Hits("abc\r\ndef\r\n", "def"), Lines{2});
    EXPECT_EQ(Hits("abc\r\ndef\r\n", "c\r"), Lines{});
    // A lone carriage return is kept, and so is one at the very end.
    EXPECT_EQ(Hits("a\rb\n", "a\rb"), Lines{1});
    EXPECT_EQ(Hits("x\nab\r", "b\r"), Lines{2});
    // A search text with a line feed never lies within a line.
    EXPECT_EQ(Hits("a\nb\n", "a\nb"), Lines{});
}

TEST(GrepScan, LastLineWithoutLineFeedAndEmptyFiles)
{
    EXPECT_EQ(Hits("one\nlast hit", "hit"), Lines{2});
    EXPECT_EQ(Hits("", "hit"), Lines{});
    EXPECT_EQ(Hits("\n\n\nhit", "hit"), Lines{4});
}

TEST(GrepScan, OccurrencesAcrossABlockBorderAreFoundOnTheirTrueLine)
{
    const std::size_t block = file_reading::kBlockSize;
    for (std::size_t shift = 0; shift < 12; ++shift) {
        std::string text(block - 6 + shift, 'q');
        for (std::size_t i = 100; i < text.size(); i += 1000) text[i] = '\n';
        text[text.size() - 1] = ' ';
        const long line_of_hit = 1 + static_cast<long>(std::count(text.begin(), text.end(), '\n'));
        text += "needle more\nneedle";
        SCOPED_TRACE(shift);
        EXPECT_EQ(Hits(text, "needle", {.whole_words = true}), (Lines{line_of_hit, line_of_hit + 1}));
        EXPECT_EQ(Hits(text, "NEEDLE", {.show_lines = false}), Lines{line_of_hit});
    }
}

TEST(GrepScan, WholeWordsSeeWholeCharactersAcrossABlockBorder)
{
    // A two-byte letter or symbol right before or after the occurrence,
    // split by the border between blocks wherever it falls.
    const std::size_t block = file_reading::kBlockSize;
    const Flags words{.whole_words = true};
    for (std::size_t n = block - 12; n < block + 12; ++n) {
        SCOPED_TRACE(n);
        const std::string lead(n, ' ');
        EXPECT_EQ(Hits(lead + "word\xc3\xa9\n", "word", words), Lines{});
        EXPECT_EQ(Hits(lead + "\xc3\xa9word\n", "word", words), Lines{});
        EXPECT_EQ(Hits(lead + "\xe2\x82\xacword\xc2\xbb\n", "word", words), Lines{1});
    }
}

TEST(GrepScan, BlockScanAgreesWithTheLineByLineReading)
{
    // Bytes drawn from a small alphabet give many occurrences, word borders,
    // CR LF pairs, lone CRs, NULs, UTF-8 letters and broken sequences; files of several blocks with rare line
    // feeds give lines that cross block borders.
    const std::string alphabet("aAbB _\r\n\0\xe9\xc3\xa9\x80\xe4", 14);
    std::mt19937 random(12345);
    for (int round = 0; round < 48; ++round) {
        const bool large = round % 3 == 0;
        const std::size_t size = large ? file_reading::kBlockSize * 2 + random() % 5000 : random() % 300;
        const unsigned lf_rarity = round % 2 ? 1 : 2000;  // 1: as common as the others
        std::string data(size, 'a');
        for (char& c : data) {
            c = alphabet[random() % alphabet.size()];
            if (c == '\n' && random() % lf_rarity != 0) c = 'a';
        }
        std::string pattern;
        const std::size_t m = 1 + random() % 4;
        while (pattern.size() < m) {
            const char c = alphabet[random() % alphabet.size()];
            if (c != '\n') pattern += c;
        }
        if (round % 4 == 1) pattern.back() = '\r';
        for (const Flags flags : {Flags{false, false, true}, Flags{true, false, true}, Flags{false, true, true},
                                  Flags{true, true, false}}) {
            SCOPED_TRACE(testing::Message() << "round " << round << " pattern size " << pattern.size()
                                            << " case " << flags.case_sensitive << " words "
                                            << flags.whole_words);
            EXPECT_EQ(Hits(data, pattern, flags), ReferenceHits(data, pattern, flags));
        }
    }
}

TEST(GrepScan, FilesWithAHitAreHandedOnForReplacement)
{
    TempTree tree;
    tree.Write("a.txt", "hit\n");
    tree.Write("b.txt", "miss\n");
    RecordingHost host;
    GrepEngine engine(host);
    engine.options.pattern = "hit";
    engine.options.replacement = "new";
    engine.options.path = tree.root() + "/*.txt";
    engine.options.replace = true;
    engine.options.show_lines = true;
    engine.RunSearch();
    ASSERT_EQ(host.replaced.size(), 1u);
    EXPECT_EQ(host.replaced[0].first, Canonical(tree.root()) + "/a.txt");
    EXPECT_EQ(host.replaced[0].second.replacement, "new");
    EXPECT_TRUE(host.replaced[0].second.show_lines);

    engine.options.replace = false;
    host.replaced.clear();
    engine.RunSearch();
    EXPECT_TRUE(host.replaced.empty());

    // An empty replacement replaces nothing: no file is handed on, and the
    // status says how many were left as they are.
    engine.options.replace = true;
    engine.options.replacement.clear();
    engine.RunSearch();
    EXPECT_TRUE(host.replaced.empty());
    EXPECT_EQ(host.last_status(),
              "Processed 2 files.  Found 1 matches.  Empty replacement: 1 files with hits left unchanged.");
}

TEST(GrepScan, ARunResetsItsCountersAndClearsTheList)
{
    TempTree tree;
    tree.Write("a.txt", "hit\nhit\n");
    RecordingHost host;
    GrepEngine engine(host);
    engine.options.pattern = "hit";
    engine.options.path = tree.root() + "/*.txt";
    engine.options.show_lines = true;
    engine.RunSearch();
    engine.RunSearch();
    EXPECT_EQ(host.clears, 2);
    EXPECT_EQ(host.results.size(), 2u);
    EXPECT_EQ(engine.files, 1);
    EXPECT_EQ(engine.matches, 2);
    EXPECT_EQ(host.last_status(), "Processed 1 files.  Found 2 matches.");
}
