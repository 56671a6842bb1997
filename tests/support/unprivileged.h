#pragma once
// Permission rules do not bind root, and the tests run as root in CI. These
// helpers run a piece of a test as an ordinary user instead: the body runs
// in a forked child that has dropped to uid and gid 65534 ("nobody") when
// the test process is root, and keeps the current user otherwise.
//
// The body returns an int that the parent gets back (0..125 survive the
// exit status). A child that crashes or cannot drop its privileges gives
// kChildFailed, so a test can never pass by accident. The child has a
// private state folder of its own (XDG_STATE_HOME), removed when it ends.

#include <functional>
#include <string>

inline constexpr int kUnprivilegedUid = 65534;
inline constexpr int kUnprivilegedGid = 65534;
inline constexpr int kChildFailed = -1;

// Runs body() as the unprivileged user and returns its result.
int RunUnprivileged(const std::function<int()>& body);

// Hands a path (file or directory) to the unprivileged user, so that a
// body run through RunUnprivileged may read and write it as its owner.
void GiveToUnprivilegedUser(const std::string& path);

// Lets the unprivileged user reach everything below a temporary root (the
// root of a TempTree is private to its creator): adds search permission for
// others to the root and its directories.
void OpenTreeToOthers(const std::string& root);
