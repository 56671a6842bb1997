#!/bin/sh
# The layer check on small made-up trees and on copies of src/: a clean tree
# passes, and each kind of include that points up, closes a loop between
# two folders or leaves the ranked folders fails with the offending file
# and header named.
#   check_layers_test.sh CHECK_SCRIPT
set -u
check=$1
src=$(dirname "$check")/../src
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0

# make_tree DIR: a tree whose includes all point to lower ranks.
make_tree() {
    mkdir -p "$1/base" "$1/docs" "$1/edit" "$1/search" "$1/tools" "$1/framework" "$1/print" "$1/views" \
        "$1/searchwin" "$1/app"
    printf '#pragma once\n' >"$1/base/rules.h"
    printf '#include "base/rules.h"\n#include <string>\n' >"$1/docs/doc.h"
    printf '#include "docs/doc.h"\n' >"$1/edit/editor.h"
    printf '#include "docs/doc.h"\n' >"$1/search/grep_engine.h"
    printf '#include "search/grep_engine.h"\n#include <cstdio>\n' >"$1/tools/grep_main.cpp"
    printf '#include "docs/doc.h"\n#include <QObject>\n' >"$1/framework/frame.h"
    printf '#include "framework/frame.h"\n' >"$1/print/printout.h"
    printf '#include "print/printout.h"\n#include "edit/editor.h"\n' >"$1/views/view.h"
    printf '#include "search/grep_engine.h"\n#include "framework/frame.h"\n#include <QWidget>\n' \
        >"$1/searchwin/grep_dlog.h"
    printf '#include "views/view.h"\n#include "searchwin/grep_dlog.h"\n' >"$1/app/main.cpp"
}

# copy_src DIR: a copy of the program's own sources.
copy_src() {
    mkdir -p "$1"
    cp -R "$src/." "$1"
}

# expect_fault NAME MAKER FILE LINE PATTERN: in a tree made by MAKER, FILE
# gets LINE; the check must fail and its report must hold PATTERN.
expect_fault() {
    tree="$tmp/$1"
    "$2" "$tree"
    mkdir -p "$(dirname "$tree/$3")"
    printf '%s\n' "$4" >>"$tree/$3"
    if out=$("$check" "$tree" 2>&1); then
        echo "FAIL $1: the check passed"
        failures=$((failures + 1))
    elif ! printf '%s' "$out" | grep -qF "$5"; then
        echo "FAIL $1: the report does not name '$5':"
        printf '%s\n' "$out"
        failures=$((failures + 1))
    fi
}

# expect_clean NAME MAKER: the check passes on the tree MAKER makes.
expect_clean() {
    "$2" "$tmp/$1"
    if ! out=$("$check" "$tmp/$1" 2>&1); then
        echo "FAIL $1 passes no more: $out"
        failures=$((failures + 1))
    fi
}

expect_clean clean make_tree
expect_clean src_copy copy_src

expect_fault view_includes_app make_tree views/view.h '#include "app/tw_app.h"' \
    'views/view.h: views (rank 9) includes app (rank 12): "app/tw_app.h"'
expect_fault engine_includes_window make_tree search/grep_engine.h '#include "searchwin/grep_dlog.h"' \
    'search/grep_engine.h: search (rank 4) includes searchwin (rank 11): "searchwin/grep_dlog.h"'
expect_fault framework_includes_views make_tree framework/frame.h '#include "views/view.h"' 'framework/frame.h'
expect_fault docs_include_framework make_tree docs/doc.h '#include "framework/frame.h"' 'docs/doc.h'
expect_fault base_includes_settings make_tree base/rules.h '#include "settings/profile.h"' 'base/rules.h'
expect_fault engine_includes_qt make_tree search/grep_engine.h '#include <QString>' \
    'search/grep_engine.h: plain C++ of search (rank 4) includes <QString>'
expect_fault tool_includes_qt make_tree tools/grep_main.cpp '#include <QCoreApplication>' \
    'tools/grep_main.cpp: plain C++ of tools (rank 6) includes <QCoreApplication>'
expect_fault unranked_folder make_tree extra/helper.h '#pragma once' 'folder extra has no rank'
expect_fault include_of_unranked_folder make_tree docs/doc.h '#include "extra/helper.h"' \
    'docs/doc.h: includes "extra/helper.h" of folder extra, which has no rank'

# Loops between folders that once shared a level: each half alone points
# to a folder of its own level, which the ranks no longer let through.
expect_fault docs_edit_loop make_tree docs/doc.h '#include "edit/editor.h"' \
    'docs/doc.h: docs (rank 3) includes edit (rank 5): "edit/editor.h"'
expect_fault print_views_loop make_tree print/printout.h '#include "views/view.h"' \
    'print/printout.h: print (rank 8) includes views (rank 9): "views/view.h"'
expect_fault src_docs_edit_loop copy_src docs/undo_list.h '#include "edit/text_editor.h"' \
    'docs/undo_list.h: docs (rank 3) includes edit (rank 5): "edit/text_editor.h"'
expect_fault src_print_views_loop copy_src print/printout.h '#include "views/text_view.h"' \
    'print/printout.h: print (rank 8) includes views (rank 9): "views/text_view.h"'

# The graph gives every folder its rank and counts includes per pair.
graph=$("$check" --graph "$tmp/clean")
for line in 'rank  0: base' 'rank 11: searchwin' 'rank 12: app' 'app -> views (1)' 'app -> searchwin (1)' \
    'searchwin -> search (1)' 'docs -> base (1)' 'views -> edit (1)'; do
    if ! printf '%s\n' "$graph" | grep -qxF "$line"; then
        echo "FAIL graph lacks '$line':"
        printf '%s\n' "$graph"
        failures=$((failures + 1))
    fi
done

[ "$failures" -eq 0 ] && echo "layer check: all cases behave"
exit $((failures > 0))
