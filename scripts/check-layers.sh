#!/bin/sh
# Checks that the folders under src/ depend on each other one way only:
#
#   level 0  base, resources
#   level 1  settings
#   level 2  docs, edit, search engine
#   level 3  framework
#   level 4  views, dialogs, print, search windows
#   level 5  app
#
# A file may include headers of its own level or below, never above. The
# Grep and Line Count windows live in src/search beside the engine; the
# files listed in SEARCH_WINDOWS below are the window side, every other
# file there is the engine. Files of levels 0 to 2 are plain C++: they may
# not include Qt either, which keeps the list of window files honest.
#
#   scripts/check-layers.sh [SRC_DIR]           check; exit 1 on a fault
#   scripts/check-layers.sh --graph [SRC_DIR]   print the folder graph
#                                               ("from -> to (includes)")
set -eu

mode=check
if [ "${1:-}" = "--graph" ]; then
    mode=graph
    shift
fi
src=${1:-$(dirname "$0")/../src}

# The window side of src/search (base names without extension).
SEARCH_WINDOWS="search_window search_window_factory grep_dlog count_dlog active_text_view result_list_model"

# Every quoted include under src/ as "file<TAB>included header".
includes() {
    find "$src" -name '*.h' -o -name '*.cpp' -o -name '*.h.in' | sort | while read -r file; do
        sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*\(["<]\)\([^">]*\)[">].*/\1\2/p' "$file" |
            while read -r header; do
                printf '%s\t%s\n' "${file#"$src"/}" "$header"
            done
    done
}

includes | awk -F '\t' -v mode="$mode" -v windows="$SEARCH_WINDOWS" '
BEGIN {
    level["base"] = 0; level["resources"] = 0
    level["settings"] = 1
    level["docs"] = 2; level["edit"] = 2; level["search"] = 2
    level["framework"] = 3
    level["views"] = 4; level["dialogs"] = 4; level["print"] = 4; level["search-windows"] = 4
    level["app"] = 5
    n = split(windows, names, " ")
    for (i = 1; i <= n; ++i) window[names[i]] = 1
    faults = 0
}
# The layer of a path "folder/name.ext" relative to src/.
function layer(path,    parts, base) {
    split(path, parts, "/")
    if (parts[1] == "search") {
        base = parts[2]
        sub(/\.[^.]*$/, "", base)
        if (base in window) return "search-windows"
    }
    return parts[1]
}
{
    file = $1
    from = layer(file)
    if (!(from in level)) next
    if (substr($2, 1, 1) == "<") {
        if (level[from] <= 2 && $2 ~ /^<Q/ && mode == "check") {
            printf "%s: plain C++ of level %d includes %s>\n", file, level[from], $2
            ++faults
        }
        next
    }
    header = substr($2, 2)
    if (header !~ /\//) next  # generated headers and same-folder names
    to = layer(header)
    if (!(to in level)) next
    if (from != to) ++edges[from " -> " to]
    if (level[to] > level[from] && mode == "check") {
        printf "%s: %s (level %d) includes %s (level %d): \"%s\"\n", file, from, level[from], to, level[to], header
        ++faults
    }
}
END {
    if (mode == "graph") {
        for (edge in edges) printf "%s (%d)\n", edge, edges[edge] | "sort"
        close("sort")
        exit 0
    }
    if (faults > 0) {
        printf "%d include(s) point from a lower layer to a higher one\n", faults
        exit 1
    }
    print "layers: every include points down"
}'
