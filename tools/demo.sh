#!/bin/sh
# make run: installs the built Tessaro into <build>/demo beside a Settings.ini and
# a Bodypart.dat of its own, lays a fresh sample request in the inbox and starts
# it. Every file is written in Windows-1252 with CR LF, as the practice's are.
#   usage: sh tools/demo.sh <build directory>
set -eu

build=${1:-build}
case $build in
/*) ;;
*) build=$(pwd)/$build ;;
esac
demo=$build/demo
exe=$build/src/tessaro

if [ ! -x "$exe" ]; then
    echo "demo: $exe not found; build first (make build)" >&2
    exit 1
fi

# UTF-8 text of this script -> Windows-1252 bytes.
ansi() { iconv -f UTF-8 -t WINDOWS-1252; }

# One GDT line: three-digit length counted in Windows-1252 bytes, field, content.
gdt_line() {
    n=$(printf '%s' "$2" | ansi | wc -c)
    printf '%03d%s%s\r\n' $((n + 9)) "$1" "$2"
}

mkdir -p "$demo/inbox" "$demo/outbox"
# Copied beside and renamed over, so a demo still running does not block it.
cp -f "$exe" "$demo/.tessaro.new"
mv -f "$demo/.tessaro.new" "$demo/tessaro"

# Settings and buttons are the operator's once written: kept between runs.
if [ ! -f "$demo/Settings.ini" ]; then
    printf '[Kürzel]\r\nKürzel=\r\n[Modality]\r\nModality=CR\r\n[GDT]\r\nPathS=%s\r\nPathD=%s\r\nLumeoID=001\r\nSuffix=gdt\r\nManual=0\r\nStudyDesc=0\r\n' \
        "$demo/inbox/anfrage.gdt" "$demo/outbox" | ansi >"$demo/Settings.ini"
fi
if [ ! -f "$demo/Bodypart.dat" ]; then
    # CR LF between the lines, none after the last; "*" codes take the side
    # from the mouse button (left li., right re.).
    printf '%s\r\n' \
        '0|Thorax p.a.|THPA' \
        '1|Thorax in 2 Eb.|TH2E' \
        '2|Schädel a.p.|SCHAP' \
        '6|Hand & Fuß|HAFU*' \
        '7|Knie in 2 Eb.|KN2E*' \
        '8|Schulter in 2 Eb.|SG2E*' \
        '12|LWS in 2 Eb.|LW2E' \
        '13|BWS in 2 Eb.|BW2E' |
        ansi >"$demo/Bodypart.dat"
    printf '%s' '54|Becken-Übersicht|BEUE' | ansi >>"$demo/Bodypart.dat"
fi

# A fresh request each run: the previous run's commit has deleted it.
{
    gdt_line 8000 6302
    gdt_line 8315 TESSARO
    gdt_line 8316 PRAXIS
    gdt_line 9206 3
    gdt_line 9218 02.10
    gdt_line 3000 4711
    gdt_line 3101 Müller-Weiß
    gdt_line 3102 Jürgen
    gdt_line 3103 12031961
    gdt_line 3110 1
    gdt_line 6220 'Röntgen Thorax, Verdacht auf Pneumonie'
} | ansi >"$demo/inbox/anfrage.gdt"

echo "Demo directory: $demo"
echo "  request:  $demo/inbox/anfrage.gdt"
echo "  results:  $demo/outbox/001.<number>.gdt"
echo "  settings: $demo/Settings.ini (Manual=1 there, or in Einstellungen, shows Bodypart.dat)"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo
    echo "No display: start it under a virtual X server with"
    echo "  xvfb-run -a $demo/tessaro"
    command -v xvfb-run >/dev/null ||
        echo "(xvfb-run comes with Debian's package xvfb; make test installs it)"
    echo "or, to see it, from a desktop session: $demo/tessaro"
    exit 0
fi

status=0
"$demo/tessaro" || status=$?
echo "Tessaro ended with status $status."
echo "In $demo/outbox:"
ls -l "$demo/outbox"
