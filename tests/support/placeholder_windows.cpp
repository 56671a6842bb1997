#include "support/placeholder_windows.h"

PlaceholderView::PlaceholderView(ViewKind kind, const std::string& path)
    : kind_(kind), path_(path)
{
    const QString name = QString::fromLocal8Bit(path.c_str());
    const QString title = name.isEmpty() ? QStringLiteral("(untitled)") : name.section(QLatin1Char('/'), -1);
    setWindowTitle(title);
    setText(name.isEmpty() ? title : name);
    setAlignment(Qt::AlignCenter);
}

QWidget* MakePlaceholderSearchWindow(SearchWindowKind)
{
    auto* label = new QLabel;
    label->setAlignment(Qt::AlignCenter);
    return label;
}

void InstallPlaceholderWindows()
{
    SetViewFactory([](ViewKind kind, const std::string& path) { return new PlaceholderView(kind, path); });
    SetSearchWindowFactory(MakePlaceholderSearchWindow);
}
