#include "base/save_faults.h"

#include <algorithm>
#include <cerrno>

namespace save_faults {
namespace {

Hook g_hook = nullptr;
std::size_t g_piece = 0;

} // namespace

void SetHook(Hook hook, std::size_t write_piece)
{
    g_hook = hook;
    g_piece = write_piece;
}

bool SaveStep(const char* call)
{
    if (!g_hook || !g_hook(call)) return false;
    errno = EIO;
    return true;
}

std::size_t WritePiece(std::size_t wanted)
{
    return g_hook && g_piece > 0 ? std::min(wanted, g_piece) : wanted;
}

} // namespace save_faults
