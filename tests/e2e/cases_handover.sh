# End-to-end cases of the hand-over: the request claimed before delivery,
# two workplaces on one request, a taken .zzz left alone, an interrupted commit
# finished or undone at the next start, a Lumeo ID Windows cannot hold.

handover_setup() {
    prepare_request
    settings_lines CR 'AB' 0 0
    [ -n "${1:-}" ] && SETTINGS[7]="LumeoID=$1"
    write_ini "$PROG/Settings.ini" "${SETTINGS[@]}"
    printf 41 >"$PROG/GDTcount.txt"
    start_display
}

# True when the window's left edge is at x.
stands_at() { [ "$(xdotool getwindowgeometry --shell "$1" | sed -n 's/^X=//p')" = "$2" ]; }

# Two program folders with the same settings and counter share the request
# and the target folder; both show the patient, both press OK. The one that
# presses first delivers 001.42.gdt; the other finds the request gone and
# delivers nothing.
case_two_workplaces() {
    handover_setup
    mkdir "$E2E_DIR/prog2"
    cp "$PROG/tessaro" "$PROG/Settings.ini" "$PROG/GDTcount.txt" "$E2E_DIR/prog2/"
    start_tessaro 1
    find_main_window
    local first=$TESSARO_PID
    PROG=$E2E_DIR/prog2 start_tessaro 2
    local second=$LAST_PID
    wait_until "the second workplace's window" has_window_of "$second"
    # The first window steps aside while the second one is pressed, so that no
    # press can land on it whatever the stacking (a slow sanitizer build showed
    # presses reaching the first window below the second).
    local firstWindow=$MAIN secondWindow
    secondWindow=$(main_window_of "$second")
    xdotool windowmove "$firstWindow" $((MAIN_X + WIDTH + 100)) "$MAIN_Y"
    within 100 holds_still "$secondWindow" || fail "the second workplace's window keeps moving"
    within 100 stands_at "$firstWindow" $((MAIN_X + WIDTH + 100)) ||
        fail "the first workplace's window did not step aside"

    # Both windows open at the same place: the second one presses OK first and
    # delivers; the first, back in its place, then finds the request gone.
    press_cmdQB 3
    press_cmdOK
    wait_exit "$second"
    expect_status 0
    [ -n "$(main_window_of "$first")" ] || fail "the first workplace's window is gone"
    xdotool windowmove "$firstWindow" "$MAIN_X" "$MAIN_Y"
    within 100 holds_still "$firstWindow" || fail "the first workplace's window keeps moving"

    press_cmdQB 3
    press_cmdOK
    confirm_box_of 1 'Die Anforderung ist nicht mehr da:' 'Es wurde nichts zugestellt.'
    wait_exit "$first"
    expect_status 2

    expect_result '0148411LW2E \r\n'
    expect_file "$OUTBOX/001.42.gdt" "$(expected gdt)"
    expect_listing "$OUTBOX" 001.42.gdt
    expect_listing "$INBOX"
}

# Another run's .zzz under this run's name is left as it is; nothing is
# delivered, the request stays for the next run.
case_zzz_taken() {
    handover_setup
    printf 'THEIRS' >"$OUTBOX/001.42.zzz"
    start_tessaro 1
    find_main_window
    press_cmdQB 3
    press_cmdOK
    confirm_message_box 'liegt schon eine Datei' 'Beim n\xc3\xa4chsten Start wird die n\xc3\xa4chste Nummer vergeben.'
    wait_exit
    expect_status 2
    [ "$(cat "$OUTBOX/001.42.zzz")" = THEIRS ] || fail "the other run's .zzz was changed"
    expect_listing "$OUTBOX" 001.42.zzz
    expect_file "$INBOX/anfrage.gdt" "$(expected request)"
    expect_listing "$INBOX" anfrage.gdt
}

# A Lumeo ID with ":" would name an NTFS stream: refused at OK, nothing
# written, the window stays.
case_lumeo_id_colon() {
    handover_setup '001:x'
    start_tessaro 1
    find_main_window
    press_cmdQB 3
    press_cmdOK
    confirm_message_box 'Die Lumeo-ID "001:x" kann nicht Teil eines Dateinamens sein'
    no_message_box_for 5 || fail "a second message came up"
    running "$TESSARO_PID" || fail "the window closed"
    choose_menu_entry 1
    wait_exit
    expect_status 0
    expect_listing "$OUTBOX"
    expect_file "$INBOX/anfrage.gdt" "$(expected request)"
}

# The real program killed by strace just before a given call of its commit
# (pwrite64 2: the record marked ready; renameat2 2: the .zzz to the .gdt).
start_killed_at() {
    command -v strace >/dev/null 2>&1 || skip "strace is not installed (Debian package strace)"
    (
        cd "$PROG" || exit 127
        exec env QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$E2E_DIR/runtime" TESSARO_LOG_MESSAGES=1 \
            strace -qq -o /dev/null -e "trace=$1" \
            -e "inject=$1:signal=KILL:when=$2" ./tessaro \
            >"$E2E_DIR/tessaro1.out" 2>"$E2E_DIR/tessaro1.err"
    ) &
    TESSARO_PID=$!
    STARTED_PIDS="$STARTED_PIDS $TESSARO_PID"
}

kill_commit_at() {
    handover_setup
    start_killed_at "$1" "$2"
    find_main_window
    press_cmdQB 3
    press_cmdOK
    wait_exit
    [ "$EXIT_STATUS" = 137 ] || fail "the commit was not killed (status $EXIT_STATUS)"
    # Claimed under this run's identifier.
    local claim
    claim=$(ls "$INBOX" | grep -x 'anfrage\.gdt\.tessaro-[0-9a-f]\{32\}\.claim') ||
        fail "no claim in $INBOX"
    expect_listing "$INBOX" "$claim"
    expect_result '0148411LW2E \r\n'
    expect_file "$OUTBOX/001.42.zzz" "$(expected gdt)"
    MAIN="" # the X server may give the next start's windows the ids of this one's
}

# Killed after the .zzz was complete and the record marked ready: the next start puts it
# in place and says so; the request is not offered again.
case_killed_before_put_in_place() {
    kill_commit_at renameat2 2
    start_tessaro 1
    confirm_message_box 'Ein fr\xc3\xbcherer Lauf wurde unterbrochen' 'Zugestellt als' '001.42.gdt'
    find_main_window
    [ "$(main_caption)" = "Velt - Tessaro [ ]" ] || fail "a request is offered again: $(main_caption)"
    choose_menu_entry 1
    wait_exit
    expect_status 0
    expect_file "$OUTBOX/001.42.gdt" "$(expected gdt)"
    expect_listing "$OUTBOX" 001.42.gdt
    expect_listing "$INBOX"
}

# Killed before the record said ready: the next start removes the .zzz, puts the
# request back and offers it; OK delivers it once, under the next number.
case_killed_before_ready() {
    kill_commit_at pwrite64 2
    start_tessaro 1
    confirm_message_box 'Ein fr\xc3\xbcherer Lauf wurde unterbrochen' 'wieder an ihrem Platz'
    find_main_window
    [ "$(main_caption)" = "Velt - Tessaro [JÜRGEN MÜLLER]" ] || fail "caption is \"$(main_caption)\""
    expect_listing "$OUTBOX"
    press_cmdQB 3
    press_cmdOK
    wait_exit
    expect_status 0
    expect_file "$OUTBOX/001.43.gdt" "$(expected gdt)"
    expect_listing "$OUTBOX" 001.43.gdt
    expect_listing "$INBOX"
}
