# End-to-end harness: runs the real tessaro executable on an X server of its own
# and drives it the way an operator does, with real pointer and key events.
#
# How it works
# - Every case gets a fresh program directory (a copy of the built executable,
#   its own Settings.ini, request file and target folder) and its own Xvfb,
#   started with -displayfd so that parallel cases never fight over a display.
# - There is no window manager, so windows have no title bar. Windows are found
#   by their caption (`xdotool search --name`); the main window's client area is
#   the bottom 12180 twips of the window, the menu bar is what lies above it.
#   Click positions come from the layout tables in twips, repeated here on
#   purpose: if the program put a control elsewhere, the click misses and the
#   case fails. Twips become pixels at the scale the program logs as it shows
#   its main window (the screen's dpi, the factor that shrinks a window too large
#   for its screen, device pixels a pixel): 15 twips a pixel at 96 dpi unshrunk.
# - Message boxes: the program's real message box writes each text to stderr
#   before it shows it when TESSARO_LOG_MESSAGES=1 is set. The harness reads the
#   text from there and finds the box itself on the screen by its title
#   "Velt - Tessaro" (a visible, ordinary window other than the main window and
#   the menu popup, which Qt also names after the application), then confirms it
#   with the Return key like an operator.
# - Menus and dialogs: with the same switch the program logs the texts of every
#   popup menu and every other dialog as it is shown ("tessaro: menu: ...",
#   "tessaro: dialog \"<title>\": ..."; src/ui/shown_text_log.h), so Qt's own
#   texts (a text box's context menu, the folder chooser) can be read too.
# - Window-manager hints are read with xprop; one case runs under openbox
#   (skipped without it) to see the frames a window manager draws.
# - Files are checked byte for byte (cmp) against bytes built here with printf.
# - Without Xvfb or xdotool, or when the X server does not come up, the case
#   prints one line starting with SKIP and exits 77, which ctest reports as
#   skipped. It never passes without having run.

set -u

readonly E2E_SKIP=77
readonly CLIENT_WIDTH_PX=821  # 12315 twips at 96 dpi, unshrunk
readonly CLIENT_HEIGHT_PX=812 # 12180 twips
# Device pixels an inch of the layout, from the program's log (find_main_window).
LAYOUT_PPI=96
readonly WAIT_SECONDS=${E2E_WAIT_SECONDS:-20}

E2E_DIR=""
XVFB_PID=""
TESSARO_PID=""
STARTED_PIDS=""
E2E_FAILED=0

skip() {
    echo "SKIP: $*"
    exit "$E2E_SKIP"
}

fail() {
    echo "FAIL: $*" >&2
    E2E_FAILED=1
    if [ -n "$E2E_DIR" ] && [ -n "${DISPLAY:-}" ] && command -v import >/dev/null 2>&1; then
        import -window root "$E2E_DIR/failure.png" >/dev/null 2>&1 &&
            echo "screen at the failure: $E2E_DIR/failure.png" >&2
    fi
    for f in "$E2E_DIR"/tessaro*.err; do
        [ -s "$f" ] && { echo "--- $f" >&2; cat "$f" >&2; }
    done
    exit 1
}

cleanup() {
    for pid in $STARTED_PIDS $XVFB_PID; do
        kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    done
    if [ -n "$E2E_DIR" ]; then
        if [ "$E2E_FAILED" = 1 ] || [ -n "${E2E_KEEP:-}" ]; then
            echo "kept for inspection: $E2E_DIR" >&2
        else
            rm -rf "$E2E_DIR"
        fi
    fi
}

# Polls a command until it succeeds; fails the case after WAIT_SECONDS.
wait_until() {
    local what=$1
    shift
    local deadline=$((SECONDS + WAIT_SECONDS))
    until "$@" >/dev/null 2>&1; do
        [ "$SECONDS" -ge "$deadline" ] && fail "timed out waiting for $what"
        sleep 0.05
    done
}

# True as soon as a command succeeds, false when it has not within the given
# tenths of a second (for a step that is tried again when it did not take).
within() {
    local tenths=$1
    shift
    local deadline=$((tenths * 2))
    until "$@" >/dev/null 2>&1; do
        deadline=$((deadline - 1))
        [ "$deadline" -le 0 ] && return 1
        sleep 0.05
    done
}

