#pragma once
// Light stand-ins for the program's windows, for tests of the frame: a
// view that names its file and counts its reloads, and an empty search
// window.

#include "framework/window_factories.h"

#include <QLabel>

class PlaceholderView : public QLabel, public DocumentView {
public:
    PlaceholderView(ViewKind kind, const std::string& path);

    ViewKind Kind() const override { return kind_; }
    std::string DocumentPath() const override { return path_; }
    void ReloadSettings() override { ++reloads_; }
    int Reloads() const { return reloads_; }

private:
    ViewKind kind_;
    std::string path_;
    int reloads_ = 0;
};

QWidget* MakePlaceholderSearchWindow(SearchWindowKind kind);

// Makes the stand-ins the frame's view and search-window factories.
void InstallPlaceholderWindows();
