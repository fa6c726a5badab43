# Wine cases of the hand-over: the request is claimed before delivery, and a
# .zzz of another run under this run's name is left alone.

# The request taken away (withdrawn, or by another workplace) while the
# window is open: OK delivers nothing and says so.
case_request_withdrawn() {
    prepare
    start_tessaro 1
    find_main_window
    rm "$INBOX/anfrage.gdt"
    press_cmdQB 3
    press_cmdOK
    confirm_message_box 'Die Anforderung ist nicht mehr da:' 'Es wurde nichts zugestellt.'
    wait_exit
    expect_nonzero_status
    expect_listing "$OUTBOX"
    expect_listing "$INBOX"
}

# Someone else's 001.1.zzz: never removed or written, nothing delivered, the
# request back in place.
case_zzz_taken() {
    printf 'THEIRS' >"$OUTBOX/001.1.zzz"
    prepare
    start_tessaro 1
    find_main_window
    press_cmdQB 3
    press_cmdOK
    confirm_message_box 'liegt schon eine Datei' 'Es wurde nichts zugestellt.'
    wait_exit
    expect_nonzero_status
    [ "$(cat "$OUTBOX/001.1.zzz")" = THEIRS ] || fail "the other run's .zzz was changed"
    expect_listing "$OUTBOX" 001.1.zzz
    expect_file "$INBOX/anfrage.gdt" "$(expected request)"
    expect_listing "$INBOX" anfrage.gdt
}
