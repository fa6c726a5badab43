#!/bin/sh
# After ctest: one line per skipped test with its reason, then the count, read
# from ctest's log (ctest itself shows only "Skipped"). A gtest skip gives the
# text after its "Skipped" line, an end-to-end case its "SKIP: ..." line.
# Usage: tools/skipped.sh [build dir]
log="${1:-build}/Testing/Temporary/LastTest.log"
[ -f "$log" ] || { echo "skipped tests: no ctest log at $log"; exit 0; }
awk '
    function skipped() {
        if (!(name in seen)) { seen[name] = 1; n++; printf "SKIPPED %s: %s\n", name, reason }
    }
    /^[0-9]+\/[0-9]+ Test: / { name = $0; sub(/^[0-9]+\/[0-9]+ Test: /, "", name);
                               sub(/  # GetParam.*/, "", name); reason = ""; next_is = 0; next }
    next_is && reason == "" { reason = $0; next_is = 0 }
    /: Skipped$/ { next_is = 1 }
    /^SKIP: / { reason = substr($0, 7); skipped() }
    /^Skip regular expression found/ { skipped() }
    END { printf "skipped tests: %d\n", n + 0 }
' "$log"
