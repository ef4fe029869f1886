#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Non-blank lines of the tests against those of the program (src/ and tools/),
# C++ files tracked by git. The tests stay within a third of the code.
set -euo pipefail
cd "$(dirname "$0")/.."
count() { git ls-files -z -- "$@" | grep -zE '\.(cpp|h|hpp|cc)$' | xargs -0 -r grep -hv '^[[:space:]]*$' | wc -l; }
tests=$(count tests)
code=$(count src tools)
awk -v t="$tests" -v c="$code" 'BEGIN { printf "test lines: %d for %d lines of code (%.1f %%)\n", t, c, c ? 100 * t / c : 0 }'
