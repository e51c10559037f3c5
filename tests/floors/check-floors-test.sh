#!/usr/bin/env bash
# The floors check on small trees of its own: each case lays out files, runs the check and
# compares its exit status and the offences it prints (FILE:LINE: message).
set -euo pipefail
check="$(cd "$(dirname "$0")/../.." && pwd)/scripts/check-floors.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0

# run_case NAME EXPECTED_STATUS EXPECTED_OUTPUT FILE=CONTENT...   (CONTENT's \n are line breaks)
run_case() {
    local name=$1 expected_status=$2 expected_output=$3
    shift 3
    local root="$work/$name"
    mkdir -p "$root/Carvex/Text" "$root/Carvex/Editor" "$root/kit/core" "$root/platform"
    printf '#pragma once\n' > "$root/Carvex/Text/TextRange.h"
    printf '#pragma once\n#include "Carvex/Text/TextRange.h"\n' > "$root/Carvex/Editor/EditorViewController.h"
    printf '#pragma once\n' > "$root/kit/core/AnyValue.h"
    printf '#pragma once\n' > "$root/platform/Settings.h"
    local entry path
    for entry in "$@"; do
        path=${entry%%=*}
        mkdir -p "$root/$(dirname "$path")"
        printf '%b' "${entry#*=}" > "$root/$path"
    done
    local output status=0
    output=$(bash "$check" "$root" 2>&1) || status=$?
    if [ "$status" -eq 0 ]; then status=0; else status=1; fi
    if [ "$status" -eq "$expected_status" ] && { [ -z "$expected_output" ] && [ -z "$output" ] ||
                                                 [ -n "$expected_output" ] && grep -qxF -- "$expected_output" <<<"$output"; }; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        printf 'FAILED %s: status %s (expected %s), output:\n%s\nexpected a line:\n%s\n' \
            "$name" "$status" "$expected_status" "$output" "$expected_output"
    fi
}

run_case downward_includes_pass 0 "" \
    'Carvex/Editor/Breadcrumb.cpp=#include "Carvex/Editor/EditorViewController.h"\n#include "Carvex/Text/TextRange.h"\n#include "kit/core/AnyValue.h"\n#include "platform/Settings.h"\n#include <QString>\n'
run_case upward_include_fails 1 \
    'Carvex/Text/TextChange.h:3: Carvex/Text (floor 1) includes Carvex/Editor (floor 8): "Carvex/Editor/EditorViewController.h"' \
    'Carvex/Text/TextChange.h=#pragma once\n\n#include "Carvex/Editor/EditorViewController.h"\n'
run_case include_on_the_same_floor_fails 1 \
    'Carvex/Syntax/JSONLexer.cpp:1: Carvex/Syntax (floor 2) includes Carvex/Conversion (floor 2): "Carvex/Conversion/PlainValueTree.h"' \
    'Carvex/Conversion/PlainValueTree.h=#pragma once\n' \
    'Carvex/Syntax/JSONLexer.cpp=#include "Carvex/Conversion/PlainValueTree.h"\n'
run_case spaced_directive_is_read 1 \
    'Carvex/Text/TextChange.h:2: Carvex/Text (floor 1) includes Carvex/Editor (floor 8): "Carvex/Editor/EditorViewController.h"' \
    'Carvex/Text/TextChange.h=#pragma once\n  #  include   "Carvex/Editor/EditorViewController.h"\n'
run_case kit_including_the_application_fails 1 \
    'kit/core/Bad.h:1: kit/ includes Carvex/: "Carvex/Text/TextRange.h"' \
    'kit/core/Bad.h=#include "Carvex/Text/TextRange.h"\n'
run_case kit_including_the_platform_fails 1 \
    'kit/core/Bad.h:1: kit/ includes platform/: "platform/Settings.h"' \
    'kit/core/Bad.h=#include "platform/Settings.h"\n'
run_case platform_including_the_application_fails 1 \
    'platform/Bad.cpp:2: platform/ includes Carvex/: "Carvex/Editor/EditorViewController.h"' \
    'platform/Bad.cpp=#include "platform/Settings.h"\n#include "Carvex/Editor/EditorViewController.h"\n'
run_case folder_without_a_floor_fails 1 \
    'Carvex/Newcomer/Thing.h:1: folder Carvex/Newcomer has no floor (add it to the floors in scripts/check-floors.sh and docs/conventions.md)' \
    'Carvex/Newcomer/Thing.h=#pragma once\n'
run_case include_into_a_folder_without_a_floor_fails 1 \
    'Carvex/Editor/Uses.cpp:1: include "Carvex/Newcomer/Thing.h": folder Carvex/Newcomer has no floor' \
    'Carvex/Newcomer/Thing.h=#pragma once\n' \
    'Carvex/Editor/Uses.cpp=#include "Carvex/Newcomer/Thing.h"\n'
run_case generated_header_is_reported_by_name 1 \
    'Carvex/Editor/Window.cpp:2: include "ui_Window.h" names no file of Carvex/, kit/ or platform/ and cannot be mapped to a folder' \
    'Carvex/Editor/Window.cpp=#include "Carvex/Editor/EditorViewController.h"\n#include "ui_Window.h"\n'
run_case misspelt_header_is_reported_by_name 1 \
    'Carvex/Editor/Window.cpp:1: include "Carvex/Text/TextRnage.h" names no file of Carvex/, kit/ or platform/ and cannot be mapped to a folder' \
    'Carvex/Editor/Window.cpp=#include "Carvex/Text/TextRnage.h"\n'

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
