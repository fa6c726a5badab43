# The end-to-end cases, one function each; run_case.sh calls one by name.
# Byte strings are written as printf escapes: \xfc is the Windows-1252 ü.

# Settings.ini lines: modality, short code, Manual, StudyDesc.
settings_lines() {
    mapfile -t SETTINGS < <(settings_ini_lines "$1" "$2" "$3" "$4" "$INBOX/anfrage.gdt" "$OUTBOX")
}

prepare_request() {
    write_request "$INBOX/anfrage.gdt"
    cp "$INBOX/anfrage.gdt" "$(expected request)"
}

# 1. The road of one request: the modality comes from the settings, a left press
# on "LWS in 2 Eb.", a short code typed, OK.
case_road() {
    prepare_request
    settings_lines CR '' 0 0
    write_ini "$PROG/Settings.ini" "${SETTINGS[@]}"
    start_display
    start_tessaro 1
    find_main_window
    [ "$(main_caption)" = "Velt - Tessaro [JÜRGEN MÜLLER]" ] ||
        fail "caption is \"$(main_caption)\""

    press_txtShort
    type_text 'Mü'
    # "LW2E " keeps its blank: 3 + 4 + 5 + 2 = 14 bytes.
    press_and_deliver cmdQB 3 '0148411LW2E \r\n' 001.1.gdt
    printf 1 >"$(expected count)"
    expect_file "$PROG/GDTcount.txt" "$(expected count)"
    settings_lines CR 'M\xfc' 0 0
    write_ini "$(expected ini)" "${SETTINGS[@]}"
    expect_file "$PROG/Settings.ini" "$(expected ini)"
    no_messages_logged
}

# 2. StudyDesc on: the code travels in field 6227; the counter goes on from the
# stored number; an unchanged short code leaves Settings.ini as it was.
case_study_desc() {
    prepare_request
    settings_lines DX 'AB' 0 1
    write_ini "$PROG/Settings.ini" "${SETTINGS[@]}"
    cp "$PROG/Settings.ini" "$(expected ini)"
    printf 41 >"$PROG/GDTcount.txt"
    start_display
    start_tessaro 1
    find_main_window

    press_cmdQB 57 # "Schädel a.p."
    press_cmdOK
    wait_exit
    expect_status 0

    expect_result '0146227SCHAP\r\n'
    expect_file "$OUTBOX/001.42.gdt" "$(expected gdt)"
    expect_listing "$OUTBOX" 001.42.gdt
    expect_listing "$INBOX"
    printf 42 >"$(expected count)"
    expect_file "$PROG/GDTcount.txt" "$(expected count)"
    expect_file "$PROG/Settings.ini" "$(expected ini)"
    no_messages_logged
}

# 3. User-defined buttons: a right press on a sided button, then Shift with a
# left press on a second sided one in the bottom row, which runs right to left.
case_manual_buttons() {
    prepare_request
    # The flags written as the platform's other numbers: &H1 is on, 0e3 off.
    settings_lines CR 'AB' '&H1' '0e3'
    write_ini "$PROG/Settings.ini" "${SETTINGS[@]}"
    # The last line has no line end, as the file format has it.
    printf '0|Thorax in 2 Eb.|TH2E\r\n7|Hand & Fu\xdf|HA*\r\n54|Sch\xe4del a.p.|SCHAP\r\n60|Knie|KN*' \
        >"$PROG/Bodypart.dat"
    start_display
    start_tessaro 1
    find_main_window

    press_cmdManual 7 3          # right: "HA re."
    press_cmdManual 60 1 shift   # Shift + left: "HA re. + KN li."
    press_cmdOK
    wait_exit
    expect_status 0

    expect_result '0248411HA re. + KN li.\r\n'
    expect_file "$OUTBOX/001.1.gdt" "$(expected gdt)"
    expect_listing "$INBOX"
    no_messages_logged
}

