# End-to-end cases of a main window too large for its screen: it shrinks to fit,
# and presses still land on what is drawn.

# A 1024 x 768 screen without a window manager: the window with its menu would
# be taller than the screen, so it shrinks; the road of one request is the same.
case_small_screen() {
    prepare_request
    settings_lines CR '' 0 0
    write_ini "$PROG/Settings.ini" "${SETTINGS[@]}"
    E2E_SCREEN=1024x768 start_display
    start_tessaro 1
    find_main_window
    expect_shrunk_below 96
    expect_main_on_screen

    press_cmdQB 3 # "LWS in 2 Eb."
    press_cmdOK
    wait_exit
    expect_status 0
    expect_result '0148411LW2E \r\n'
    expect_file "$OUTBOX/001.1.gdt" "$(expected gdt)"
    expect_listing "$OUTBOX" 001.1.gdt
    expect_listing "$INBOX"
    no_messages_logged
}
