#pragma once
// Stand-ins that the frame shows until the real windows are installed:
// a view that names its file, and an empty search window.

#include "app/window_factories.h"

#include <QLabel>

class PlaceholderView : public QLabel, public DocumentView {
    Q_OBJECT
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
