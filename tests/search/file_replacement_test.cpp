// The replacement of a grep run in one file: exactly the occurrences the
// scan finds, every other byte as it was.
#include "recording_host.h"
#include "search/file_replacement.h"
#include "search/grep_engine.h"
#include "search/text_matcher.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

namespace {

TEST(TextMatcher, FindsSpansByTheScansRules)
{
    const struct {
        const char* line;
        const char* pattern;
        bool case_sensitive, whole_words;
        std::vector<ByteSpan> spans;
    } cases[] = {
        {"int\tx = 1;", "int x", false, false, {}},  // a tab is no space
        {"a foo FOO fOo", "foo", false, false, {{2, 5}, {6, 9}, {10, 13}}},
        {"a foo FOO", "foo", true, false, {{2, 5}}},
        {"foox foo_ (foo) 1foo", "foo", false, true, {{5, 8}, {11, 14}}},
        // A rejected occurrence is stepped over whole, as the scan does.
        {"xa a a", "a a", false, true, {}},
        {"\xc3\xa9t\xc3\xa9 t\xc3\xa9", "t\xc3\xa9", false, true, {{6, 9}}},
        {"", "x", false, false, {}},
        {"abc", "", false, false, {}},
    };
    for (const auto& c : cases) {
        const TextMatcher matcher(c.pattern, c.case_sensitive, c.whole_words);
        std::vector<ByteSpan> found;
        for (auto span = matcher.Find(c.line, 0); span; span = matcher.Find(c.line, span->end)) found.push_back(*span);
        EXPECT_EQ(found, c.spans) << c.line << " / " << c.pattern;
    }
}

TEST(FileReplacement, ReplacesWhatTheScanListsAndKeepsEveryOtherByte)
{
    const struct {
        const char* name;
        std::string before;
        const char* pattern;
        bool whole_words, all;
        std::string after;
        FileReplacementOutcome outcome;
    } cases[] = {
        {"tab", "int\tx = 1;\nint x = 2;\n", "int x", false, true, "int\tx = 1;\nlong y = 2;\n",
         FileReplacementOutcome::kReplaced},
        {"first only", "a int x\nint x int x\n", "int x", false, false, "a long y\nint x int x\n",
         FileReplacementOutcome::kReplaced},
        {"line ends", "int x\r\nint x\nq\rint x", "int x", false, true, "long y\r\nlong y\nq\rlong y",
         FileReplacementOutcome::kReplaced},
        {"words", "int xy int x\n", "int x", true, true, "int xy long y\n", FileReplacementOutcome::kReplaced},
        {"none", "int\tx\n", "int x", false, true, "int\tx\n", FileReplacementOutcome::kNotFound},
        // The replacement makes no new occurrence to be replaced again.
        {"no cascade", "int xint x\n", "int x", false, true, "long ylong y\n", FileReplacementOutcome::kReplaced},
    };
    for (const auto& c : cases) {
        TempTree tree;
        const std::string path = tree.Write("f.txt", c.before);
        const TextMatcher matcher(c.pattern, false, c.whole_words);
        EXPECT_EQ(ReplaceInTextFile(path, matcher, "long y", c.all), c.outcome) << c.name;
        EXPECT_EQ(tree.Read("f.txt"), c.after) << c.name;
    }
    TempTree tree;
    EXPECT_EQ(ReplaceInTextFile(tree.Path("gone.txt"), TextMatcher("x", false, false), "y", true),
              FileReplacementOutcome::kNotOpened);
}

TEST(FileReplacement, ReplacesExactlyTheLinesTheEngineLists)
{
    // For each text, the lines the engine lists and the lines the
    // replacement changes are the same.
    TempTree tree;
    const std::string text = "int\tx\nint x\nINT X\nint  x\nxint x\nint xy\n";
    tree.Write("t/f.txt", text);
    for (const bool words : {false, true}) {
        for (const bool match_case : {false, true}) {
            tree.Write("t/f.txt", text);
            RecordingHost host;
            GrepEngine engine(host);
            engine.options.pattern = "int x";
            engine.options.path = tree.Path("t/*.txt");
            engine.options.show_lines = true;
            engine.options.whole_words = words;
            engine.options.case_sensitive = match_case;
            engine.RunSearch();
            std::vector<int> listed;
            for (const std::string& line : host.results) listed.push_back(std::stoi(line.substr(line.find('\t') + 1)));
            ReplaceInTextFile(tree.Path("t/f.txt"), TextMatcher("int x", match_case, words), "@", true);
            const std::string after = tree.Read("t/f.txt");
            std::vector<int> changed;
            int number = 1;
            for (std::size_t i = 0; i < after.size(); ++i) {
                if (after[i] == '@') changed.push_back(number);
                if (after[i] == '\n') ++number;
            }
            EXPECT_EQ(changed, listed) << "words " << words << " case " << match_case;
        }
    }
}

} // namespace
