#pragma once
// Small helpers for the document tests.

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "docs/lines_doc.h"

// Appends the given lines to a document and clears its modified flag.
inline void Fill(LinesDoc& doc, std::initializer_list<std::string_view> lines)
{
    for (const auto line : lines) doc.InsertLine(doc.LineCount(), line);
    doc.SetModified(false);
}

// The document's lines as strings, NUL bytes included.
inline std::vector<std::string> LinesOf(const LinesDoc& doc)
{
    std::vector<std::string> out;
    for (int i = 0; i < doc.LineCount(); ++i) out.emplace_back(doc.GetLine(i)->View());
    return out;
}
