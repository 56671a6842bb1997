#pragma once
// A host that records everything a run reports, for the search tests.

#include "search/grep_engine.h"

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class RecordingHost : public GrepHost {
public:
    std::vector<std::string> results;
    std::vector<ScanHit> places;  // of each hit: line, line start, match
    std::vector<std::optional<std::string>> texts;  // the line text handed with each hit
    std::vector<std::string> statuses;
    std::vector<std::pair<std::string, GrepEngine::Options_t>> replaced;
    int clears = 0;
    int pumps = 0;
    std::function<void()> on_pump;  // runs inside each pump, like a Stop click

    void ClearResults() override
    {
        ++clears;
        results.clear();
        places.clear();
        texts.clear();
    }
    void AppendHit(const GrepHit& hit) override
    {
        results.push_back(ResultLineText(hit.path, static_cast<std::uint64_t>(hit.line)));
        places.push_back({hit.line, hit.line_offset, hit.match});
        texts.push_back(hit.text ? std::optional<std::string>(*hit.text) : std::nullopt);
    }
    void AppendCount(const CountResult& count) override
    {
        results.push_back(ResultLineText(count.path, static_cast<std::uint64_t>(count.lines)));
    }
    void SetStatusText(std::string_view text) override { statuses.emplace_back(text); }
    void PumpWaitingEvents() override
    {
        ++pumps;
        if (on_pump) on_pump();
    }
    std::vector<bool> replaced_hidden;  // the walk's word on each replaced file
    bool ReplaceInFile(const std::string& path, bool in_hidden_directory, GrepEngine::Options_t options) override
    {
        replaced.emplace_back(path, std::move(options));
        replaced_hidden.push_back(in_hidden_directory);
        return true;
    }

    std::string last_status() const { return statuses.empty() ? std::string() : statuses.back(); }
};

// The canonical form of a temporary directory, as a run reports it.
std::string Canonical(const std::string& path);
