# Wine cases of the Windows executable's own parts: the settings window, the
# shell's folder browser, a target folder deeper than 260 characters.
# Sourced by windows_case.sh; WINDOW_TEXTS names window_texts.exe of the build.

# The client area of a native window as window_texts.exe reports it, into
# CLIENT_X / CLIENT_Y (and the texts of its controls into $E2E_DIR/texts).
native_client() {
    local title=$1 word x y w h
    [ -n "${WINDOW_TEXTS:-}" ] && [ -f "$WINDOW_TEXTS" ] || fail "no window_texts.exe at WINDOW_TEXTS"
    # A console program of Wine ends its lines with CR LF.
    wine "$WINDOW_TEXTS" "$title" 2>/dev/null | tr -d '\r' >"$E2E_DIR/texts"
    [ "${PIPESTATUS[0]}" = 0 ] || return 1
    read -r word x y w h <"$E2E_DIR/texts"
    [ "$word" = client ] || return 1
    CLIENT_X=$x
    CLIENT_Y=$y
    CLIENT_W=$w
    CLIENT_H=$h
}

# The shell's folder browser is up when window_texts finds it with the prompt.
browser_shows() { native_client "$BROWSER_TITLE" && grep -qxF -- "$1" "$E2E_DIR/texts"; }
browser_gone() { ! native_client "$BROWSER_TITLE"; }

# Datei -> Einstellungen, its client area taken for the presses that follow.
open_settings() {
    open_settings_window >/dev/null || fail "the settings window did not open"
    wait_until "the settings window's client area" native_client Einstellungen
    [ "${CLIENT_W}x$CLIENT_H" = 376x246 ] ||
        fail "settings window is ${CLIENT_W}x$CLIENT_H, the layout says 376x246"
}

settings_closed() { ! native_client Einstellungen; }

# Settings.ini as the settings window writes it (each argument one value).
windows_ini() {
    local modality=$1 pathD=$2
    printf '[K\xfcrzel]\r\nK\xfcrzel=AB\r\n[Modality]\r\nModality=%s\r\n[GDT]\r\n' "$modality"
    printf 'PathS=%s\r\nPathD=%s\r\n' "$(z_path "$INBOX/anfrage.gdt")" "$pathD"
    printf 'LumeoID=001\r\nSuffix=%s\r\nManual=0\r\nStudyDesc=0\r\n' "$3"
}

ini_is() { cmp -s "$PROG/Settings.ini" "$1"; }

# "LWS in 2 Eb." and OK on the main window: the request delivered into the
# folder, byte for byte, and nothing else left behind or said.
deliver_into() {
    local folder=$1
    CLIENT_X=$MAIN_CLIENT_X CLIENT_Y=$MAIN_CLIENT_Y
    press_and_deliver cmdQB 3 '0148411LW2E \r\n' 001.1.gdt "$folder"
}

start_on_main_window() {
    prepare
    start_tessaro 1
    find_main_window
    MAIN_CLIENT_X=$CLIENT_X MAIN_CLIENT_Y=$CLIENT_Y
}

# The settings window: a modality typed and applied (Settings.ini byte for
# byte); the shell's folder browser opened with its prompt and cancelled, the
# field unchanged (OK writes it as it was); opened again and a folder chosen
# from its tree, which the next commit then delivers into.
case_settings_and_browser() {
    BROWSER_TITLE=${BROWSER_TITLE:-Browse for Folder}
    # A folder on the Wine user's desktop shows at the top of the browser's
    # tree, where typing its name selects it.
    local users=$WINEPREFIX/drive_c/users user desktop name
    user=$(cd "$users" && ls | grep -vx Public | head -n 1)
    desktop=$(readlink -f "$users/$user/Desktop")
    [ -d "$desktop" ] || fail "no desktop folder in the Wine prefix ($users/$user/Desktop)"
    name=Tessaro-Ziel-$$
    mkdir "$desktop/$name"
    DESKTOP_TARGET=$desktop/$name
    trap 'rm -rf "$DESKTOP_TARGET"; windows_cleanup' EXIT

    start_on_main_window
    open_settings
    press_control 135 495 2940 330 # txtModality
    type_text DX
    press_control 4050 3105 1500 465 # cmdApply, "Übernehmen"
    # Apply writes the suffix as the field shows it, in upper case.
    windows_ini DX "$(z_path "$OUTBOX")" GDT >"$(expected applied)"
    wait_until "Settings.ini with the applied modality" ini_is "$(expected applied)"

    press_control 5175 2070 375 375 # cmdSRCDest
    wait_until "the folder browser with its prompt" browser_shows 'Bitte wählen Sie den Ordner aus...'
    xdotool key Escape
    wait_until "the folder browser to close" browser_gone
    wait_until "the settings window's client area" native_client Einstellungen
    press_control 900 3105 1500 465 # cmdSpeichern, "OK": writes every field as it stands
    wait_until "the settings window to close" settings_closed
    # OK writes every field again; the target is unchanged.
    windows_ini DX "$(z_path "$OUTBOX")" GDT >"$(expected cancelled)"
    expect_file "$PROG/Settings.ini" "$(expected cancelled)"

    CLIENT_X=$MAIN_CLIENT_X CLIENT_Y=$MAIN_CLIENT_Y
    open_settings
    press_control 5175 2070 375 375 # cmdSRCDest
    wait_until "the folder browser" browser_shows 'Bitte wählen Sie den Ordner aus...'
    # The browser opens with OK focused; one step back is its tree, where the
    # typed name selects the folder.
    xdotool key shift+Tab
    xdotool type --delay 30 -- "$name"
    xdotool key Return
    wait_until "the folder browser to close" browser_gone
    wait_until "the settings window's client area" native_client Einstellungen
    press_control 900 3105 1500 465 # cmdSpeichern
    wait_until "the settings window to close" settings_closed
    windows_ini DX "C:\\users\\$user\\Desktop\\$name" GDT >"$(expected chosen)"
    expect_file "$PROG/Settings.ini" "$(expected chosen)"

    deliver_into "$DESKTOP_TARGET"
}

# Request and target folder deeper than 260 characters, as the program sees
# them: the road delivers, byte for byte.
case_long_paths() {
    local deep=$E2E_DIR/tief i=0
    while [ "$(z_path "$deep" | wc -c)" -le 300 ]; do
        deep=$deep/Ordner-$i-$(printf '%040d' 0)
        i=$((i + 1))
    done
    INBOX=$deep/eingang
    OUTBOX=$deep/ausgang
    mkdir -p "$INBOX" "$OUTBOX"
    [ "$(z_path "$OUTBOX" | wc -c)" -gt 300 ] || fail "the target folder is not deep enough"
    start_on_main_window
    deliver_into "$OUTBOX"
}
