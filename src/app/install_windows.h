#pragma once
// Gives the frame every window the program has: the text and hex views,
// the Grep and Line Count windows, the preferences and file-type dialogs.
// Called by the start function before the frame is built.

void InstallWindowFactories();
