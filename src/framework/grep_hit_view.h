#pragma once
// What the Grep window asks of the text view that shows one of its hits:
// the text view implements it, the Grep window finds it as the active MDI
// child's client, so neither knows the other's class.

#include <string>

class GrepHitView {
public:
    virtual ~GrepHitView() = default;

    // Selects the first occurrence of `pattern` (any letter case) on line
    // `line` and primes Find with the pattern and the replacement. False
    // when the line does not exist or does not hold the pattern.
    virtual bool ShowHit(const std::string& pattern, const std::string& replacement, int line) = 0;
    // The document's find and replace texts become these.
    virtual void PrepareFind(const std::string& pattern, const std::string& replacement) = 0;
    // True while the document holds changes not yet saved.
    virtual bool HasUnsavedChanges() const = 0;
};
