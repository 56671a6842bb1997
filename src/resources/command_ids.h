#pragma once
// Ids of commands, dialogs, controls and icons, in one place.

namespace cmd {

// --- application shell ---
// The commands of the main menu, its accelerators and the tool bar. A
// command's number is also the id of its hint in the string table and the
// number in its action's object name ("action24331").
enum class Command : int {
    kNone = 0,  // a separator in a menu or tool-bar list
    kFileNew = 24331,
    kFileOpen = 24332,
    kFileSave = 24333,
    kFileSaveAs = 24334,
    kFilePrint = 24337,
    kFilePrintPreview = 24338,
    kFileGrep = 104,
    kFileLineCount = 106,
    kFileExtensions = 107,
    kFileExit = 24310,
    kRecentFileFirst = 751,  // 751..758
    kRecentFileLast = 758,
    kEditUndo = 24321,
    kEditCut = 24322,
    kEditCopy = 24323,
    kEditPaste = 24324,
    kEditDelete = 24325,
    kEditClearAll = 24326,
    kEditSelectAll = 24329,
    kSearchFind = 24351,
    kSearchReplace = 24352,
    kSearchNext = 24353,
    kSearchGoTo = 501,
    kOptionsStatusBar = 32040,
    kOptionsToolBar = 32041,  // also the tool bar's window id
    kOptionsPreferences = 108,
    kWindowCascade = 24361,
    kWindowTileVertical = 24362,
    kWindowTileHorizontal = 24363,
    kWindowArrangeIcons = 24364,
    kWindowCloseAll = 24365,
    kHelpAbout = 105,
    kToolBarPosition = 203,  // tool bar only
    kFileReload = 24335,
};
// cmd::kFileNew names Command::kFileNew.
using enum Command;

constexpr int Number(Command command) { return static_cast<int>(command); }
// The recent-file command at `index` (0 for kRecentFileFirst).
constexpr Command RecentFile(int index) { return static_cast<Command>(Number(kRecentFileFirst) + index); }
constexpr bool IsRecentFile(Command command)
{
    return Number(command) >= Number(kRecentFileFirst) && Number(command) <= Number(kRecentFileLast);
}

// Status bar: the caret-position field.
inline constexpr int kCaretField = 2001;

// About box fields.
inline constexpr int kAboutVersionField = 22001;
inline constexpr int kAboutLegalField = 22002;
inline constexpr int kAboutSpecialBuildField = 22003;

// --- views ---
// The private event a view posts to itself to load its file once shown.
inline constexpr int kViewLoadMessage = 1025;
// How long a view waits for its window to reach the screen before it reads
// its file anyway (a frame started minimised is never exposed).
inline constexpr int kViewExposeWaitMs = 1000;
// Period of the mouse selection's auto-scroll.
inline constexpr int kAutoScrollPeriodMs = 50;
// How long a window lets another program go on writing its file, once the
// file watcher has told of a change, before it looks at the file.
inline constexpr int kDiskSettleMs = 150;

// --- search windows ---
// The Grep and Line Count windows' MDI children open 540 by 408.
inline constexpr int kSearchWindowWidth = 540;
inline constexpr int kSearchWindowHeight = 408;
// Their controls (the objectName of each widget is "id" and its number).
inline constexpr int kCtlPattern = 101;
inline constexpr int kCtlPath = 102;
inline constexpr int kCtlShowLines = 103;
inline constexpr int kCtlResetCount = 103;
inline constexpr int kCtlTextOnly = 104;
inline constexpr int kCtlCaseSensitive = 105;
inline constexpr int kCtlSubDir = 106;
inline constexpr int kCtlWholeWords = 107;
inline constexpr int kCtlSearchPath = 108;
inline constexpr int kCtlReplace = 109;
inline constexpr int kCtlReplacement = 110;
inline constexpr int kCtlResults = 111;
inline constexpr int kCtlExclude = 112;
inline constexpr int kCtlUseGitignore = 113;
inline constexpr int kCtlStatus = 201;
inline constexpr int kCtlGo = 301;
inline constexpr int kCtlStop = 302;
inline constexpr int kCtlEdit = 303;
inline constexpr int kCtlDone = 304;

// --- printing ---
// The progress dialog shown while pages go to the printer.
inline constexpr int kPrintingDialog = 32599;

// --- settings dialogs ---
// The Preferences dialog (kPrefDialog) and its controls.
inline constexpr int kPrefDialog = 201;
inline constexpr int kPrefUndoLimit = 101;
inline constexpr int kPrefBackground = 103;
inline constexpr int kPrefText = 104;
inline constexpr int kPrefTabStops = 105;
inline constexpr int kPrefAutoIndent = 106;
inline constexpr int kPrefFonts = 107;
inline constexpr int kPrefRestore = 108;
inline constexpr int kPrefSample = 200;
inline constexpr int kPrefFontLabel = 201;
inline constexpr int kPrefUndoLabel = 301;
// The File Extensions dialog (kExtDialog) and its controls.
inline constexpr int kExtDialog = 103;
inline constexpr int kExtExtension = 101;
inline constexpr int kExtDescription = 102;
inline constexpr int kExtDelete = 103;

} // namespace cmd
