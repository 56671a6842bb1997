#include "framework/command_routing.h"

#include "framework/command_table.h"

namespace fw {

bool RouteCommand(const CommandChain& chain, cmd::Command id)
{
    for (CommandTarget* target : chain)
        if (target && target->ExecuteCommand(id)) return true;
    return false;
}

bool CommandEnabledAlong(const CommandChain& chain, cmd::Command id)
{
    for (const CommandTarget* target : chain)
        if (target)
            if (const auto enabled = target->CommandEnabled(id)) return *enabled;
    return false;
}

CommandHub& CommandHub::Instance()
{
    static CommandHub hub;
    return hub;
}

} // namespace fw
