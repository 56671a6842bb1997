#pragma once
// The frame services as the running application gives them: the frame
// window, its MDI area, status bar fields and printer. Each asks the
// application for its frame on every call, so a frame being taken down (or
// never built) answers as no frame.

#include "framework/frame_services.h"

class TWApp;

class AppFrameServices final : public fw::FrameServices {
public:
    explicit AppFrameServices(TWApp& app) : app_(app) {}

    QWidget* Window() override;
    QWidget* OpenText(const std::string& path, bool reuse) override;
    QWidget* OpenHex(const std::string& path, bool reuse) override;
    void AddRecentFile(const std::string& path) override;
    void SetCaretPosition(long line, long line_count, int column) override;
    void SetOvertypeIndicator(bool overtype) override;
    void SetLoadProgress(int percent) override;
    QMdiSubWindow* ActiveChild() override;
    QPrinter* Printer() override;

private:
    TWApp& app_;
};
