#pragma once
// Makes the text or hex view for a path: what the frame's OpenText and
// OpenHex wrap in a new MDI child.

#include "framework/document_view.h"

#include <string>

class QWidget;

QWidget* MakeDocumentView(ViewKind kind, const std::string& path);