# 4. A second start while the first is open ends at once with status 0, reads
# and writes nothing; the first instance then commits as usual.
case_second_instance() {
    prepare_request
    settings_lines CR 'AB' 0 0
    write_ini "$PROG/Settings.ini" "${SETTINGS[@]}"
    cp "$PROG/Settings.ini" "$(expected ini)"
    printf 7 >"$PROG/GDTcount.txt"
    start_display
    start_tessaro 1
    find_main_window
    printf 8 >"$(expected count)"
    expect_file "$PROG/GDTcount.txt" "$(expected count)"
    local listing
    listing=$(dir_listing "$PROG")

    # Another workplace's Tessaro (another program folder) over it, with the
    # focus: the second start brings this folder's window back to the front,
    # never the other one.
    mkdir "$E2E_DIR/other"
    cp "$PROG/tessaro" "$E2E_DIR/other/"
    PROG=$E2E_DIR/other start_tessaro 3
    local other=$LAST_PID otherWindow
    wait_until "the other workplace's window" has_window_of "$other"
    otherWindow=$(main_window_of "$other")
    xdotool windowfocus --sync "$otherWindow"
    local started=$(($(date +%s%N) / 1000000))
    start_tessaro 2
    wait_exit "$LAST_PID"
    wait_until "the first window in front" focus_is "$MAIN"
    kill "$other"
    wait_until "the other workplace's Tessaro to end" not_running "$other"
    local took=$(($(date +%s%N) / 1000000 - started))
    expect_status 0
    [ "$took" -lt 3000 ] || fail "the second instance took $took ms to end"
    [ "$(visible_windows '^Velt - Tessaro' | wc -l)" = 1 ] ||
        fail "the second instance showed a window"
    if [ -s "$E2E_DIR/tessaro2.err" ] || [ -s "$E2E_DIR/tessaro2.out" ]; then
        fail "the second instance printed something"
    fi
    expect_file "$PROG/GDTcount.txt" "$(expected count)"
    expect_file "$PROG/Settings.ini" "$(expected ini)"
    [ "$(dir_listing "$PROG")" = "$listing" ] || fail "the second instance changed the program directory"
    running "$TESSARO_PID" || fail "the first instance ended"

    press_cmdQB 4 # "LWS schräg"
    press_cmdOK
    wait_exit
    expect_status 0
    expect_result '0138411LWS \r\n'
    expect_file "$OUTBOX/001.8.gdt" "$(expected gdt)"
    expect_listing "$INBOX"
}

# 5. No request: OK stays disabled until both the modality and the selection
# are there; then it shows the no-data message and the program ends at once,
# with a non-zero status and without saving the short code.
case_no_request() {
    settings_lines '' 'AB' 0 0
    write_ini "$PROG/Settings.ini" "${SETTINGS[@]}"
    cp "$PROG/Settings.ini" "$(expected ini)"
    start_display
    start_tessaro 1
    find_main_window
    [ "$(main_caption)" = "Velt - Tessaro [ ]" ] || fail "caption is \"$(main_caption)\""

    press_cmdOK
    no_message_box_for 5 || fail "OK acted with neither modality nor selection"
    running "$TESSARO_PID" || fail "the program ended on a press of a disabled OK"

    press_txtMod
    type_text 'CR'
    press_cmdOK
    no_message_box_for 5 || fail "OK acted without a selection"

    press_txtShort
    type_text 'XY' # would be saved if the unload step ran
    press_cmdQB 3
    press_cmdOK
    confirm_message_box 'Die Daten konnten nicht korrekt ausgelesen werden.' \
        'Bitte starten Sie das Programm erneut.'
    wait_exit
    expect_nonzero_status

    expect_file "$PROG/Settings.ini" "$(expected ini)"
    expect_listing "$OUTBOX"
    printf 1 >"$(expected count)"
    expect_file "$PROG/GDTcount.txt" "$(expected count)"
}

