#!/usr/bin/env bash
# Checks the floors of the application's folders over the #include lines of Carvex/, kit/ and
# platform/: a folder of Carvex/ includes only folders on lower floors; kit/ and platform/ never
# include Carvex/ (nor kit/ platform/); every folder of Carvex/ has a floor; every quoted include
# names a file of the repository. Each offence is printed as FILE:LINE: message; exits 1 on any.
# Usage: scripts/check-floors.sh [ROOT]   (ROOT: the repository, by default the one holding this script)
set -euo pipefail
root=${1:-"$(cd "$(dirname "$0")/.." && pwd)"}
cd "$root"

# Lowest first; a folder may include the folders of lower floors only (docs/conventions.md).
floors="
Text 1
Logging 1
CaretContext 2
Conversion 2
Syntax 2
ModelAdapters 3
TextView 3
Examples 4
Indentation 4
Validation 4
Preferences 5
Snippets 5
Completion 6
Documents 6
Console 7
Properties 7
Editor 8
Manual 9
Windows 9
App 10
"

list=$(mktemp)
trap 'rm -f "$list"' EXIT
find Carvex kit platform -type f | LC_ALL=C sort > "$list"

grep -E '\.(h|hpp|cpp|cc)$' "$list" | tr '\n' '\0' | xargs -0 awk -v floors="$floors" -v known="$list" '
BEGIN {
    n = split(floors, entries, "\n")
    for (i = 1; i <= n; i++) {
        if (split(entries[i], pair, " ") == 2) floor[pair[1]] = pair[2] + 0
    }
    while ((getline path < known) > 0) exists[path] = 1
    close(known)
    bad = 0
}
function folderOf(path,    parts) {
    split(path, parts, "/")
    return parts[2]
}
function report(message) {
    printf "%s:%d: %s\n", FILENAME, FNR, message
    bad++
}
FNR == 1 {
    split(FILENAME, top, "/")
    tree = top[1]
    source = (tree == "Carvex") ? folderOf(FILENAME) : ""
    if (tree == "Carvex" && FILENAME ~ /^Carvex\/[^\/]+\// && !(source in floor) && !(source in noted)) {
        noted[source] = 1
        report("folder Carvex/" source " has no floor (add it to the floors in scripts/check-floors.sh and docs/conventions.md)")
    }
}
/^[ \t]*#[ \t]*include[ \t]*"/ {
    if (!match($0, /"[^"]*"/)) next
    target = substr($0, RSTART + 1, RLENGTH - 2)
    if (!(target in exists)) {
        report("include \"" target "\" names no file of Carvex/, kit/ or platform/ and cannot be mapped to a folder")
        next
    }
    split(target, t, "/")
    if (tree != "Carvex") {
        if (t[1] == "Carvex" || (tree == "kit" && t[1] == "platform"))
            report(tree "/ includes " t[1] "/: \"" target "\"")
        next
    }
    if (t[1] != "Carvex" || !(source in floor)) next
    into = t[2]
    if (into == source) next
    if (!(into in floor)) {
        report("include \"" target "\": folder Carvex/" into " has no floor")
    } else if (floor[into] >= floor[source]) {
        report("Carvex/" source " (floor " floor[source] ") includes Carvex/" into " (floor " floor[into] "): \"" target "\"")
    }
}
END {
    if (bad > 0) {
        printf "%d include(s) break the floors\n", bad
        exit 1
    }
}
' || exit 1
