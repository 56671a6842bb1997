#!/bin/sh
# Checks that the folders under src/ depend on each other one way only.
# Every folder has a rank of its own:
#
#   12 app          8 print          4 search     0 base
#   11 searchwin    7 framework      3 docs
#   10 dialogs      6 tools          2 settings
#    9 views        5 edit           1 resources
#
# A file may include headers of its own folder or of a folder with a lower
# rank, never of an equal or higher one, so no chain of includes can lead
# back to the folder it started from. A file in a folder without a rank is
# a fault too: a new folder gets its place here first. Folders ranked below
# framework are plain C++ (the core and the command-line tools): they may
# not include Qt either.
#
#   scripts/check-layers.sh [SRC_DIR]           check; exit 1 on a fault
#   scripts/check-layers.sh --graph [SRC_DIR]   print every folder with its
#                                               rank ("rank N: folder"), then
#                                               the folder graph
#                                               ("from -> to (includes)")
set -eu

mode=check
if [ "${1:-}" = "--graph" ]; then
    mode=graph
    shift
fi
src=${1:-$(dirname "$0")/../src}

# Every quoted include under src/ as "file<TAB>included header"; a file
# without includes as "file<TAB>", so that its folder is seen too.
includes() {
    find "$src" -name '*.h' -o -name '*.cpp' -o -name '*.h.in' | sort | while read -r file; do
        printf '%s\t\n' "${file#"$src"/}"
        sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*\(["<]\)\([^">]*\)[">].*/\1\2/p' "$file" |
            while read -r header; do
                printf '%s\t%s\n' "${file#"$src"/}" "$header"
            done
    done
}

includes | awk -F '\t' -v mode="$mode" '
BEGIN {
    rank["base"] = 0
    rank["resources"] = 1
    rank["settings"] = 2
    rank["docs"] = 3
    rank["search"] = 4
    rank["edit"] = 5
    rank["tools"] = 6
    rank["framework"] = 7
    rank["print"] = 8
    rank["views"] = 9
    rank["dialogs"] = 10
    rank["searchwin"] = 11
    rank["app"] = 12
    faults = 0
}
function folder(path,    parts) {
    split(path, parts, "/")
    return parts[1]
}
function fault(text) {
    if (mode == "check") print text
    ++faults
}
{
    file = $1
    from = folder(file)
    if (!(from in rank)) {
        if (!(from in unranked)) fault(file ": folder " from " has no rank in scripts/check-layers.sh")
        unranked[from] = 1
        next
    }
    seen[from] = 1
    if ($2 == "") next
    if (substr($2, 1, 1) == "<") {
        if (rank[from] < rank["framework"] && $2 ~ /^<Q/)
            fault(file ": plain C++ of " from " (rank " rank[from] ") includes " $2 ">")
        next
    }
    header = substr($2, 2)
    if (header !~ /\//) next  # generated headers and same-folder names
    to = folder(header)
    if (to == from) next
    if (!(to in rank)) {
        fault(file ": includes \"" header "\" of folder " to ", which has no rank")
        next
    }
    ++edges[from " -> " to]
    if (rank[to] >= rank[from])
        fault(file ": " from " (rank " rank[from] ") includes " to " (rank " rank[to] "): \"" header "\"")
}
END {
    if (mode == "graph") {
        for (name in seen) printf "rank %2d: %s\n", rank[name], name | "sort"
        close("sort")
        for (edge in edges) printf "%s (%d)\n", edge, edges[edge] | "sort"
        close("sort")
        exit 0
    }
    if (faults > 0) {
        printf "%d include(s) or file(s) break the ranks of the folders\n", faults
        exit 1
    }
    print "layers: every include points to a lower rank"
}'
