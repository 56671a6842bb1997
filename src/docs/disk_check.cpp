#include "docs/disk_check.h"

DiskCheck::Action DiskCheck::Look(const FileIdentity& recorded, const FileIdentity& now, bool modified)
{
    const DiskChange change = CompareWithDisk(recorded, now);
    // A look that could not see the file changes nothing it knew.
    if (now.presence != FileIdentity::Presence::kUnknown) deleted_ = change == DiskChange::kDeleted;
    if (change != DiskChange::kChanged || settled_ == now) return Action::kNone;
    return modified ? Action::kAsk : Action::kReload;
}

void DiskCheck::Reset()
{
    settled_.reset();
    deleted_ = false;
}
