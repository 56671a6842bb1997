#include "app/project_rc_version.h"

#include "version_info.h"

VersionRecord BuildVersionRecord()
{
    VersionRecord record;
    record.values["ProductName"] = version_info::kProductName;
    record.values["ProductVersion"] = version_info::kProductVersion;
    record.values["FileVersion"] = version_info::kFileVersion;
    record.values["LegalCopyright"] = version_info::kLegalCopyright;
    record.values["SpecialBuild"] = version_info::kSpecialBuild;
    return record;
}

ProjectRCVersion::ProjectRCVersion() : ProjectRCVersion(BuildVersionRecord()) {}

ProjectRCVersion::ProjectRCVersion(std::optional<VersionRecord> record)
{
    if (record && record->has_translation) record_ = std::move(record);
}

bool ProjectRCVersion::Query(const std::string& name, std::string& out) const
{
    if (!record_) return false;
    const auto it = record_->values.find(name);
    if (it == record_->values.end() || it->second.empty()) return false;
    out = it->second;
    return true;
}
