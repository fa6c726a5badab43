# Settings.ini as a Windows editor saves it, in a program folder whose name
# Windows-1252 cannot hold: read, used for the road, and written back in UTF-8.

# UTF-8 Settings.ini lines as printf escapes; $1 the byte order mark or "",
# $2 the short code.
utf8_settings_lines() {
    SETTINGS=(
        "$1; Tessaro in \\xc5\\x81\\xc3\\xb3d\\xc5\\xba \\xe2\\x80\\x93 Einstellungen" '[K\xc3\xbcrzel]' "K\\xc3\\xbcrzel=$2"
        '[Modality]' 'Modality=CR'
        '[GDT]' "PathS=$E2E_DIR/Eing\\xc3\\xa4nge/anfrage.gdt" "PathD=$OUTBOX" 'LumeoID=001'
        'Suffix=gdt' 'Manual=0' 'StudyDesc=0'
    )
}

# Without and with the byte order mark, one run each in the same folder "Łódź":
# the umlaut PathS leads to the request, the counter and the settings are the
# folder's own, and the short code goes back into the UTF-8 section "Kürzel".
case_settings_utf8() {
    local folder="$E2E_DIR/$(printf '\xc5\x81\xc3\xb3d\xc5\xba')"
    mv "$PROG" "$folder"
    PROG=$folder
    INBOX="$E2E_DIR/$(printf 'Eing\xc3\xa4nge')"
    mkdir -p "$INBOX"
    start_display
    local run bom
    for run in 1 2; do
        bom=''
        [ "$run" = 2 ] && bom='\xef\xbb\xbf'
        prepare_request
        utf8_settings_lines "$bom" ''
        write_ini "$PROG/Settings.ini" "${SETTINGS[@]}"
        start_tessaro "$run"
        find_main_window
        [ "$(main_caption)" = "Velt - Tessaro [JÜRGEN MÜLLER]" ] ||
            fail "run $run: caption is \"$(main_caption)\""
        press_txtShort
        type_text 'Mü'
        press_cmdQB 3
        press_cmdOK
        wait_exit
        expect_status 0
        expect_result '0148411LW2E \r\n'
        expect_file "$OUTBOX/001.$run.gdt" "$(expected gdt)"
        expect_listing "$INBOX"
        printf '%s' "$run" >"$(expected count)"
        expect_file "$PROG/GDTcount.txt" "$(expected count)"
        utf8_settings_lines "$bom" 'M\xc3\xbc'
        write_ini "$(expected ini)" "${SETTINGS[@]}"
        expect_file "$PROG/Settings.ini" "$(expected ini)"
        ! grep -q 'message box:' "$E2E_DIR/tessaro$run.err" ||
            fail "run $run: a message box came up: $(grep 'message box:' "$E2E_DIR/tessaro$run.err")"
    done
    expect_listing "$OUTBOX" 001.1.gdt 001.2.gdt
    expect_listing "$PROG" GDTcount.txt Settings.ini Tessaro.lock tessaro
}