# --- set-up -------------------------------------------------------------------

# Fresh directory tree: the program's folder PROG, inbox/, outbox/. A harness
# for another build sets the hooks first (the Wine one does): E2E_INSTALL puts
# the program into E2E_DIR and sets PROG, E2E_RUN runs it in the foreground
# from PROG, E2E_EXIT_TRAP ends the case.
make_program_dir() {
    E2E_DIR=$(mktemp -d "${TMPDIR:-/tmp}/tessaro-e2e.XXXXXX")
    trap "${E2E_EXIT_TRAP:-cleanup}" EXIT
    mkdir -p "$E2E_DIR/inbox" "$E2E_DIR/outbox" "$E2E_DIR/runtime"
    chmod 700 "$E2E_DIR/runtime"
    INBOX=$E2E_DIR/inbox
    OUTBOX=$E2E_DIR/outbox
    "${E2E_INSTALL:-install_built_program}" "$1"
}

# prog/ holding a copy of the built executable.
install_built_program() {
    [ -x "$1" ] || fail "no executable at $1"
    mkdir -p "$E2E_DIR/prog"
    cp "$1" "$E2E_DIR/prog/tessaro"
    PROG=$E2E_DIR/prog
}

start_display() {
    command -v Xvfb >/dev/null 2>&1 || skip "Xvfb is not installed (Debian package xvfb)"
    command -v xdotool >/dev/null 2>&1 || skip "xdotool is not installed (Debian package xdotool)"
    command -v xwininfo >/dev/null 2>&1 || skip "xwininfo is not installed (Debian package x11-utils)"
    local numberFile=$E2E_DIR/display
    : >"$numberFile"
    Xvfb -displayfd 3 -screen 0 "${E2E_SCREEN:-1280x1024}x24" -dpi 96 -nolisten tcp -noreset \
        3>"$numberFile" >"$E2E_DIR/xvfb.log" 2>&1 &
    XVFB_PID=$!
    local deadline=$((SECONDS + 10))
    until [ -s "$numberFile" ]; do
        kill -0 "$XVFB_PID" 2>/dev/null || skip "Xvfb did not start: $(tail -n 1 "$E2E_DIR/xvfb.log")"
        [ "$SECONDS" -ge "$deadline" ] && skip "Xvfb did not report a display within 10 s"
        sleep 0.05
    done
    DISPLAY=":$(tr -d '\n' <"$numberFile")"
    export DISPLAY
    xdotool getmouselocation >/dev/null 2>&1 || skip "xdotool cannot talk to Xvfb on $DISPLAY"
    # A German keyboard, as in the practice: umlauts sit on keys of their own.
    # Otherwise xdotool lends a spare key code to each one for a moment, and the
    # program may read the key after the loan has ended.
    setxkbmap -layout de >/dev/null 2>&1 || echo "note: setxkbmap failed; typed umlauts may get lost" >&2
}

# write_ini and write_settings_ini.
. "$(dirname "${BASH_SOURCE[0]}")/settings_ini.sh"