# 6. The settings window: "Datei", "Einstellungen"; a new target folder (with an
# umlaut) and a new Lumeo ID typed, OK; the commit lands there under the new
# name, and Settings.ini keeps the lines it had besides the seven values.
case_settings_window() {
    prepare_request
    settings_lines CR 'AB' 0 0
    write_ini "$PROG/Settings.ini" '; von Hand gepflegt' '[Praxis]' 'Name=Dr. B\xe4r' \
        "${SETTINGS[@]}" '[Sonstiges]' 'Farbe=gr\xfcn'
    local target="$E2E_DIR/Zielordner Ü"
    mkdir "$target"
    start_display
    start_tessaro 1
    find_main_window

    local dialog
    dialog=$(open_settings_window) || fail "the settings window did not open"
    local X Y WIDTH HEIGHT
    eval "$(xdotool getwindowgeometry --shell "$dialog")"
    [ "${WIDTH}x$HEIGHT" = 376x246 ] ||
        fail "settings window is ${WIDTH}x$HEIGHT, the layout says 376x246 (5640 x 3690 twips)"
    local mainX=$CLIENT_X mainY=$CLIENT_Y
    CLIENT_X=$X
    CLIENT_Y=$Y
    press_control 135 2070 4965 375 # txtGDTpathD
    type_text "$target"
    press_control 3915 495 1635 330 # txtLumeoID
    type_text '077'
    press_control 900 3105 1500 465 # cmdSpeichern, "OK"
    wait_until "the settings window to close" eval '! has_window "^Einstellungen$"'
    CLIENT_X=$mainX
    CLIENT_Y=$mainY

    press_and_deliver cmdQB 3 '0148411LW2E \r\n' 077.1.gdt "$target"
    expect_listing "$OUTBOX"
    expect_listing "$INBOX"
    # OK writes all seven values again; the suffix shown (and so written back)
    # is the upper-case one.
    write_ini "$(expected ini)" '; von Hand gepflegt' '[Praxis]' 'Name=Dr. B\xe4r' \
        '[K\xfcrzel]' 'K\xfcrzel=AB' '[Modality]' 'Modality=CR' '[GDT]' \
        "PathS=$INBOX/anfrage.gdt" "PathD=$E2E_DIR/Zielordner \\xdc" 'LumeoID=077' \
        'Suffix=GDT' 'Manual=0' 'StudyDesc=0' '[Sonstiges]' 'Farbe=gr\xfcn'
    expect_file "$PROG/Settings.ini" "$(expected ini)"
    no_messages_logged
}

# 7. A file with the final name already in the target folder: the rename fails
# with an error message, the .zzz of this run is removed, the request
# stays, the short code is not saved, the status is non-zero.
case_existing_final_name() {
    prepare_request
    settings_lines CR 'AB' 0 0
    write_ini "$PROG/Settings.ini" "${SETTINGS[@]}"
    cp "$PROG/Settings.ini" "$(expected ini)"
    printf 41 >"$PROG/GDTcount.txt"
    printf 'ALT\r\n' >"$OUTBOX/001.42.gdt"
    cp "$OUTBOX/001.42.gdt" "$(expected older)"
    start_display
    start_tessaro 1
    find_main_window

    press_txtShort
    type_text 'XY'
    press_cmdQB 3
    press_cmdOK
    confirm_message_box 'Es ist ein Fehler aufgetreten.' '001.42.gdt'
    wait_exit
    expect_nonzero_status

    expect_result '0148411LW2E \r\n'
    # The .zzz of this run is gone with it: no patient data stays behind.
    expect_file "$OUTBOX/001.42.gdt" "$(expected older)"
    expect_listing "$OUTBOX" 001.42.gdt
    expect_file "$INBOX/anfrage.gdt" "$(expected request)"
    expect_file "$PROG/Settings.ini" "$(expected ini)"
}

