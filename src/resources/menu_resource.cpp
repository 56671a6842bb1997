#include "resources/menu_resource.h"

#include "resources/command_ids.h"

namespace menu {

const std::vector<Popup>& MainMenu()
{
    using namespace cmd;
    static const Item separator{};
    static const std::vector<Popup> popups = {
        {"&File", {
            {kFileNew, "&New", "", kNone, {"Ctrl+N"}},
            {kFileOpen, "&Open...", "", kNone, {"F12", "Ctrl+O"}},
            {kFileSave, "&Save", "", kStartsDisabled, {"Ctrl+S"}},
            {kFileSaveAs, "Save &As...", "", kStartsDisabled, {}},
            {kFileReload, "&Reload", "", kStartsDisabled, {}},
            separator,
            {kFilePrint, "&Print...", "", kNone, {"Ctrl+P"}},
            {kFilePrintPreview, "Print Pre&view...", "", kNone, {}},
            separator,
            {kFileGrep, "&Grep", "", kNone, {}},
            {kFileLineCount, "&Line Count", "", kNone, {}},
            {kFileExtensions, "&Extensions...", "", kNone, {}},
            separator,
            {kFileExit, "E&xit", "", kNone, {"Ctrl+Q"}},
        }},
        {"&Edit", {
            {kEditUndo, "&Undo", "Ctrl+Z", kNone, {"Ctrl+Z"}},
            separator,
            {kEditCut, "&Cut", "Ctrl+X", kNone, {"Ctrl+X"}},
            {kEditCopy, "C&opy", "Ctrl+C", kNone, {"Ctrl+C"}},
            {kEditPaste, "&Paste", "Ctrl+V", kNone, {"Ctrl+V"}},
            {kEditDelete, "&Delete", "Del", kNone, {}},
            {kEditClearAll, "C&lear All", "Ctrl+Del", kNone, {"Ctrl+Del"}},
            separator,
            {kEditSelectAll, "&Select All", "", kNone, {}},
        }},
        {"&Search", {
            {kSearchFind, "&Find...", "", kNone, {"Ctrl+F"}},
            {kSearchReplace, "&Replace...", "", kNone, {"Ctrl+H"}},
            {kSearchNext, "&Next", "F3", kNone, {"F3"}},
            separator,
            {kSearchGoTo, "&Go to...", "", kNone, {"Ctrl+G"}},
        }},
        {"&Options", {
            {kOptionsStatusBar, "&Status bar", "", kStartsChecked, {}},
            {kOptionsToolBar, "&Toolbar", "", kStartsChecked, {}},
            separator,
            {kOptionsPreferences, "&Preferences...", "", kNone, {}},
        }},
        {"&Window", {
            {kWindowCascade, "&Cascade", "", kStartsDisabled, {}},
            {kWindowTileVertical, "Tile &Vertically", "", kStartsDisabled, {}},
            {kWindowTileHorizontal, "Tile &Horizontally", "", kNone, {}},
            {kWindowArrangeIcons, "Arrange &Icons", "", kStartsDisabled, {}},
            {kWindowCloseAll, "C&lose All", "", kStartsDisabled, {}},
            separator,
            {kHelpAbout, "&About", "", kNone, {}},
        }},
    };
    return popups;
}

} // namespace menu