# One GDT line: three-digit length, field, content, CR LF. Content as printf
# escapes (\xfc for ü); the length counts bytes.
gdt_line() {
    local field=$1 content
    content=$(printf '%b' "$2")
    local LC_ALL=C
    printf '%03d%s%s\r\n' $((3 + 4 + ${#content} + 2)) "$field" "$content"
}

# A request as the practice system leaves it: Windows-1252, CR LF.
write_request() {
    {
        gdt_line 8000 6302
        gdt_line 8100 00249
        gdt_line 8315 TESSARO
        gdt_line 8316 PRAXISSYS
        gdt_line 9218 02.10
        gdt_line 3000 4711
        gdt_line 3101 'M\xfcller'
        gdt_line 3102 'J\xfcrgen'
        gdt_line 3103 24121960
        gdt_line 3110 1
        gdt_line 6220 'R\xf6ntgen LWS, Z.n. Sturz'
    } >"$1"
}

# --- the program ----------------------------------------------------------------

# Starts the copied program in its directory; its stdout and stderr go to
# tessaro<N>.out/.err. Sets TESSARO_PID (the first instance only) and LAST_PID.
start_tessaro() {
    local n=$1
    (
        cd "$PROG" || exit 127
        "${E2E_RUN:-run_built_program}" >"$E2E_DIR/tessaro$n.out" 2>"$E2E_DIR/tessaro$n.err"
    ) &
    LAST_PID=$!
    STARTED_PIDS="$STARTED_PIDS $LAST_PID"
    [ -z "$TESSARO_PID" ] && TESSARO_PID=$LAST_PID
    return 0
}

# The program in place of the subshell, so that its process number is the one
# start_tessaro reports.
run_built_program() {
    exec env -u QT_SCALE_FACTOR -u QT_SCREEN_SCALE_FACTORS -u QT_AUTO_SCREEN_SCALE_FACTOR \
        -u QT_FONT_DPI -u QT_STYLE_OVERRIDE \
        QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$E2E_DIR/runtime" TESSARO_LOG_MESSAGES=1 ./tessaro
}

# Waits for the program to end and sets EXIT_STATUS.
wait_exit() {
    local pid=${1:-$TESSARO_PID}
    wait_until "the program (pid $pid) to end" not_running "$pid"
    wait "$pid"
    EXIT_STATUS=$?
    STARTED_PIDS=$(echo " $STARTED_PIDS " | sed "s/ $pid / /")
    [ "$pid" = "$TESSARO_PID" ] && TESSARO_PID=""
    return 0
}

not_running() { ! kill -0 "$1" 2>/dev/null; }

running() { kill -0 "$1" 2>/dev/null; }

# --- windows --------------------------------------------------------------------

# Top-level windows that are mapped and whose caption matches the extended
# regular expression. Without a window manager every top-level window is a
# child of the root; `xdotool search` passes over Qt's menu popups, so the
# list comes from xwininfo.
visible_windows() {
    local pattern=$1 id name
    xwininfo -root -children 2>/dev/null |
        sed -n 's/^ *\(0x[0-9a-f]*\) "\(.*\)": (.*$/\1 \2/p' |
        while read -r id name; do
            [[ $name =~ $pattern ]] || continue
            xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' && echo "$id"
        done
    return 0
}

has_window() { [ -n "$(visible_windows "$1")" ]; }

# The scale of the layout as the program logged it on showing its main window:
# "tessaro: window frmMain: factor F dpi D ratio R" gives F x D x R.
read_layout_scale() {
    wait_until "the main window's scale in the log" has_logged "window frmMain:"
    LAYOUT_PPI=$(logged_line "window frmMain:" | awk '{
        for (i = 1; i < NF; i++) {
            if ($i == "factor") f = $(i + 1)
            if ($i == "dpi") d = $(i + 1)
            if ($i == "ratio") r = $(i + 1)
        }
        printf "%.6f", f * d * r }')
}

# The main window's caption always has the bracketed patient part.
find_main_window() {
    wait_until "the main window" has_window '^Velt - Tessaro \['
    MAIN=$(visible_windows '^Velt - Tessaro \[' | head -n 1)
    read_layout_scale
    eval "$(xdotool getwindowgeometry --shell "$MAIN")"
    local clientWidth clientHeight
    clientWidth=$(twips_to_px 12315)
    clientHeight=$(twips_to_px 12180)
    ((WIDTH - clientWidth <= 1 && clientWidth - WIDTH <= 1)) ||
        fail "main window is $WIDTH pixels wide, the layout says $clientWidth"
    MENU_HEIGHT=$((HEIGHT - clientHeight))
    [ "$MENU_HEIGHT" -gt 0 ] || fail "main window has no room for a menu bar (height $HEIGHT)"
    CLIENT_X=$X
    CLIENT_Y=$((Y + MENU_HEIGHT))
    MAIN_X=$X
    MAIN_Y=$Y
    expect_main_on_screen
}

main_caption() { xdotool getwindowname "$MAIN"; }

main_window_of() {
    xdotool search --onlyvisible --pid "$1" --name '^Velt - Tessaro \[' 2>/dev/null | head -n 1
}

has_window_of() { [ -n "$(main_window_of "$1")" ]; }

# xdotool names windows in decimal, xwininfo in hexadecimal.
focus_is() { [ "$(xdotool getwindowfocus)" = "$(($1))" ]; }

is_override_redirect() { xwininfo -id "$1" | grep -q 'Override Redirect State: yes'; }

# Windows titled exactly like the application: message boxes (ordinary
# windows) and menu popups (override-redirect).
message_box_window() {
    local w
    for w in $(visible_windows '^Velt - Tessaro$'); do
        [ "$w" = "${MAIN:-}" ] && continue
        is_override_redirect "$w" || {
            echo "$w"
            return 0
        }
    done
    return 1
}

menu_popup_window() {
    local w
    for w in $(visible_windows '^Velt - Tessaro$'); do
        is_override_redirect "$w" && {
            echo "$w"
            return 0
        }
    done
    return 1
}

has_message_box() { [ -n "$(message_box_window)" ]; }

# The last logged line of a kind ("menu: ", "dialog \"Title\": "), with the
# mnemonic markers "&" taken out.
logged_line() { grep -F "tessaro: $1" "$E2E_DIR/tessaro1.err" | tail -n 1 | sed 's/&//g'; }

has_logged() { grep -qF "tessaro: $1" "$E2E_DIR/tessaro1.err"; }

# Fails unless the logged line holds every given text.
expect_logged_texts() {
    local kind=$1 line text
    shift
    line=$(logged_line "$kind")
    for text in "$@"; do
        [[ $line == *"$text"* ]] || fail "no \"$text\" in what was shown: $line"
    done
}

# has_property NAME -root / has_property NAME -id WINDOW: the property is set
# (xprop's status says nothing; a missing one reads "not found" or "no such atom").
has_property() { xprop "${@:2}" "$1" 2>/dev/null | grep -q "^$1("; }

# Frame rectangle of a top-level window, "X Y WIDTH HEIGHT": its client area
# grown by the frame extents its window manager announces (none without one).
frame_of() {
    local info x y w h l=0 r=0 t=0 b=0 extents
    info=$(xwininfo -id "$1")
    x=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
    y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
    w=$(awk '/^ *Width:/ {print $2}' <<<"$info")
    h=$(awk '/^ *Height:/ {print $2}' <<<"$info")
    extents=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p')
    [ -n "$extents" ] && IFS=', ' read -r l r t b <<<"$extents"
    echo $((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))
}

# True when the window's frame has not moved over a tenth of a second: the
# window manager has finished placing it.
holds_still() {
    local before
    before=$(frame_of "$1")
    sleep 0.1
    [ "$(frame_of "$1")" = "$before" ]
}

# The frame of the first window lies centred over the frame of the second,
# within a pixel (odd differences in size cannot be halved).
centred_over() {
    local ax ay aw ah ox oy ow oh
    read -r ax ay aw ah <<<"$(frame_of "$1")"
    read -r ox oy ow oh <<<"$(frame_of "$2")"
    local dx=$((2 * ax + aw - 2 * ox - ow)) dy=$((2 * ay + ah - 2 * oy - oh))
    ((dx >= -2 && dx <= 2 && dy >= -2 && dy <= 2))
}
expect_centred_over() {
    centred_over "$1" "$2" && return 0
    local ax ay aw ah ox oy ow oh
    read -r ax ay aw ah <<<"$(frame_of "$1")"
    read -r ox oy ow oh <<<"$(frame_of "$2")"
    fail "$3: frame $ax,$ay ${aw}x$ah is not centred over the main window's $ox,$oy ${ow}x$oh"
}

# The Motif hints offer neither resizing nor maximizing: the functions named
# (flag 1) without RESIZE 0x02 and MAXIMIZE 0x10, the decorations named (flag 2)
# without resize handles 0x04 and the maximize box 0x40.
expect_fixed_hints() {
    local hints flags functions decorations
    hints=$(xprop -id "$1" _MOTIF_WM_HINTS 2>/dev/null | sed -n 's/.*= //p')
    [ -n "$hints" ] || fail "$2 has no Motif hints"
    IFS=', ' read -r flags functions decorations _ <<<"$hints"
    (((flags & 1) && !(functions & 0x12) && (flags & 2) && !(decorations & 0x44))) ||
        fail "$2 offers resizing in its Motif hints: $hints"
}

# --- pointer and keys -------------------------------------------------------------

twips_to_px() { awk -v t="$1" -v p="$LAYOUT_PPI" 'BEGIN { printf "%d", int(t * p / 1440 + 0.5) }'; }

# Mouse button goes down and up at a client position given in twips; button 1
# left, 2 middle, 3 right (X numbering); optional modifier key held meanwhile.
press_twips() {
    local tx=$1 ty=$2 button=${3:-1} modifier=${4:-}
    local x=$((CLIENT_X + $(twips_to_px "$tx"))) y=$((CLIENT_Y + $(twips_to_px "$ty")))
    xdotool mousemove --sync "$x" "$y"
    [ -n "$modifier" ] && xdotool keydown "$modifier"
    xdotool mousedown "$button"
    xdotool mouseup "$button"
    [ -n "$modifier" ] && xdotool keyup "$modifier"
    return 0
}

# Centre of a control held directly by the window: left top width height.
press_control() { press_twips $(($1 + $3 / 2)) $(($2 + $4 / 2)) "${@:5}"; }

# Controls of the main window (left, top, width, height in twips).
press_txtMod() { press_control 135 540 3975 465 "$@"; }
press_txtBpart() { press_control 4320 540 6000 465 "$@"; }
press_txtShort() { press_control 10530 540 1635 465 "$@"; }
press_cmdOK() { press_control 135 10845 12075 915 "$@"; }

# Quick buttons: picNoManual at (135, 1080); each group frame inside it and the
# button panel inside the frame; the button at its catalogue position; every
# button 1635 x 420.
press_cmdQB() {
    local index=$1 group left top panelX panelY
    shift
    case $index in # the entries the cases press: group, left, top
    3) group=1 left=90 top=1305 ;;    # "LWS in 2 Eb.", LW2E
    4) group=1 left=1935 top=1305 ;;  # "LWS schräg", LWS
    57) group=4 left=4005 top=90 ;;   # "Schädel a.p.", SCHAP
    *) fail "no position for cmdQB($index) in the harness" ;;
    esac
    case $group in # frame in picNoManual + button panel in the frame
    1) panelX=$((135 + 0 + 45)) panelY=$((1080 + 0 + 225)) ;;
    2) panelX=$((135 + 4230 + 90)) panelY=$((1080 + 0 + 225)) ;;
    3) panelX=$((135 + 0 + 90)) panelY=$((1080 + 4095 + 225)) ;;
    4) panelX=$((135 + 4230 + 90)) panelY=$((1080 + 4095 + 270)) ;;
    esac
    press_twips $((panelX + left + 1635 / 2)) $((panelY + top + 420 / 2)) "$@"
}

