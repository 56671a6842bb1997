#pragma once
// Ids of commands, dialogs, controls and icons, in one place.

namespace cmd {

// --- application shell ---
// The main menu, its accelerators and the tool bar.
inline constexpr int kFileNew = 24331;
inline constexpr int kFileOpen = 24332;
inline constexpr int kFileSave = 24333;
inline constexpr int kFileSaveAs = 24334;
inline constexpr int kFilePrint = 24337;
inline constexpr int kFilePrintPreview = 24338;
inline constexpr int kFileGrep = 104;
inline constexpr int kFileLineCount = 106;
inline constexpr int kFileExtensions = 107;
inline constexpr int kFileExit = 24310;
inline constexpr int kRecentFileFirst = 751;  // 751..758
inline constexpr int kRecentFileLast = 758;
inline constexpr int kEditUndo = 24321;
inline constexpr int kEditCut = 24322;
inline constexpr int kEditCopy = 24323;
inline constexpr int kEditPaste = 24324;
inline constexpr int kEditDelete = 24325;
inline constexpr int kEditClearAll = 24326;
inline constexpr int kEditSelectAll = 24329;
inline constexpr int kSearchFind = 24351;
inline constexpr int kSearchReplace = 24352;
inline constexpr int kSearchNext = 24353;
inline constexpr int kSearchGoTo = 501;
inline constexpr int kOptionsStatusBar = 32040;
inline constexpr int kOptionsToolBar = 32041;  // also the tool bar's window id
inline constexpr int kOptionsPreferences = 108;
inline constexpr int kWindowCascade = 24361;
inline constexpr int kWindowTileVertical = 24362;
inline constexpr int kWindowTileHorizontal = 24363;
inline constexpr int kWindowArrangeIcons = 24364;
inline constexpr int kWindowCloseAll = 24365;
inline constexpr int kHelpAbout = 105;
inline constexpr int kToolBarPosition = 203;  // tool bar only

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
