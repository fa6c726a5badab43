# Wine cases of screens the main window does not fit as it is: it shrinks to the
# work area, presses land on what is drawn, and the .gdt is the same.

# Wine's dpi for the case's prefix, which the other cases share: the value
# found is put back when the case ends, whatever way it ends.
LOG_PIXELS_BEFORE=""
set_log_pixels() {
    LOG_PIXELS_BEFORE=$(wine reg query 'HKCU\Control Panel\Desktop' /v LogPixels 2>/dev/null |
        awk '/LogPixels/ { print $3 }' | tr -d '\r')
    trap restore_log_pixels EXIT
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 ||
        fail "cannot set Wine's LogPixels"
}

restore_log_pixels() {
    if [ -n "$LOG_PIXELS_BEFORE" ]; then
        wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
            /d "$((LOG_PIXELS_BEFORE))" /f >/dev/null 2>&1
    else
        wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1
    fi
    windows_cleanup
}

# 1366 x 768 at 96 dpi: OK and the status bar lay below the screen's edge. The
# road is the same (find_main_window checks that the window is on the screen).
case_small_screen() {
    E2E_SCREEN=1366x768 case_road
    expect_shrunk_below 96
}

# 1920 x 1080 at 144 dpi (150 %), with user-defined buttons: OK was wholly off
# the screen. A caption too long for its button wraps; Wine's Tahoma is
# narrower than Windows' bold one, which already wraps "Becken-Übersicht".
case_high_dpi() {
    E2E_SCREEN=1920x1080
    prepare
    sed -i 's/^Manual=0/Manual=1/' "$PROG/Settings.ini"
    printf '0|Becken-\xdcbersicht im Stehen|BEUE\r\n1|Thorax|TH2E' >"$PROG/Bodypart.dat"
    set_log_pixels 144
    start_tessaro 1
    find_main_window
    # Qt takes 144 dpi either as such or as 96 dpi at 1.5 device pixels a pixel.
    [[ $(logged_line "window frmMain:") =~ (dpi 144 ratio 1|dpi 96 ratio 1\.5) ]] ||
        fail "not at 144 dpi: $(logged_line "window frmMain:")"
    expect_shrunk_below 144
    # Its lines, without the blanks broken at, give the caption.
    local lines
    lines=$(logged_line "button cmdManual(0): " | tr -d '\r')
    [[ $lines == *" | "* && ${lines##*"cmdManual(0): "} =~ ^Becken-\ ?\|?\ ?Übersicht(\ \|\ |\ )im(\ \|\ |\ )Stehen$ ]] ||
        fail "the caption did not wrap: $lines"
    press_and_deliver cmdManual 0 '0138411BEUE\r\n' 001.1.gdt
}