# 8. "Datei" → "Beenden": the short code typed is saved, nothing else changes;
# the request stays for the next run; status 0.
case_quit_from_menu() {
    prepare_request
    settings_lines CR 'AB' 0 0
    write_ini "$PROG/Settings.ini" "${SETTINGS[@]}"
    start_display
    start_tessaro 1
    find_main_window

    press_txtMod
    type_text 'MR' # the modality typed is not kept
    press_txtShort
    type_text 'Jö'
    press_cmdQB 3
    choose_menu_entry 1
    wait_exit
    expect_status 0

    settings_lines CR 'J\xf6' 0 0
    write_ini "$(expected ini)" "${SETTINGS[@]}"
    expect_file "$PROG/Settings.ini" "$(expected ini)"
    expect_file "$INBOX/anfrage.gdt" "$(expected request)"
    expect_listing "$OUTBOX"
    no_messages_logged
}

# 9. Qt's own texts in German though the run's locale is C: the context menu of
# txtBpart. A text box focused by a mouse press takes typing at its end, the
# press at the start of its text notwithstanding. The window offers no resizing.
case_toolkit_german() {
    prepare_request
    settings_lines CR 'AB' 0 0
    write_ini "$PROG/Settings.ini" "${SETTINGS[@]}"
    start_display
    start_tessaro 1
    find_main_window
    expect_fixed_hints "$MAIN" "the main window"

    press_txtBpart 3
    wait_until "the context menu of txtBpart" has_logged 'menu: '
    expect_logged_texts 'menu: ' $'Rückgängig\tStrg+Z' 'Wiederherstellen' 'Ausschneiden' \
        'Kopieren' 'Einfügen' 'Löschen' 'Alles auswählen'
    xdotool key Escape

    press_twips $((10530 + 60)) $((540 + 465 / 2)) # txtShort, left of its "AB"
    xdotool type --delay 15 -- 'C'
    choose_menu_entry 1
    wait_exit
    expect_status 0
    settings_lines CR 'ABC' 0 0
    write_ini "$(expected ini)" "${SETTINGS[@]}"
    expect_file "$PROG/Settings.ini" "$(expected ini)"
    no_messages_logged
}

# 10. The settings window as a fixed form: centred over the main window, no
# resizing offered, check boxes that react right of their text; the folder
# chooser in German with its prompt inside, browsing from the root.
case_settings_form() {
    prepare_request
    settings_lines CR 'AB' 0 0
    write_ini "$PROG/Settings.ini" "${SETTINGS[@]}"
    start_display
    start_tessaro 1
    find_main_window

    local dialog
    dialog=$(open_settings_window) || fail "the settings window did not open"
    expect_centred_over "$dialog" "$MAIN" "the settings window"
    expect_fixed_hints "$dialog" "the settings window"
    local X Y WIDTH HEIGHT
    eval "$(xdotool getwindowgeometry --shell "$dialog")"
    CLIENT_X=$X
    CLIENT_Y=$Y

    press_control 5175 2070 375 375 # cmdSRCDest
    local prompt='Bitte wählen Sie den Ordner aus...'
    wait_until "the folder chooser" has_window "^Bitte w"
    wait_until "the folder chooser's texts" has_logged "dialog \"$prompt\": "
    # The prompt first, in the dialog; then Qt's browser, at the root.
    expect_logged_texts "dialog \"$prompt\": " "\"$prompt\": $prompt | Suchen in: | / |" \
        'Übergeordnetes Verzeichnis' 'Verzeichnis:' 'Auswählen' 'Abbrechen' 'Dateien des Typs:'
    # Escape goes to the focused window; without a window manager a slow start
    # (the sanitizer build) may not have focused the chooser yet, so focus it
    # and press again until it has gone.
    local tries
    for tries in 1 2 3 4 5 6 7 8 9 10; do
        has_window "^Bitte w" || break
        xdotool windowfocus --sync "$(visible_windows '^Bitte w' | head -n 1)" 2>/dev/null || true
        xdotool key Escape
        within 5 eval '! has_window "^Bitte w"' && break
    done
    wait_until "the folder chooser to close" eval '! has_window "^Bitte w"'

    press_twips $((135 + 2850 - 90)) $((2655 + 120))  # chkManual, far right of its text
    # chkStudyDesc runs past the window's right edge: pressed just inside it.
    press_twips $((5640 - 90)) $((2655 + 140)) # chkStudyDesc, right of its text
    press_control 900 3105 1500 465                   # cmdSpeichern, "OK"
    wait_until "the settings window to close" eval '! has_window "^Einstellungen$"'
    grep -q $'^Manual=1\r$' "$PROG/Settings.ini" || fail "chkManual was not checked"
    grep -q $'^StudyDesc=1\r$' "$PROG/Settings.ini" || fail "chkStudyDesc was not checked"
    no_messages_logged
}

