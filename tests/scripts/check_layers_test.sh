#!/bin/sh
# The layer check on small made-up trees: a clean tree passes, and each kind
# of upward include fails with the offending file and header named.
#   check_layers_test.sh CHECK_SCRIPT
set -u
check=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0

# make_tree DIR: a tree whose includes all point down.
make_tree() {
    mkdir -p "$1/base" "$1/docs" "$1/search" "$1/framework" "$1/views" "$1/app"
    printf '#pragma once\n' >"$1/base/rules.h"
    printf '#include "base/rules.h"\n#include <string>\n' >"$1/docs/doc.h"
    printf '#include "docs/doc.h"\n' >"$1/search/grep_engine.h"
    printf '#include "search/grep_engine.h"\n#include <QWidget>\n' >"$1/search/grep_dlog.h"
    printf '#include "docs/doc.h"\n#include <QObject>\n' >"$1/framework/frame.h"
    printf '#include "framework/frame.h"\n' >"$1/views/view.h"
    printf '#include "views/view.h"\n#include "search/grep_dlog.h"\n' >"$1/app/main.cpp"
}

# expect_fault NAME FILE LINE PATTERN: FILE gets LINE; the check must fail
# and its report must hold PATTERN.
expect_fault() {
    tree="$tmp/$1"
    make_tree "$tree"
    printf '%s\n' "$3" >>"$tree/$2"
    if out=$("$check" "$tree" 2>&1); then
        echo "FAIL $1: the check passed"
        failures=$((failures + 1))
    elif ! printf '%s' "$out" | grep -qF "$4"; then
        echo "FAIL $1: the report does not name '$4':"
        printf '%s\n' "$out"
        failures=$((failures + 1))
    fi
}

make_tree "$tmp/clean"
if ! out=$("$check" "$tmp/clean" 2>&1); then
    echo "FAIL clean tree: $out"
    failures=$((failures + 1))
fi

expect_fault view_includes_app views/view.h '#include "app/tw_app.h"' 'views/view.h: views (level 4) includes app (level 5): "app/tw_app.h"'
expect_fault engine_includes_window search/grep_engine.h '#include "search/grep_dlog.h"' '"search/grep_dlog.h"'
expect_fault framework_includes_views framework/frame.h '#include "views/view.h"' 'framework/frame.h'
expect_fault docs_include_framework docs/doc.h '#include "framework/frame.h"' 'docs/doc.h'
expect_fault base_includes_settings base/rules.h '#include "settings/profile.h"' 'base/rules.h'
expect_fault engine_includes_qt search/grep_engine.h '#include <QString>' 'search/grep_engine.h: plain C++ of level 2 includes <QString>'

# The graph counts includes per pair of folders.
graph=$("$check" --graph "$tmp/clean")
for edge in 'app -> views (1)' 'app -> search-windows (1)' 'search-windows -> search (1)' 'docs -> base (1)'; do
    if ! printf '%s\n' "$graph" | grep -qxF "$edge"; then
        echo "FAIL graph lacks '$edge':"
        printf '%s\n' "$graph"
        failures=$((failures + 1))
    fi
done

[ "$failures" -eq 0 ] && echo "layer check: all cases behave"
exit $((failures > 0))
