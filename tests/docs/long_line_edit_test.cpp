// Character edits of a long line fresh from a file. A line alone in the
// chunk the load put it in is edited where it lies, the chunk becoming the
// line's own block; a line that shares its chunk is copied out first. Each
// edit is checked against a model and against widths measured afresh, then
// undone back to the file's bytes, which a save must write again.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "measured_doc.h"
#include "support/temp_tree.h"

namespace {

using Lines = std::vector<std::string>;

// Long enough to be worth editing in place (just over 64 kB).
std::string LongLine(bool plain)
{
    std::string line;
    const std::string piece = plain ? "abcdefghijklmnopqrstuvwxyz0123456789" : "ab\t\xC3\xA9" "c\xE4\xB8\xAD" "de ";
    while (line.size() < 66000) line += piece;
    return line;
}

// Where the long line lies: alone in the file, alone once the line before
// it is deleted, or between two others in one chunk.
enum class Place { kAlone, kAloneOnceTheFirstGoes, kShared };

struct Loaded {
    TempTree tree;
    std::string path;
    CountedDoc doc;
    Lines model;
    int index = 0;  // the long line's
    Loaded(const std::string& line, Place place, const std::string& ending, int tabSize)
        : path(tree.Write("f.txt", place == Place::kAlone ? line + ending
                                   : place == Place::kShared ? "first\n" + line + "\nlast" + ending
                                                             : "first\n" + line + ending)),
          doc(path)
    {
        doc.SetTabSize(tabSize);
        EXPECT_TRUE(doc.Load());
        if (place == Place::kAloneOnceTheFirstGoes) {
            EXPECT_TRUE(doc.DeleteLines(0, 1));
        }
        model = place == Place::kShared ? Lines{"first", line, "last"} : Lines{line};
        index = place == Place::kShared ? 1 : 0;
    }
    // What a save writes for the model.
    std::string Saved() const
    {
        const std::string end = doc.GetLineEnd() == LinesDoc::LineEnd::kLf ? "\n" : "\r\n";
        std::string bytes;
        for (const std::string& line : model) bytes += line + end;
        return bytes;
    }
};

struct EditRow {
    const char* name;
    int at;  // byte index
    bool from_end;  // at counts back from the line's end
    int erase;
    std::string text;
    bool paste = false;  // through InsertText, as a paste goes
};

const EditRow kEdits[] = {
    {"TypeAtTheStart", 0, false, 0, "q"},
    {"TypeInTheMiddle", 33001, false, 0, "q"},
    {"TypeAtTheEnd", 0, true, 0, "q"},
    {"TypeATab", 33001, false, 0, "\t"},
    {"TypeATwoByteCharacter", 33001, false, 0, "\xC3\xB6"},
    {"TypeAWideCharacterAtTheEnd", 0, true, 0, "\xE4\xB8\xAD"},
    {"DeleteTheFirstByte", 0, false, 1, ""},
    {"DeleteInTheMiddle", 33001, false, 1, ""},
    {"DeleteTheLastByte", 1, true, 1, ""},
    {"PasteAWord", 33001, false, 0, "pasted", true},
    {"ReplaceAStretch", 777, false, 40, "instead"},
    {"TypeInsideACharacter", 4, false, 0, "x"},
    {"DeleteHalfACharacter", 4, false, 1, ""},
    {"TypeALeadByteBeforeTheLastByte", 1, true, 0, "\xC3"},
};

class LoadedLongLine
    : public ::testing::TestWithParam<std::tuple<EditRow, Place, const char*, bool>> {};

// Each edit and its undo, twice: the first takes the chunk over, the second
// edits a line that already owns it.
TEST_P(LoadedLongLine, EditsAndUndoesBackToTheFileBytes)
{
    const auto& [row, place, ending, plain] = GetParam();
    {
        const std::string line = LongLine(plain);
        Loaded loaded(line, place, ending, 3);
        CountedDoc& doc = loaded.doc;
        ASSERT_NO_FATAL_FAILURE(ExpectTrue(doc, loaded.model));
        for (int round = 0; round < 2; ++round) {
            SCOPED_TRACE(round);
            std::string& text = loaded.model[std::size_t(loaded.index)];
            const int at = row.from_end ? int(text.size()) - row.at : row.at;
            const std::string erased = text.substr(std::size_t(at), std::size_t(row.erase));
            if (row.paste) {
                const TextPosition column{loaded.index, doc.PrefixWidth(doc.GetLine(loaded.index), at)};
                const TextPosition end = doc.InsertText(row.text, column);
                ASSERT_EQ(end.column, column.column + int(row.text.size()));
            } else {
                ASSERT_TRUE(doc.ReplaceChars(loaded.index, at, row.erase, row.text));
            }
            text.replace(std::size_t(at), std::size_t(row.erase), row.text);
            ASSERT_NO_FATAL_FAILURE(ExpectTrue(doc, loaded.model));
            ASSERT_TRUE(doc.ReplaceChars(loaded.index, at, int(row.text.size()), erased));
            text.replace(std::size_t(at), row.text.size(), erased);
            ASSERT_NO_FATAL_FAILURE(ExpectTrue(doc, loaded.model));
        }
        ASSERT_EQ(loaded.model[std::size_t(loaded.index)], line);
        ASSERT_TRUE(doc.Save());
        EXPECT_EQ(loaded.tree.Read("f.txt"), loaded.Saved());
    }
}

const char* PlaceName(Place place)
{
    return place == Place::kAlone ? "Alone" : place == Place::kShared ? "Shared" : "AloneOnceTheFirstGoes";
}

INSTANTIATE_TEST_SUITE_P(Edits, LoadedLongLine,
                         ::testing::Combine(::testing::ValuesIn(kEdits),
                                            ::testing::Values(Place::kAlone, Place::kAloneOnceTheFirstGoes,
                                                              Place::kShared),
                                            ::testing::Values("", "\n", "\r\n"), ::testing::Bool()),
                         [](const auto& info) {
                             const char* ending = std::get<2>(info.param);
                             return std::string(std::get<0>(info.param).name) + PlaceName(std::get<1>(info.param)) +
                                    (*ending == 0 ? "NoLineEnd" : ending[0] == '\r' ? "CrLf" : "Lf") +
                                    (std::get<3>(info.param) ? "Plain" : "Mixed");
                         });

// The first edit of a line alone in its chunk moves none of its bytes: the
// text stays where the load put it and the chunk becomes the line's. A line
// that shares its chunk is copied out, the chunk staying for the others.
TEST(LoadedLongLineInPlace, TheChunkBecomesTheLinesOwnBlock)
{
    for (const bool plain : {true, false}) {
        const std::string line = LongLine(plain);
        Loaded alone(line, Place::kAlone, "\n", 4);
        const char* before = alone.doc.GetLine(0)->Text();
        ASSERT_GT(alone.doc.ChunkBytes(), 0u);
        ASSERT_TRUE(alone.doc.InsertChars(0, "q", -1));
        EXPECT_EQ(alone.doc.GetLine(0)->Text(), before);
        EXPECT_EQ(alone.doc.ChunkBytes(), 0u);
        // Typing on past the chunk's end grows the block.
        std::string model = line + "q";
        const std::string more(1000, 'm');
        for (int i = 0; i < 50; ++i) {
            ASSERT_TRUE(alone.doc.InsertChars(0, more, 1000));
            model.insert(1000, more);
        }
        ASSERT_NO_FATAL_FAILURE(ExpectTrue(alone.doc, {model}));

        Loaded shared(line, Place::kShared, "\n", 4);
        const std::size_t chunk = shared.doc.ChunkBytes();
        ASSERT_TRUE(shared.doc.InsertChars(1, "q", -1));
        EXPECT_EQ(shared.doc.ChunkBytes(), chunk);
        ASSERT_NO_FATAL_FAILURE(ExpectTrue(shared.doc, {"first", line + "q", "last"}));
    }
}

// What the load measured of the line is for its tab size only, and for its
// bytes only: after a new tab size, or a split and a join inside the chunk,
// the first edit still leaves every width right.
TEST(LoadedLongLineInPlace, WidthsHoldAfterATabSizeChangeAndASplit)
{
    const std::string line = LongLine(false);
    {
        Loaded loaded(line, Place::kAlone, "", 4);
        loaded.doc.SetTabSize(8);
        loaded.doc.UpdateMaxWidth(-1);  // counts the widths at the new size
        ASSERT_TRUE(loaded.doc.InsertChars(0, "\t", 3));
        ASSERT_NO_FATAL_FAILURE(ExpectTrue(loaded.doc, {line.substr(0, 3) + "\t" + line.substr(3)}));
    }
    for (const int at : {10, 60000}) {
        Loaded loaded(line, Place::kAlone, "\r\n", 4);
        ASSERT_TRUE(loaded.doc.SplitLine(0, at));
        ASSERT_TRUE(loaded.doc.InsertChars(1, "\xC3\xA9", 0));
        ASSERT_TRUE(loaded.doc.InsertChars(0, "\t", 0));
        ASSERT_NO_FATAL_FAILURE(ExpectTrue(loaded.doc, {"\t" + line.substr(0, std::size_t(at)),
                                                        "\xC3\xA9" + line.substr(std::size_t(at))}));
        ASSERT_TRUE(loaded.doc.DeleteChars(0, 0, 1));
        ASSERT_TRUE(loaded.doc.DeleteChars(1, 0, 2));
        ASSERT_TRUE(loaded.doc.JoinLines(0));
        ASSERT_TRUE(loaded.doc.InsertChars(0, "z", at));
        ASSERT_TRUE(loaded.doc.DeleteChars(0, at, 1));
        ASSERT_NO_FATAL_FAILURE(ExpectTrue(loaded.doc, {line}));
        ASSERT_TRUE(loaded.doc.Save());
        EXPECT_EQ(loaded.tree.Read("f.txt"), line + "\r\n");
    }
}

// The line's bytes go with it: deleting the line that took its chunk over,
// or clearing the document, frees the block (the leak checker watches).
TEST(LoadedLongLineInPlace, TheTakenChunkGoesWithTheLine)
{
    const std::string line = LongLine(true);
    Loaded deleted(line, Place::kAlone, "\n", 4);
    ASSERT_TRUE(deleted.doc.DeleteChars(0, 0, 1));
    ASSERT_TRUE(deleted.doc.InsertLine(1, "next"));
    ASSERT_TRUE(deleted.doc.DeleteLines(0, 1));
    ASSERT_NO_FATAL_FAILURE(ExpectTrue(deleted.doc, {"next"}));
    Loaded cleared(line, Place::kAlone, "\n", 4);
    ASSERT_TRUE(cleared.doc.InsertChars(0, "q", 5));
    cleared.doc.Clear();
    EXPECT_EQ(cleared.doc.LineCount(), 0);
}

} // namespace
