// The line table with its gap, and the widest-line bookkeeping that goes
// with it, against plain vectors doing the same edits.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "doc_test_util.h"
#include "docs/line_table.h"
#include "docs/lines_doc.h"
#include "docs/width_tally.h"

using Lines = std::vector<std::string>;

TEST(LineTable, GapMovesKeepTheOrderAndFreeSlotsStayEmpty)
{
    LineTable table;
    std::vector<std::string> model;
    std::mt19937 random(7);
    for (int step = 0; step < 1200; ++step) {
        const std::size_t at = model.empty() ? 0 : random() % (model.size() + 1);
        if (model.size() < 50 || random() % 3 != 0) {
            const std::size_t count = 1 + random() % 40;
            ASSERT_TRUE(table.Replace(at, 0, count));
            for (std::size_t i = 0; i < count; ++i) {
                const std::string text = std::to_string(step) + "." + std::to_string(i);
                EXPECT_EQ(table[at + i].Length(), 0);  // a new slot is empty
                table[at + i].SetText(text);
                model.insert(model.begin() + static_cast<long>(at + i), text);
            }
        } else {
            const std::size_t erase = std::min<std::size_t>(model.size() - at, 1 + random() % 60);
            for (std::size_t i = 0; i < erase; ++i) table[at + i].SetText({});
            ASSERT_TRUE(table.Replace(at, erase, 0));
            model.erase(model.begin() + static_cast<long>(at), model.begin() + static_cast<long>(at + erase));
        }
        ASSERT_EQ(table.Size(), model.size());
        if (step % 97 == 0) {
            for (std::size_t i = 0; i < model.size(); ++i) ASSERT_EQ(table[i].View(), model[i]) << i;
        }
    }
    // A table that shrank far below its room gives most of it back.
    for (std::size_t i = 0; i < table.Size(); ++i) table[i].SetText({});
    ASSERT_TRUE(table.Replace(0, table.Size() - 1, 0));
    EXPECT_LT(table.Capacity(), 4096u);
}

TEST(LineTable, AppendWithinReservedRoomAndTrim)
{
    LineTable table;
    ASSERT_TRUE(table.Reserve(1000));
    const TextLine* first = nullptr;
    for (int i = 0; i < 1000; ++i) {
        if (i > 0) {
            EXPECT_EQ(table.RoomAfterLast(), &table[i - 1] + 1);  // where the next line goes
        }
        table.Append(TextLine(std::to_string(i)));
        if (i == 0) first = &table[0];
    }
    EXPECT_EQ(table.RoomAfterLast(), nullptr);  // full
    EXPECT_EQ(first, &table[0]);  // appends within the room never move lines
    EXPECT_EQ(table[999].View(), "999");
    table.Trim(0);
    EXPECT_EQ(table.Capacity(), 1000u);
    EXPECT_EQ(table[500].View(), "500");

    // With the gap moved inside, there is no room after the last line.
    table[10].SetText({});
    ASSERT_TRUE(table.Replace(10, 1, 0));
    EXPECT_EQ(table.RoomAfterLast(), nullptr);
}

TEST(WidthTally, WidestFollowsAddsAndRemovalsOfNarrowAndHugeWidths)
{
    WidthTally tally;
    EXPECT_FALSE(tally.Valid());
    tally.Reset(4);
    tally.Add(3);
    tally.Add(70000);
    tally.Add(70000);
    tally.Add(12);
    EXPECT_EQ(tally.Widest(), 70000);
    tally.Remove(70000);
    EXPECT_EQ(tally.Widest(), 70000);
    tally.Change(70000, 5);
    EXPECT_EQ(tally.Widest(), 12);
    tally.Remove(12);
    EXPECT_EQ(tally.Widest(), 5);
    // Removing a width never counted is a bookkeeping fault: the tally
    // gives up rather than answer wrongly.
    tally.Remove(999);
    EXPECT_FALSE(tally.Valid());
}

TEST(LinesDoc, RandomLineEditsKeepTextAndWidestLineExact)
{
    LinesDoc doc;
    Lines model;
    std::mt19937 random(11);
    const auto text = [&](int step) { return std::string(1 + random() % 30, static_cast<char>('a' + step % 26)); };
    for (int step = 0; step < 2000; ++step) {
        const int count = static_cast<int>(model.size());
        const int at = count == 0 ? 0 : static_cast<int>(random() % static_cast<unsigned>(count + 1));
        switch (random() % 4) {
        case 0: {
            const std::string line = text(step) + (random() % 4 == 0 ? "\t|" : "");
            ASSERT_TRUE(doc.InsertLine(at, line));
            model.insert(model.begin() + at, line);
            break;
        }
        case 1: {
            const int n = 1 + static_cast<int>(random() % 5);
            ASSERT_TRUE(doc.DeleteLines(at, n));
            model.erase(model.begin() + at, model.begin() + std::min(at + n, count));
            break;
        }
        case 2:
            if (at < count) {
                const std::string more = text(step);
                ASSERT_TRUE(doc.InsertChars(at, more, 0));
                model[static_cast<std::size_t>(at)].insert(0, more);
            }
            break;
        default:
            if (at < count) {
                ASSERT_TRUE(doc.DeleteChars(at, 0, 7));
                auto& line = model[static_cast<std::size_t>(at)];
                line.erase(0, std::min<std::size_t>(7, line.size()));
            }
        }
        ASSERT_EQ(doc.LineCount(), static_cast<int>(model.size()));
        if (step % 50 == 0) {
            ASSERT_EQ(LinesOf(doc), model);
            doc.UpdateMaxWidth(-1);
            int widest = 0;
            for (int i = 0; i < doc.LineCount(); ++i) widest = std::max(widest, doc.LineWidth(doc.GetLine(i)));
            ASSERT_EQ(doc.MaxWidth(), widest) << "step " << step;
        }
    }
    // A new tab size makes every counted width stale: the next recompute
    // measures afresh.
    doc.InsertLine(0, "\t\tx");
    doc.SetTabSize(9);
    doc.UpdateMaxWidth(-1);
    int widest = 0;
    for (int i = 0; i < doc.LineCount(); ++i) widest = std::max(widest, doc.LineWidth(doc.GetLine(i)));
    EXPECT_EQ(doc.MaxWidth(), widest);
}
