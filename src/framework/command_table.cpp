#include "framework/command_table.h"

namespace fw {

CommandTable::CommandTable(const CommandTable* base, std::initializer_list<CommandEntry> entries)
    : base_(base), entries_(entries)
{
}

CommandTable::CommandTable(const CommandTable* base, std::vector<CommandEntry> entries)
    : base_(base), entries_(std::move(entries))
{
}

const CommandEntry* CommandTable::Find(cmd::Command id) const
{
    for (const CommandTable* table = this; table; table = table->base_)
        for (const CommandEntry& entry : table->entries_)
            if (entry.id == id) return &entry;
    return nullptr;
}

bool CommandTarget::ExecuteCommand(cmd::Command id)
{
    const CommandEntry* entry = commandTable().Find(id);
    if (!entry) return false;
    if (entry->enabled && !entry->enabled(*this)) return true;  // held, but not now
    if (entry->handler) entry->handler(*this);
    return true;
}

std::optional<bool> CommandTarget::CommandEnabled(cmd::Command id) const
{
    const CommandEntry* entry = commandTable().Find(id);
    if (!entry) return std::nullopt;
    return entry->enabled ? entry->enabled(*this) : true;
}

const CommandTable& EmptyCommandTable()
{
    static const CommandTable table(nullptr, {});
    return table;
}

} // namespace fw
