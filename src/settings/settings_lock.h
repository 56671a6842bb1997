#pragma once
// Serialises the settings file's users: two windows, or two running
// copies of the program, that write keys at the same time would each
// rewrite the file from what they read before the other wrote, and one of
// them would lose the other's key. A write holds the lock exclusively from
// its read to the end of its write; a read holds it shared, so that it
// never sees a write in place half done.
//
// The lock is an advisory lock (flock) on the file's directory, which
// stays one object while the file is replaced by rename; where the
// directory cannot be opened, on the file itself, taken again whenever the
// name has come to lead to another file meanwhile. Without either (the
// file and its directory cannot be opened), the operation runs unlocked.

#include <string>

namespace profile {

class SettingsLock {
public:
    enum class Mode { kShared, kExclusive };
    SettingsLock(const std::string& settings_path, Mode mode);
    ~SettingsLock();
    SettingsLock(const SettingsLock&) = delete;
    SettingsLock& operator=(const SettingsLock&) = delete;

    bool Held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

} // namespace profile