# User-defined buttons: picManual at (135, 1080); six columns, eleven rows;
# rows 9 and 10 run right to left; every button 1770 x 600.
press_cmdManual() {
    local index=$1
    shift
    local columns=(0 2070 4095 6165 8190 10260)
    local rows=(90 990 1890 2790 3690 4590 5490 6390 7290 8145 9000)
    local row=$((index / 6)) column=$((index % 6))
    [ "$row" -ge 9 ] && column=$((5 - column))
    press_twips $((135 + ${columns[$column]} + 1770 / 2)) $((1080 + ${rows[$row]} + 600 / 2)) "$@"
}

# Replaces the text of the focused text box by typing, as an operator would.
type_text() {
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 15 -- "$1"
}

# "Datei", then the entry by its place in the menu (1 "Beenden", 2 "Einstellungen").
choose_menu_entry() {
    local entry=$1 entries=2
    xdotool mousemove --sync $((MAIN_X + 16)) $((MAIN_Y + MENU_HEIGHT / 2))
    xdotool click 1
    wait_until "the Datei menu" menu_popup_window
    local popup
    popup=$(menu_popup_window)
    local X Y WIDTH HEIGHT
    eval "$(xdotool getwindowgeometry --shell "$popup")"
    xdotool mousemove --sync $((X + WIDTH / 2)) $((Y + HEIGHT * (2 * entry - 1) / (2 * entries)))
    xdotool click 1
}

