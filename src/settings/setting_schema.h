#pragma once
// Every setting the program keeps in its settings file, each declared once:
// section, key, default and limits. No other file names a section or a key.

#include "settings/setting_types.h"

#include <cstddef>

namespace setting {

// --- main window: placement, tool bar, recent files ---
inline constexpr std::string_view kMainWin = "MainWin";
inline constexpr IntSetting kFrameX{kMainWin, "X", 5};
inline constexpr IntSetting kFrameY{kMainWin, "Y", 5};
inline constexpr IntSetting kFrameWidth{kMainWin, "W", 600};
inline constexpr IntSetting kFrameHeight{kMainWin, "H", 400};
// Written "1" when the frame closes maximised, "0" in its normal state.
inline constexpr FlagSetting kFrameMaximised{kMainWin, "max", false};
// 0 top, 1 left, 2 right. Read as stored: any other number places the bar
// at the top, and the next move counts on from it modulo 3.
inline constexpr IntSetting kToolBarPlace{kMainWin, "ctrl_loc", 0};

inline constexpr std::string_view kFileMenu = "FileMenu";
// Number 1 the most recent; a count below 0 reads as none, above 8 as 8.
inline constexpr ListSetting kRecentFiles{kFileMenu, {kFileMenu, "count", 0, 0, 8}, "file_", 511};

// --- file types and the File Open dialog ---
inline constexpr std::string_view kExtensions = "Extensions";
// An entry holds a description and an extension, each up to the dialog's
// limit of characters, in UTF-8 of up to four bytes a character.
inline constexpr std::size_t kTypedExtensionLimit = 63;
inline constexpr std::size_t kTypedDescriptionLimit = 255;
inline constexpr std::size_t kFileTypeEntryLimit = 4 * (kTypedDescriptionLimit + kTypedExtensionLimit) + 1;
inline constexpr ListSetting kFileTypes{kExtensions, {kExtensions, "Count", 0}, "ext_", kFileTypeEntryLimit};
// The File Open dialog writes its filter index less one; the File
// Extensions dialog the position of its chosen entry. Readers take it as
// stored.
inline constexpr IntSetting kSelectedFileType{kExtensions, "Selected", 0};
// Directory of the last file opened; empty leaves the current directory.
inline constexpr TextSetting kOpenFolder{kExtensions, "Path", "", 255};

// --- search windows: histories and check boxes ---
// Items and the selected text are read into 512-byte buffers.
inline constexpr std::size_t kHistoryItemLimit = 511;
inline constexpr ListSetting kSearchPatterns{
    "search_patterns", {"search_patterns", "count", 0}, "pattern_", kHistoryItemLimit, "selected"};
inline constexpr ListSetting kReplacePatterns{
    "replace_patterns", {"replace_patterns", "count", 0}, "pattern_", kHistoryItemLimit, "selected"};
inline constexpr ListSetting kSearchPaths{
    "search_paths", {"search_paths", "count", 0}, "path_", kHistoryItemLimit, "selected"};

inline constexpr std::string_view kGrepOpts = "GrepOpts";
inline constexpr FlagSetting kGrepTextOnly{kGrepOpts, "text_only", true};
inline constexpr FlagSetting kGrepSubDir{kGrepOpts, "sub_dir", false};
inline constexpr FlagSetting kGrepCase{kGrepOpts, "case", false};
inline constexpr FlagSetting kGrepWords{kGrepOpts, "words", false};
inline constexpr FlagSetting kGrepReplace{kGrepOpts, "replace", false};
inline constexpr FlagSetting kGrepShowLines{kGrepOpts, "show_lines", false};
// Written when a Grep window closes; never read.
inline constexpr IntSetting kGrepWindowWidth{"GrepWin", "Width", 0};
inline constexpr IntSetting kGrepWindowHeight{"GrepWin", "Height", 0};

inline constexpr FlagSetting kCountSubDir{"CountOpts", "sub_dir", false};

// The Exclude field of both search windows, and their "Use .gitignore".
inline constexpr ListSetting kExcludePatterns{
    "exclude_patterns", {"exclude_patterns", "count", 0}, "pattern_", kHistoryItemLimit, "selected"};
inline constexpr FlagSetting kGrepGitignore{kGrepOpts, "gitignore", false};
inline constexpr FlagSetting kCountGitignore{"CountOpts", "gitignore", false};

// --- find and replace in document windows ---
// The flags are kept as the numbers stored: the record writes back what it
// read.
inline constexpr std::string_view kSchOpts = "SchOpts";
inline constexpr std::size_t kFindTextLimit = 127;  // read into 128 bytes
inline constexpr TextSetting kFindText{kSchOpts, "search_patt", "", kFindTextLimit};
inline constexpr TextSetting kReplaceText{kSchOpts, "replace_patt", "", kFindTextLimit};
inline constexpr IntSetting kFindWholeWords{kSchOpts, "whole_words", 0};
inline constexpr IntSetting kFindCaseSensitive{kSchOpts, "case_sensitive", 1};
inline constexpr IntSetting kFindReplace{kSchOpts, "replace", 0};
inline constexpr IntSetting kFindDown{kSchOpts, "down", 1};

// --- display and editing: the views and the Preferences dialog ---
inline constexpr std::string_view kFontSection = "Font";
// A size of 0 or below is one no view can make and reads as 12.
inline constexpr FontSetting kFont{{kFontSection, "font_name", "Courier New", 127},
                                   {kFontSection, "font_size", 12, 1, INT_MAX, OutOfRange::kDefault},
                                   {kFontSection, "font_weight", 0}};

inline constexpr std::string_view kDisplay = "Display";
// Views take 1..16 and read any other number as 4.
inline constexpr IntSetting kTabStops{kDisplay, "tab_stops", 4, 1, 16, OutOfRange::kDefault};
// The Preferences dialog reads the same key as text and picks the first
// entry of its list that begins with it.
inline constexpr TextSetting kTabStopsText{kTabStops.section, kTabStops.key, "4", 63};
inline constexpr ColourSetting kBackground{kDisplay, "bk_color", {255, 255, 255}, 63};
inline constexpr ColourSetting kForeground{kDisplay, "fg_color", {0, 0, 0}, 63};

inline constexpr std::string_view kOptions = "Options";
inline constexpr FlagSetting kAutoIndent{kOptions, "auto_indent", true};
inline constexpr IntSetting kUndoLimit{kOptions, "undo_limit", 16, 1, 512};

// Lines shown before and after the selected hit in the Grep window's preview.
inline constexpr IntSetting kGrepContext{kGrepOpts, "context", 2, 0, 9};

}  // namespace setting
