// Measures the documents on large files; run by bench-docs.sh.
//   docs_bench gen PATH MEGABYTES [utf8]   write a text file of ~50-byte
//                                   lines, ASCII or in several scripts
//   docs_bench load PATH            load it as text and exit (for hyperfine)
//   docs_bench edits PATH           load, then time the large edits
//   docs_bench hex PATH             load a file as a hex dump

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <sys/resource.h>

#include "docs/hex_doc.h"
#include "docs/text_doc.h"

namespace {

long RssKiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return 0;
}

double CpuSeconds()
{
    rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Wall time of the work; its processor time (user + system) is printed
// too, since a busy machine stretches the wall time.
double g_cpu = 0;
double Seconds(const std::function<void()>& work)
{
    const double cpu = CpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    work();
    g_cpu = CpuSeconds() - cpu;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// ASCII lines with a tab each; with `utf8` the words are in several
// scripts instead (accents, Cyrillic, CJK, an emoji), every line holding
// multi-byte characters.
int Generate(const char* path, long megabytes, bool utf8)
{
    std::FILE* out = std::fopen(path, "wb");
    if (!out) return 1;
    const long target = megabytes << 20;
    long written = 0;
    std::string line;
    const char* const words[] = {"caf\xc3\xa9 ", "na\xc3\xafve ", "\xd0\xbf\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82 ",
                                 "\xe6\xbc\xa2\xe5\xad\x97 ", "\xe2\x82\xacuro ", "\xf0\x9f\x98\x80 ", "text "};
    for (long i = 0; written < target; ++i) {
        line = "line " + std::to_string(i) + "\tsome text that makes the line about fifty";
        if (utf8) {
            line = "line " + std::to_string(i) + "\t";
            for (long k = 0; line.size() < 40; ++k) line += words[(i + k * 3) % 7];
        }
        const std::size_t length = 40 + static_cast<std::size_t>(i % 21);
        if (!utf8 || line.size() < length) line.resize(length, '.');  // never cuts a character
        line += (i % 2) ? "\r\n" : "\n";
        std::fwrite(line.data(), 1, line.size(), out);
        written += static_cast<long>(line.size());
    }
    return std::fclose(out) == 0 ? 0 : 1;
}

std::size_t TextBytes(const LinesDoc& doc)
{
    std::size_t bytes = 0;
    for (int i = 0; i < doc.LineCount(); ++i) bytes += static_cast<std::size_t>(doc.GetLine(i)->Length());
    return bytes;
}

int Edits(const char* path)
{
    TextDoc doc(path);
    const long before = RssKiB();
    const double load = Seconds([&] { doc.Load(); });
    const std::size_t text = TextBytes(doc);
    const double lines = doc.LineCount();
    std::printf("load: %.3f s (cpu %.3f s), %d lines, %.1f MB of text\n", load, g_cpu, doc.LineCount(), text / 1048576.0);
    std::printf("memory beyond the text: %.1f bytes per line (table %.1f, chunks %.1f); RSS grew %.1f MB\n",
                (doc.TableBytes() + doc.ChunkBytes() - text) / lines, doc.TableBytes() / lines,
                (doc.ChunkBytes() - static_cast<double>(text)) / lines, (RssKiB() - before) / 1024.0);

    std::string million;
    for (int i = 0; i < 1000000; ++i) million += "inserted line\r\n";
    TextPosition end;
    const double insert = Seconds([&] { end = doc.InsertText(million, {doc.LineCount() / 2, 3}); });
    std::printf("InsertText of 1M line breaks: %.3f s (cpu %.3f s; now %d lines, end at line %d)\n", insert, g_cpu, doc.LineCount(), end.line);
    const double erase = Seconds([&] { doc.DeleteLines(doc.LineCount() / 3, 1000000); });
    std::printf("DeleteLines of 1M lines: %.3f s (cpu %.3f s)\n", erase, g_cpu);

    // Clear All and its undo: the whole text is copied out, every line
    // deleted, then the copy inserted again.
    std::optional<std::string> all;
    const int last = doc.LineCount() - 1;
    const double copy = Seconds([&] { all = doc.CopyText(0, 0, last, doc.LineWidth(doc.GetLine(last))); });
    const double copyCpu = g_cpu;
    const double clearAll = Seconds([&] {
        doc.DeleteLines(0, doc.LineCount());
        doc.InsertLine(0, "");
    });
    const double clearCpu = g_cpu;
    const double undo = Seconds([&] { doc.InsertText(*all, {0, 0}); });
    std::printf("Clear All: copy %.3f s (cpu %.3f s, %.1f MB), delete %.3f s (cpu %.3f s); "
                "undo (re-insert) %.3f s (cpu %.3f s), %d lines\n",
                copy, copyCpu, all->size() / 1048576.0, clearAll, clearCpu, undo, g_cpu, doc.LineCount());
    all.reset();

    const std::string saved = std::string(path) + ".saved";
    const double save = Seconds([&] { doc.Save(saved); });
    std::printf("Save (written, flushed to disk, renamed): %.3f s (cpu %.3f s)\n", save, g_cpu);
    std::remove(saved.c_str());

    TextDoc again(path);
    again.Load();
    const double clear = Seconds([&] { again.Clear(); });
    std::printf("Clear on %.0f lines: %.3f s (cpu %.3f s)\n", lines, clear, g_cpu);
    return 0;
}

int Hex(const char* path)
{
    HexDoc doc(path);
    const long before = RssKiB();
    const double load = Seconds([&] { doc.Load(); });
    std::printf("hex load: %.3f s (cpu %.3f s), %d rows, RSS grew %.1f MB for a %.1f MB file\n", load, g_cpu, doc.LineCount(),
                (RssKiB() - before) / 1024.0, doc.FileSize() / 1048576.0);
    std::size_t total = 0;
    const double rows = Seconds([&] {
        for (int i = 0; i < doc.LineCount(); ++i) total += static_cast<std::size_t>(doc.GetLine(i)->Length());
    });
    std::printf("formatting every row once: %.3f s (%.0f ns a row, %.1f MB of rows)\n", rows,
                rows * 1e9 / doc.LineCount(), total / 1048576.0);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 4 && std::strcmp(argv[1], "gen") == 0)
        return Generate(argv[2], std::atol(argv[3]), argc >= 5 && std::strcmp(argv[4], "utf8") == 0);
    if (argc >= 3 && std::strcmp(argv[1], "load") == 0) {
        TextDoc doc(argv[2]);
        return doc.Load() && doc.LineCount() > 0 ? 0 : 1;
    }
    if (argc >= 3 && std::strcmp(argv[1], "edits") == 0) return Edits(argv[2]);
    if (argc >= 3 && std::strcmp(argv[1], "hex") == 0) return Hex(argv[2]);
    std::fprintf(stderr, "usage: docs_bench gen PATH MB [utf8] | load PATH | edits PATH | hex PATH\n");
    return 2;
}