# 11. A request without 9206 from a system that writes IBM437: the names read
# right in the caption, and the target file carries the request's own bytes.
case_names_cp437() {
    {
        gdt_line 8000 6302
        gdt_line 3000 4711
        gdt_line 3101 'M\x81ller'
        gdt_line 3102 'J\x81rgen'
        gdt_line 6220 'R\x94ntgen'
    } >"$INBOX/anfrage.gdt"
    cp "$INBOX/anfrage.gdt" "$(expected request)"
    settings_lines CR 'AB' 0 0
    write_ini "$PROG/Settings.ini" "${SETTINGS[@]}"
    start_display
    start_tessaro 1
    find_main_window
    [ "$(main_caption)" = "Velt - Tessaro [JÜRGEN MÜLLER]" ] ||
        fail "caption is \"$(main_caption)\""

    press_and_deliver cmdQB 3 '0148411LW2E \r\n' 001.1.gdt
}

# 12. Under a window manager (openbox; skipped without it): the settings window's
# frame centred over the main window's frame, and neither window resizable.
case_window_manager() {
    command -v openbox >/dev/null 2>&1 || skip "openbox is not installed (Debian package openbox)"
    prepare_request
    settings_lines CR 'AB' 0 0
    write_ini "$PROG/Settings.ini" "${SETTINGS[@]}"
    start_display
    openbox --sm-disable >"$E2E_DIR/openbox.log" 2>&1 &
    STARTED_PIDS="$STARTED_PIDS $!"
    # Set once openbox has finished starting; a window mapped before is lost.
    wait_until "openbox" has_property _NET_CLIENT_LIST -root
    start_tessaro 1
    # Managed windows are no longer children of the root: found by name.
    wait_until "the main window" xdotool search --name '^Velt - Tessaro \['
    MAIN=$(xdotool search --name '^Velt - Tessaro \[' | head -n 1)
    wait_until "the main window's frame" has_property _NET_FRAME_EXTENTS -id "$MAIN"
    wait_until "the main window on screen" eval 'xwininfo -id "$MAIN" | grep -q IsViewable'
    wait_until "openbox to finish placing the main window" holds_still "$MAIN"
    local info
    info=$(xwininfo -id "$MAIN")
    MAIN_X=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
    MAIN_Y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
    MENU_HEIGHT=$(($(awk '/^ *Height:/ {print $2}' <<<"$info") - CLIENT_HEIGHT_PX))
    expect_fixed_hints "$MAIN" "the main window"
    xprop -id "$MAIN" _NET_WM_ALLOWED_ACTIONS | grep -q RESIZE && fail "openbox lets the main window be resized"

    choose_menu_entry 2
    wait_until "the settings window" xdotool search --name '^Einstellungen$'
    local dialog
    dialog=$(xdotool search --name '^Einstellungen$' | head -n 1)
    wait_until "the settings window's frame" has_property _NET_FRAME_EXTENTS -id "$dialog"
    # Qt may correct its first guess once the frame is known: centred and settled.
    wait_until "the settings window centred" centred_over "$dialog" "$MAIN"
    wait_until "the settings window to settle" holds_still "$dialog"
    expect_centred_over "$dialog" "$MAIN" "the settings window"
    xprop -id "$dialog" _NET_WM_ALLOWED_ACTIONS | grep -q RESIZE &&
        fail "openbox lets the settings window be resized"
    return 0
}
