// What one screenful of a text window costs to paint, and typing with its
// repaint, on a file of the given kind: ASCII, or UTF-8 with accented
// letters, wide characters and combining marks on every line. Short enough
// to run under callgrind, whose instruction counts do not depend on what
// else the machine is doing:
//   paint_bench DIR ascii|utf8 [repaints]
#include "views/text_view.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace {

std::string LineOf(bool utf8, int i)
{
    if (!utf8) return "    line " + std::to_string(i) + "\tthe quick brown fox jumps over the lazy dog again 0123456789";
    return "    line " + std::to_string(i) +
           "\tcaf\xC3\xA9 na\xC3\xAFve \xE4\xB8\xAD\xE6\x96\x87 \xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 "
           "e\xCC\x81 \xE2\x82\xAC 0123456789";
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: paint_bench DIR ascii|utf8 [repaints]\n");
        return 2;
    }
    const bool utf8 = std::strcmp(argv[2], "utf8") == 0;
    const int n = argc > 3 ? std::atoi(argv[3]) : 200;
    const std::string path = std::string(argv[1]) + "/paint.txt";
    {
        std::ofstream out(path, std::ios::binary);
        for (int i = 0; i < 2000; ++i) out << LineOf(utf8, i) << '\n';
    }
    TextView view(path);
    view.resize(1200, 900);
    view.show();
    while (!view.Loaded()) QApplication::processEvents();

    QElapsedTimer t;
    t.start();
    for (int i = 0; i < n; ++i) view.viewport()->repaint();
    const double paint = double(t.nsecsElapsed()) / 1e6 / n;
    view.MoveCaretTo({1000, 20});
    t.restart();
    for (int i = 0; i < n; ++i) {
        QTest::keyClick(&view, Qt::Key_A);
        view.viewport()->repaint();
    }
    const double type = double(t.nsecsElapsed()) / 1e6 / n;
    std::printf("%s: paint a screen %.3f ms, type a char with its repaint %.3f ms\n", argv[2], paint, type);
    return 0;
}