# Datei -> Einstellungen; prints the settings window's id once it is there.
open_settings_window() {
    choose_menu_entry 2
    wait_until "the settings window" has_window '^Einstellungen$'
    visible_windows '^Einstellungen$' | head -n 1
}

# Waits for a message box, checks that instance N logged the expected text
# (each further argument one line of it, as printf escapes in UTF-8) and
# confirms it.
confirm_box_of() {
    local n=$1 line
    shift
    wait_until "a message box of instance $n" has_message_box
    for line in "$@"; do
        grep -qF -- "$(printf '%b' "$line")" "$E2E_DIR/tessaro$n.err" ||
            fail "instance $n's message does not say: $(printf '%b' "$line")"
    done
    xdotool windowfocus --sync "$(message_box_window)" 2>/dev/null || true
    xdotool key Return
}

confirm_message_box() { confirm_box_of 1 "$@"; }

# True when no message box comes up within the given tenths of a second (for
# presses that must do nothing).
no_message_box_for() {
    local tenths=$1
    while [ "$tenths" -gt 0 ]; do
        has_message_box && return 1
        sleep 0.1
        tenths=$((tenths - 1))
    done
    ! has_message_box
}

# --- checks ----------------------------------------------------------------------

# File content equals the expected bytes (given as a file).
expect_file() {
    local actual=$1 expected=$2
    [ -f "$actual" ] || fail "missing file $actual"
    cmp -s "$actual" "$expected" || {
        echo "expected bytes:" >&2
        od -c "$expected" | head -n 40 >&2
        echo "actual bytes:" >&2
        od -c "$actual" | head -n 40 >&2
        fail "$actual differs from what it should hold"
    }
}

