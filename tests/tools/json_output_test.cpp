// tarnwick-grep --json read back by a JSON reader and checked against the
// files: every message parses, each match's line is the file's line at its
// offset, every submatch span is a match, and texts that are not UTF-8 come
// as base64 bytes.

#include "tool_run.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>

namespace {

std::string Bytes(const QJsonObject& data)
{
    if (data.contains("bytes")) return QByteArray::fromBase64(data["bytes"].toString().toLatin1()).toStdString();
    return data["text"].toString().toStdString();
}

std::string Folded(std::string text)
{
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::vector<QJsonObject> Messages(const std::string& out)
{
    std::vector<QJsonObject> messages;
    std::size_t from = 0;
    while (from < out.size()) {
        const std::size_t end = out.find('\n', from);
        QJsonParseError error;
        const QJsonDocument doc =
            QJsonDocument::fromJson(QByteArray::fromStdString(out.substr(from, end - from)), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << out.substr(from, end - from);
        messages.push_back(doc.object());
        from = end == std::string::npos ? out.size() : end + 1;
    }
    return messages;
}

TEST(JsonOutput, ReadsBackAsTheFilesSay)
{
    TempTree tree, scratch;
    const std::map<std::string, std::string> files = {
        {"a.txt", "Needle needle\nnone\nxNEEDLEy and needle\r\n"},
        {"b\xff.txt", std::string("\xe9 needle \0 tab\tquote\" back\\\n", 27)},
        {"c.txt", std::string(70000, 'w') + " needle\nafter\n"},
        {"d.txt", "no hit\n"},
    };
    for (const auto& [name, contents] : files) tree.Write(name, contents);
    const std::string root = std::filesystem::canonical(tree.root()).string();
    const ToolRun run = RunTool(scratch, TARNWICK_GREP_TOOL, "--json --all-lines --context 1 needle " + Quoted(root));
    ASSERT_EQ(run.exit_code, 0);

    std::string open_path;
    long matched_lines = 0, matches = 0, ends = 0;
    bool summary = false;
    for (const QJsonObject& message : Messages(run.out)) {
        const std::string type = message["type"].toString().toStdString();
        const QJsonObject data = message["data"].toObject();
        ASSERT_FALSE(summary) << "a message after the summary";
        if (type == "begin") {
            ASSERT_TRUE(open_path.empty());
            open_path = Bytes(data["path"].toObject());
            continue;
        }
        if (type == "end") {
            EXPECT_EQ(Bytes(data["path"].toObject()), open_path);
            open_path.clear();
            ++ends;
            continue;
        }
        if (type == "summary") {
            const QJsonObject stats = data["stats"].toObject();
            EXPECT_EQ(stats["matched_lines"].toInteger(), matched_lines);
            EXPECT_EQ(stats["matches"].toInteger(), matches);
            EXPECT_EQ(stats["searches"].toInteger(), 4);
            EXPECT_EQ(stats["searches_with_match"].toInteger(), ends);
            summary = true;
            continue;
        }
        ASSERT_TRUE(type == "match" || type == "context") << type;
        const std::string path = Bytes(data["path"].toObject());
        EXPECT_EQ(path, open_path);
        const std::string& contents = files.at(path.substr(root.size() + 1));
        const std::string line = Bytes(data["lines"].toObject());
        const auto offset = static_cast<std::size_t>(data["absolute_offset"].toInteger());
        EXPECT_EQ(contents.substr(offset, line.size()), line) << path;
        EXPECT_TRUE(offset == 0 || contents[offset - 1] == '\n');
        EXPECT_EQ(std::count(contents.begin(), contents.begin() + static_cast<long>(offset), '\n') + 1,
                  data["line_number"].toInteger());
        const QJsonArray submatches = data["submatches"].toArray();
        if (type == "context") {
            EXPECT_TRUE(submatches.isEmpty());
            continue;
        }
        ++matched_lines;
        // Every occurrence of the line, left to right.
        std::size_t expected = 0;
        for (std::size_t at = Folded(line).find("needle"); at != std::string::npos;
             at = Folded(line).find("needle", at + 6))
            ++expected;
        EXPECT_EQ(static_cast<std::size_t>(submatches.size()), expected) << line;
        for (const auto& value : submatches) {
            const QJsonObject submatch = value.toObject();
            const auto start = static_cast<std::size_t>(submatch["start"].toInteger());
            const auto end = static_cast<std::size_t>(submatch["end"].toInteger());
            ASSERT_LE(end, line.size());
            EXPECT_EQ(line.substr(start, end - start), Bytes(submatch["match"].toObject()));
            EXPECT_EQ(Folded(line.substr(start, end - start)), "needle");
            ++matches;
        }
    }
    EXPECT_TRUE(summary);
    EXPECT_EQ(ends, 3);
    EXPECT_EQ(matched_lines, 4);
    // The name with a byte that is not UTF-8 came as bytes.
    EXPECT_NE(run.out.find("{\"path\":{\"bytes\":"), std::string::npos);
}

} // namespace
