#pragma once
// What a window does when it looks at its file again (told by the file
// watcher, or on being activated): the rule apart from the widgets. The
// document's recorded identity (from its last load or save) is compared
// with the file as it is now; a change the program made itself was
// recorded by its save and is no change.

#include "base/file_identity.h"

#include <optional>

class DiskCheck {
public:
    enum class Action {
        kNone,
        kReload,  // the window has no changes of its own: it reloads at once
        kAsk,     // it has: the user chooses between reloading and their text
    };

    Action Look(const FileIdentity& recorded, const FileIdentity& now, bool modified);
    // This version of the file has been dealt with (the user kept their
    // text, or reloading it failed): it is not acted on again, a later one is.
    void Settle(const FileIdentity& now) { settled_ = now; }
    // The document was just loaded or saved.
    void Reset();
    // The recorded file was gone when last looked at.
    bool Deleted() const { return deleted_; }

    // Whether Save must ask before it writes over the file as it is now: it
    // changed since it was loaded or saved (a file that is gone is simply
    // written again).
    static bool SaveMustAsk(const FileIdentity& recorded, const FileIdentity& now)
    {
        return CompareWithDisk(recorded, now) == DiskChange::kChanged;
    }

private:
    std::optional<FileIdentity> settled_;
    bool deleted_ = false;
};
