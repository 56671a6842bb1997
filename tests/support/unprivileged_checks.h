#pragma once
// A piece of a test run as the unprivileged user (RunUnprivileged) that
// says what went wrong: the body returns an empty text when every check
// held, otherwise a description of the first that failed, and the parent
// gets that text back to show in its own assertion.

#include "support/unprivileged.h"

#include <functional>
#include <sstream>
#include <string>
#include <unistd.h>

inline std::string RunUnprivilegedChecks(const std::function<std::string()>& body)
{
    int pipe_fds[2];
    if (::pipe(pipe_fds) != 0) return "no pipe to the unprivileged child";
    const int result = RunUnprivileged([&] {
        ::close(pipe_fds[0]);
        // A child that hangs (it has none of the parent's threads) ends
        // instead of stopping the test run.
        ::alarm(60);
        // A pipe holds this much without a reader: the parent reads after the child ended.
        const std::string failure = body().substr(0, 4096);
        std::size_t written = 0;
        while (written < failure.size()) {
            const ssize_t n = ::write(pipe_fds[1], failure.data() + written, failure.size() - written);
            if (n <= 0) return 1;
            written += static_cast<std::size_t>(n);
        }
        return failure.empty() ? 0 : 1;
    });
    ::close(pipe_fds[1]);
    std::string failure;
    char buffer[512];
    for (ssize_t n; (n = ::read(pipe_fds[0], buffer, sizeof buffer)) > 0;) failure.append(buffer, std::size_t(n));
    ::close(pipe_fds[0]);
    if (result == kChildFailed) return "the unprivileged child failed: " + failure;
    if (result != 0 && failure.empty()) return "the unprivileged child reported a failure without a text";
    return failure;
}

// "what: expected <b>, got <a>" when a != b, else nothing: one check of a
// body run through RunUnprivilegedChecks.
template <class A, class B>
std::string Differs(const std::string& what, const A& actual, const B& expected)
{
    if (actual == expected) return {};
    std::ostringstream text;
    text << what << ": expected <" << expected << ">, got <" << actual << ">";
    return text.str();
}
