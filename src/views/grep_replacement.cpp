#include "views/grep_replacement.h"

#include "app/frame_services.h"
#include "framework/message_pump.h"
#include "views/text_view.h"

#include <QMdiSubWindow>
#include <QPointer>

bool ReplaceInFileThroughTextView(const std::string& path, const GrepEngine::Options_t& options)
{
    if (!OpenText(path, true)) {
        TextView view(path);
        view.EnsureLoaded();
        return view.GrepReplace(options);
    }
    PumpWaitingMessages();
    auto* view = dynamic_cast<TextView*>(ActiveView());
    if (!view || view->DocumentPath() != path) return false;
    QPointer<QMdiSubWindow> child = ActiveChild();
    const bool found = view->GrepReplace(options);
    if (child) QMetaObject::invokeMethod(child.data(), &QWidget::close, Qt::QueuedConnection);
    return found;
}
