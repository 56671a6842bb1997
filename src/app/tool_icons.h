#pragma once
#include "resources/command_ids.h"

#include <QIcon>

// The tool-bar picture of a command, drawn by the program itself; a null
// icon for a command without one.
QIcon ToolIcon(cmd::Command command);

// The program's icon (frame, About box), the document icon of a file's
// child window and the icon of the Grep and Line Count windows.
QIcon AppIcon();
QIcon DocumentIcon();
QIcon SearchWindowIcon();
