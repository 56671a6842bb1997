#pragma once
// The replacement hand-off of a grep run: a file with a hit is opened in a
// text window (an open one is reused), its occurrences are replaced there
// and saved, and the window is asked to close once the run lets events in.
// The Grep window's GrepHost::ReplaceInFile calls this.

#include "search/grep_engine.h"

#include <string>

// True when the view found (and replaced) something. Without a frame (a
// single window in a test) the file gets a text view of its own for the
// time of the call.
bool ReplaceInFileThroughTextView(const std::string& path, const GrepEngine::Options_t& options);
