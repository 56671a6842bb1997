#pragma once
// A text document checked against measuring its lines afresh: every line's
// width, its columns and the document's count of widths must agree with
// what display_columns says of the bytes, after any edit.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/display_columns.h"
#include "doc_test_util.h"
#include "docs/text_doc.h"

// A document whose count of line widths the test can read.
class CountedDoc : public TextDoc {
public:
    using TextDoc::TextDoc;
    using LinesDoc::Widths;
};

// The text is the model's, and every width and column agrees with a fresh
// measure.
inline void ExpectTrue(CountedDoc& doc, const std::vector<std::string>& model)
{
    ASSERT_EQ(LinesOf(doc), model);
    int widest = 0;
    for (int i = 0; i < doc.LineCount(); ++i) {
        const TextLine* line = doc.GetLine(i);
        const int width = text::DisplayWidth(line->View(), doc.TabSize());
        ASSERT_EQ(doc.LineWidth(line), width) << "line " << i;
        for (const int column : {1, width / 2, width - 1, width})
            ASSERT_EQ(doc.ColumnToIndex(line, column), int(text::ColumnToIndex(line->View(), doc.TabSize(), column)))
                << "line " << i << " column " << column;
        const auto half = std::size_t(line->Length() / 2);
        ASSERT_EQ(doc.PrefixWidth(line, int(half)), text::DisplayWidth(line->View().substr(0, half), doc.TabSize()))
            << "line " << i;
        ASSERT_EQ(line->Text()[line->Length()], '\0');
        widest = std::max(widest, width);
    }
    ASSERT_TRUE(doc.Widths().Valid());
    ASSERT_EQ(doc.Widths().Widest(), widest);
}
