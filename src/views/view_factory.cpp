#include "views/view_factory.h"

#include "views/hex_view.h"
#include "views/text_view.h"

QWidget* MakeDocumentView(ViewKind kind, const std::string& path)
{
    if (kind == ViewKind::Hex) return new HexView(path);
    return new TextView(path);
}
