#pragma once
// Frame services that record what a window asks of the frame, for tests
// of a window without the program's frame. Installed for the object's life.

#include "framework/frame_services.h"

#include <string>
#include <utility>
#include <vector>

class RecordingFrame final : public fw::FrameServices {
public:
    struct Opened {
        std::string path;
        bool reuse;
        bool hex;
        bool operator==(const Opened&) const = default;
    };

    RecordingFrame() { fw::InstallFrameServices(this); }
    ~RecordingFrame() override { fw::InstallFrameServices(nullptr); }
    RecordingFrame(const RecordingFrame&) = delete;
    RecordingFrame& operator=(const RecordingFrame&) = delete;

    QWidget* Window() override { return nullptr; }
    // Records the request; no view is shown.
    QWidget* OpenText(const std::string& path, bool reuse) override
    {
        opened.push_back({path, reuse, false});
        return nullptr;
    }
    QWidget* OpenHex(const std::string& path, bool reuse) override
    {
        opened.push_back({path, reuse, true});
        return nullptr;
    }
    void AddRecentFile(const std::string& path) override { recent.push_back(path); }
    void SetCaretPosition(long, long, int) override {}
    void SetOvertypeIndicator(bool) override {}
    void SetLoadProgress(int percent) override { progress.push_back(percent); }
    QMdiSubWindow* ActiveChild() override { return nullptr; }
    QPrinter* Printer() override { return nullptr; }

    std::vector<Opened> opened;
    std::vector<std::string> recent;
    std::vector<int> progress;
};
