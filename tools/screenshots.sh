#!/usr/bin/env bash
# Renders the windows of the built program under Xvfb into docs/:
#   docs/main-window.png     a sample patient, the quick-button catalogue, a choice made
#   docs/manual-buttons.png  user-defined buttons, two of them chosen and highlighted
#   docs/settings-window.png the settings window
# Usage: tools/screenshots.sh [BUILD_DIR]   (default: build)
# Needs xvfb, xdotool, x11-utils and imagemagick. There is no window manager,
# so the pictures show the windows without a title bar.
set -u
export LC_ALL=C.UTF-8

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
case $build in /*) ;; *) build=$root/$build ;; esac
binary=$build/src/tessaro
docs=$root/docs

. "$root/tests/e2e/lib.sh"
. "$root/tests/e2e/cases.sh"

command -v import >/dev/null 2>&1 || { echo "import is missing (Debian package imagemagick)" >&2; exit 1; }
[ -x "$binary" ] || { echo "no program at $binary: build first (make build)" >&2; exit 1; }
# A skipped display is a failure here: there would be no pictures.
skip() { echo "cannot render: $*" >&2; exit 1; }
mkdir -p "$docs"

# Lets the program paint what the last events changed.
settle() { sleep 0.6; }

snap() { # window file
    import -window "$1" "$2" || fail "could not capture $2"
    echo "wrote ${2#"$root"/}"
}

# One program run in a fresh directory, on its own display; the function named
# in $1 drives it and takes the pictures.
run() {
    ( make_program_dir "$binary"
      start_display
      "$@" ) || exit 1
}

main_window() {
    prepare_request
    settings_lines CR 'MK' 0 0
    write_ini "$PROG/Settings.ini" "${SETTINGS[@]}"
    start_tessaro 1
    find_main_window
    press_cmdQB 3
    press_txtBpart
    settle
    snap "$MAIN" "$docs/main-window.png"
}

manual_buttons() {
    prepare_request
    settings_lines CR 'MK' 1 0
    write_ini "$PROG/Settings.ini" "${SETTINGS[@]}"
    printf '%b' \
        '0|Thorax in 2 Eb.|TH2E\r\n1|Thorax p.a.|THPA\r\n2|Abdomen|ABD\r\n' \
        '6|Hand & Fu\xdf|HA*\r\n7|Handgelenk|HG*\r\n8|Ellenbogen|EB*\r\n' \
        '12|Schulter|SG*\r\n13|Knie|KN*\r\n14|Sprunggelenk|OSG*\r\n' \
        '18|Sch\xe4del a.p.|SCHAP\r\n19|NNH|NNH\r\n24|HWS in 2 Eb.|HW2E\r\n' \
        '25|BWS in 2 Eb.|BW2E\r\n26|LWS in 2 Eb.|LW2E \r\n54|Becken|BECK\r\n' \
        '55|H\xfcfte|HG*\r\n60|Ganzbein|GB*' >"$PROG/Bodypart.dat"
    start_tessaro 1
    find_main_window
    press_cmdManual 13 3       # Knie, right: "Knie re."
    press_cmdManual 55 1 shift # Hüfte, Shift + left: "Knie re. + Hüfte li."
    press_txtBpart
    settle
    snap "$MAIN" "$docs/manual-buttons.png"
}

settings_window() {
    # Paths as a practice would have them, not the temporary ones of this run.
    write_ini "$PROG/Settings.ini" '[K\xfcrzel]' 'K\xfcrzel=MK' '[Modality]' 'Modality=CR' \
        '[GDT]' "PathS=/srv/praxis/gdt/anfrage.gdt" "PathD=/srv/roentgen/eingang" \
        'LumeoID=001' 'Suffix=gdt' 'Manual=0' 'StudyDesc=1'
    start_tessaro 1
    find_main_window
    choose_menu_entry 2
    wait_until "the settings window" has_window '^Einstellungen$'
    settle
    snap "$(visible_windows '^Einstellungen$' | head -n 1)" "$docs/settings-window.png"
}

run main_window
run manual_buttons
run settings_window
