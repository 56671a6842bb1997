#include "support/unprivileged.h"

#include <filesystem>
#include <cstdlib>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

int RunUnprivileged(const std::function<int()>& body)
{
    const pid_t child = ::fork();
    if (child < 0) return kChildFailed;
    if (child == 0) {
        if (::geteuid() == 0) {
            if (::setgroups(0, nullptr) != 0 || ::setgid(kUnprivilegedGid) != 0 ||
                ::setuid(kUnprivilegedUid) != 0)
                ::_exit(126);
        }
        // The child's saves keep their recovery records in a private state
        // folder of its own, not in the test user's.
        std::string state = (fs::temp_directory_path() / "tarnwick-state-XXXXXX").string();
        if (!::mkdtemp(state.data())) ::_exit(126);
        ::setenv("XDG_STATE_HOME", state.c_str(), 1);
        int result = 126;
        try {
            result = body();
        } catch (...) {
            result = 126;
        }
        std::error_code ec;
        fs::remove_all(state, ec);
        ::_exit(result < 0 || result > 125 ? 126 : result);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child) return kChildFailed;
    if (!WIFEXITED(status) || WEXITSTATUS(status) == 126) return kChildFailed;
    return WEXITSTATUS(status);
}

void GiveToUnprivilegedUser(const std::string& path)
{
    if (::geteuid() == 0) (void)::lchown(path.c_str(), kUnprivilegedUid, kUnprivilegedGid);
}

void OpenTreeToOthers(const std::string& root)
{
    std::error_code ec;
    const auto search = fs::perms::others_exec | fs::perms::others_read | fs::perms::group_exec | fs::perms::group_read;
    fs::permissions(root, search, fs::perm_options::add, ec);
    for (auto it = fs::recursive_directory_iterator(root, fs::directory_options::skip_permission_denied, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_directory(ec) && !it->is_symlink(ec)) fs::permissions(it->path(), search, fs::perm_options::add, ec);
    }
}
