#pragma once
// A private X server for the tests that need a real one (where glyphs land
// on the screen, when the window system exposes a window, what the real
// pointer and keyboard do): Xvfb on a display it picks itself, and the
// pointer and keys driven through xdotool, as a user's would be. Both
// programs come from scripts/install-deps.sh; a missing one is an error,
// never a silent skip.

#include <QPoint>
#include <QString>
#include <QStringList>

#include <string>

class XSession {
public:
    // Starts the server and points DISPLAY at it; `error` says why not.
    bool Start(std::string& error);
    ~XSession();

    // Runs xdotool with these arguments; false when it failed.
    static bool Drive(const QStringList& arguments);
    static bool Click(QPoint global);
    static bool Type(const QString& text);
    static bool Key(const QString& key);

private:
    long pid_ = -1;
};
