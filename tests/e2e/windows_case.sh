#!/usr/bin/env bash
# Runs one end-to-end case of the Windows build under Wine on an Xvfb of its
# own: windows_case.sh CASE ZIP (E2E_SHOT, see case_road). The program runs from the unpacked zip alone;
# the harness of lib.sh finds its windows, presses at twips positions and
# reads the message texts from stderr (TESSARO_LOG_MESSAGES=1), as for Linux.
# WINEPREFIX names a prefix made beforehand (make test-windows makes it once).
# Exit status 0 passed, 77 skipped, anything else failed.
set -u
export LC_ALL=C.UTF-8

here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"

[ $# -eq 2 ] || { echo "usage: $0 CASE ZIP" >&2; exit 2; }
command -v wine >/dev/null 2>&1 || skip "wine is not installed (Debian packages wine, wine64)"
[ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ] || skip "no Wine prefix at WINEPREFIX=${WINEPREFIX:-}"
export WINEDEBUG=-all

# Wine places a new window lower than a desktop would; room for all of it.
export E2E_SCREEN=1600x1400

# The program folder is the unpacked zip: nothing from the build beside it.
install_zip() {
    (cd "$E2E_DIR" && unzip -q "$1") || fail "cannot unpack $1"
    PROG=$E2E_DIR/tessaro-win64
}
E2E_INSTALL=install_zip

# Our wineserver ends with the case, so that the next one starts inside its
# own X session.
windows_cleanup() {
    cleanup
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    return 0
}
E2E_EXIT_TRAP=windows_cleanup

run_wine_program() { exec env TESSARO_LOG_MESSAGES=1 wine ./tessaro.exe; }
E2E_RUN=run_wine_program

# The Unix path as the Windows program sees it.
z_path() { printf 'Z:%s' "$(printf '%s' "$1" | tr / '\\')"; }

write_windows_settings() {
    write_settings_ini "$PROG/Settings.ini" CR AB 0 0 "$(z_path "$INBOX/anfrage.gdt")" \
        "$(z_path "$OUTBOX")"
}

prepare() {
    write_request "$INBOX/anfrage.gdt"
    cp "$INBOX/anfrage.gdt" "$(expected request)"
    write_windows_settings
    start_display
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
}

# The road of one request from a Z:\ path, with a second start on the way
# that ends at once without touching anything.
case_road() {
    prepare
    start_tessaro 1
    find_main_window
    [ "$(main_caption)" = "Velt - Tessaro [JÜRGEN MÜLLER]" ] ||
        fail "caption is \"$(main_caption)\""
    printf 1 >"$(expected count)"
    expect_file "$PROG/GDTcount.txt" "$(expected count)"
    local listing
    listing=$(dir_listing "$PROG")

    local started=$SECONDS
    start_tessaro 2
    wait_exit "$LAST_PID"
    expect_status 0
    [ $((SECONDS - started)) -lt 10 ] || fail "the second start took $((SECONDS - started)) s to end"
    [ "$(visible_windows '^Velt - Tessaro' | wc -l)" = 1 ] || fail "the second start showed a window"
    [ "$(dir_listing "$PROG")" = "$listing" ] || fail "the second start changed the program folder"
    expect_file "$PROG/GDTcount.txt" "$(expected count)"
    running "$TESSARO_PID" || fail "the first instance ended"

    press_cmdQB 3 # "LWS in 2 Eb."
    # E2E_SHOT=file.png: the window at this moment, for the README.
    if [ -n "${E2E_SHOT:-}" ]; then
        sleep 0.5
        import -window "$MAIN" "$E2E_SHOT" || fail "no screenshot (imagemagick's import)"
    fi
    press_cmdOK
    expect_delivered '0148411LW2E \r\n' 001.1.gdt
}

# The final name already taken: the message names the failure, the program
# ends with a failure status, the request stays, the .zzz is removed.
case_existing_final_name() {
    printf 41 >"$PROG/GDTcount.txt"
    printf 'ALT\r\n' >"$OUTBOX/001.42.gdt"
    cp "$OUTBOX/001.42.gdt" "$(expected older)"
    prepare
    start_tessaro 1
    find_main_window
    press_cmdQB 3
    press_cmdOK
    confirm_message_box 'Es ist ein Fehler aufgetreten.' 'Fehler 58 - Datei existiert bereits' '001.42.gdt'
    wait_exit
    expect_nonzero_status
    { cat "$(expected request)"; printf '0148411LW2E \r\n'; } >"$(expected gdt)"
    # The .zzz of this run is gone with it: no patient data stays behind.
    expect_file "$OUTBOX/001.42.gdt" "$(expected older)"
    expect_listing "$OUTBOX" 001.42.gdt
    expect_file "$INBOX/anfrage.gdt" "$(expected request)"
}

. "$here/windows_cases_shell.sh"
. "$here/windows_cases_screen_fit.sh"
. "$here/windows_cases_handover.sh"
. "$here/windows_cases_msi.sh"

declare -F "case_$1" >/dev/null || { echo "no such case: $1" >&2; exit 2; }
zip=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
make_program_dir "$zip"
"case_$1"
echo "PASS: windows.$1"