# The main window's X window lies wholly on the screen (under Wine without a
# window manager the frame Windows counts is not drawn).
expect_main_on_screen() {
    local x y w h sw sh
    read -r x y w h <<<"$(frame_of "$MAIN")"
    read -r sw sh <<<"$(xdotool getdisplaygeometry)"
    ((x >= 0 && y >= 0 && x + w <= sw && y + h <= sh)) ||
        fail "the main window at $x,$y ${w}x$h runs off the ${sw}x$sh screen"
}

# The layout was shrunk to fit: fewer device pixels an inch than unshrunk.
expect_shrunk_below() {
    awk -v p="$LAYOUT_PPI" -v full="$1" 'BEGIN { exit !(p < full) }' ||
        fail "the window was not shrunk ($LAYOUT_PPI pixels an inch, $1 unshrunk)"
}

expect_absent() { [ ! -e "$1" ] || fail "$1 should not exist"; }

expect_status() {
    [ "$EXIT_STATUS" = "$1" ] || fail "exit status $EXIT_STATUS, expected $1"
}

expect_nonzero_status() {
    [ "$EXIT_STATUS" != 0 ] || fail "exit status 0, expected a non-zero status"
}

# Lists what a directory holds, one name a line, sorted.
dir_listing() { (cd "$1" && LC_ALL=C ls -A); }

expect_listing() {
    local dir=$1
    shift
    local want
    want=$(printf '%s\n' "$@")
    [ $# -eq 0 ] && want=""
    [ "$(dir_listing "$dir")" = "$want" ] ||
        fail "$dir holds [$(dir_listing "$dir" | tr '\n' ' ')], expected [$*]"
}

expected() { echo "$E2E_DIR/expected.$1"; }

# The request as it was, followed by one GDT line (given whole, as escapes).
expect_result() {
    { cat "$(expected request)"; printf '%b' "$1"; } >"$(expected gdt)"
}

no_messages_logged() {
    ! grep -q 'message box:' "$E2E_DIR/tessaro1.err" ||
        fail "a message box came up: $(grep 'message box:' "$E2E_DIR/tessaro1.err")"
}

# The run ended with status 0, having delivered the request followed by LINE
# (escapes) as NAME, alone in FOLDER ($OUTBOX unless given), byte for byte;
# the request folder empty, nothing said.
expect_delivered() {
    local line=$1 name=$2 folder=${3:-$OUTBOX}
    wait_exit
    expect_status 0
    expect_result "$line"
    expect_file "$folder/$name" "$(expected gdt)"
    expect_listing "$folder" "$name"
    expect_listing "$INBOX"
    no_messages_logged
}

# Presses an examination button (BUTTON INDEX: cmdQB 3, cmdManual 0) and OK,
# then expects the delivery as expect_delivered does with the rest.
press_and_deliver() {
    "press_$1" "$2"
    press_cmdOK
    shift 2
    expect_delivered "$@"
}
