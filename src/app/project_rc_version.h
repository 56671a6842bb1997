#pragma once
// Reads the program's version record: product name, product version, legal
// notice and special-build note. The build generates the record
// (version_info.h); tests hand in one of their own.

#include <map>
#include <optional>
#include <string>

// A version record: string values by name ("ProductName", "ProductVersion",
// "LegalCopyright", "SpecialBuild"). An empty value is an absent one.
struct VersionRecord {
    bool has_translation = true;  // false: the record answers nothing
    std::map<std::string, std::string> values;
};

// The record of this build.
VersionRecord BuildVersionRecord();

class ProjectRCVersion {
public:
    ProjectRCVersion();  // this build's record
    explicit ProjectRCVersion(std::optional<VersionRecord> record);

    bool GetProductName(std::string& out) const { return Query("ProductName", out); }
    bool GetProductVersion(std::string& out) const { return Query("ProductVersion", out); }
    bool GetCopyright(std::string& out) const { return Query("LegalCopyright", out); }
    bool GetSpecialBuild(std::string& out) const { return Query("SpecialBuild", out); }

private:
    bool Query(const std::string& name, std::string& out) const;
    std::optional<VersionRecord> record_;
};
