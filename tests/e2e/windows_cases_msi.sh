# The installer under Wine, run the way software distribution runs it:
# msiexec without any dialog (/qn) and with a verbose log. Sourced by
# windows_case.sh; TESSARO_MSI names the package make windows built.
#
# Wine's Windows Installer puts the per-machine Start menu into the user's
# profile, so the entry is looked for where the log says the menu folder is.

msi_tool_dir=$(cd "$here/../../tools" && pwd)

# msiexec LOG ARGS...: quiet and logged, without an X server and without
# Wine copying the Start-menu entry into the desktop of the account running
# the tests.
msiexec_quiet() {
    local log=$1
    shift
    DISPLAY= WINEDLLOVERRIDES=winemenubuilder.exe=d wine msiexec "$@" /qn /l*v "$(z_path "$log")"
}

# A Wine server that stays between the steps: a cold start of Wine's
# services costs more than most of the steps themselves.
msi_server() {
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    wineserver -p
}

# A Windows path on drive C: as the Unix path inside the prefix.
prefix_path() { printf '%s/drive_c%s' "$WINEPREFIX" "$(printf '%s' "${1#[Cc]:}" | tr '\\' /)"; }

# reg_values KEY: "subkey|name|value" for every value below KEY (64-bit view).
reg_values() {
    DISPLAY= wine reg query "$1" /s 2>/dev/null | tr -d '\r' | awk '
        /^HKEY_/ { key = $0; sub(/.*\\/, "", key); next }
        /^    / {
            line = substr($0, 5); n = index(line, "    "); rest = substr(line, n + 4); m = index(rest, "    ")
            print key "|" substr(line, 1, n - 1) "|" (m ? substr(rest, m + 4) : "")
        }'
}

# "product-code version publisher" for each Add/Remove Programs entry of Tessaro.
arp_entries() {
    reg_values 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' | awk -F'|' '
        { v[$1, $2] = $3; keys[$1] = 1 }
        END { for (k in keys) if (v[k, "DisplayName"] == "Velt - Tessaro") print k, v[k, "DisplayVersion"], v[k, "Publisher"] }'
}

# The icon Add/Remove Programs shows for Tessaro (a Windows path).
arp_icon() {
    reg_values 'HKLM\Software\Classes\Installer\Products' | awk -F'|' '
        { v[$1, $2] = $3; keys[$1] = 1 }
        END { for (k in keys) if (v[k, "ProductName"] == "Velt - Tessaro") print v[k, "ProductIcon"] }'
}

start_menu_entry() {
    local folder
    folder=$(sed -n 's/^Property(S): ProgramMenuFolder = //p' "$1" | tr -d '\r' | head -n 1)
    [ -n "$folder" ] || fail "the log $1 names no Start-menu folder"
    printf '%s/Velt - Tessaro.lnk' "$(prefix_path "$folder")"
}

# Leftovers of an earlier run that failed half-way: the prefix is shared.
msi_clean_prefix() {
    local code rest
    arp_entries | while read -r code rest; do
        msiexec_quiet "$E2E_DIR/leftover.log" /x "$code" || true
    done
    rm -rf "$(prefix_path 'C:\Tessaro')" "$(prefix_path 'C:\GDT')"
}

# Install, the road of one request from the installed folder, an upgrade
# over the practice's changed files, a refused downgrade, uninstall; then a
# folder given with INSTALLDIR, which a later upgrade keeps; Program Files
# refused.
case_msi() {
    local msi=${TESSARO_MSI:-}
    [ -n "$msi" ] && [ -f "$msi" ] || skip "no installer at TESSARO_MSI=$msi"
    command -v wixl >/dev/null 2>&1 || skip "wixl is not installed (Debian package wixl)"
    local version=${msi##*/tessaro-}
    version=${version%-win64.msi}
    local major minor patch
    IFS=. read -r major minor patch <<<"$version"
    local newer=$major.$minor.$((patch + 1))
    local installed
    installed=$(prefix_path 'C:\Tessaro')
    msi_server
    msi_clean_prefix

    msiexec_quiet "$E2E_DIR/install.log" /i "$(z_path "$msi")" || fail "install ended with $?"
    diff -r "$E2E_DIR/tessaro-win64" "$installed" >&2 || fail "C:\\Tessaro differs from the zip's folder"
    local menu
    menu=$(start_menu_entry "$E2E_DIR/install.log")
    [ -f "$menu" ] || fail "no Start-menu entry at $menu"
    grep -a -q -F 'C:\Tessaro\tessaro.exe' "$menu" || fail "the Start-menu entry does not start C:\\Tessaro\\tessaro.exe"
    local entry
    entry=$(arp_entries)
    [ "${entry#* }" = "$version Velt" ] || fail "Add/Remove Programs shows \"$entry\""
    local icon
    icon=$(arp_icon)
    [ -n "$icon" ] && cmp -s "$(prefix_path "$icon")" "$installed/tessaro.exe" ||
        fail "the product icon \"$icon\" is not the program's"

    # The road changes Settings.ini (its own paths) and makes GDTcount.txt.
    PROG=$installed
    case_road
    msi_server
    printf '99|Eigene Aufnahme|EIGEN\r\n' >>"$PROG/Bodypart.dat"
    mkdir -p "$E2E_DIR/kept"
    # The program's own lock file stays like the counter: the installer never
    # touches a file it did not install.
    cp "$PROG/Settings.ini" "$PROG/Bodypart.dat" "$PROG/GDTcount.txt" "$PROG/Tessaro.lock" \
        "$E2E_DIR/kept/"

    # A newer package from the same folder; a tail on the exe tells the new
    # one from the old (Windows loads an image without looking past its end).
    cp -r "$E2E_DIR/tessaro-win64" "$E2E_DIR/newer"
    printf 'newer build %s' "$newer" >>"$E2E_DIR/newer/tessaro.exe"
    sh "$msi_tool_dir/build_msi.sh" "$E2E_DIR/newer" "$newer" "$E2E_DIR/newer.msi" >/dev/null ||
        fail "cannot build the newer package"
    msiexec_quiet "$E2E_DIR/upgrade.log" /i "$(z_path "$E2E_DIR/newer.msi")" || fail "upgrade ended with $?"
    cmp "$E2E_DIR/newer/tessaro.exe" "$installed/tessaro.exe" || fail "the upgrade left the old tessaro.exe"
    diff -r "$E2E_DIR/kept" "$installed" | grep -a -v '^Only in ' >&2 && fail "the upgrade changed a practice file"
    entry=$(arp_entries)
    [ "${entry#* }" = "$newer Velt" ] || fail "after the upgrade Add/Remove Programs shows \"$entry\""

    # The older package over the newer: refused, nothing changed.
    local listing
    listing=$(cd "$installed" && find . -type f -exec md5sum {} + | LC_ALL=C sort)
    msiexec_quiet "$E2E_DIR/downgrade.log" /i "$(z_path "$msi")" && fail "the downgrade was installed"
    grep -a -q '^Property(S): WIX_DOWNGRADE_DETECTED = ' "$E2E_DIR/downgrade.log" ||
        fail "the downgrade was refused for another reason (see $E2E_DIR/downgrade.log)"
    [ "$(cd "$installed" && find . -type f -exec md5sum {} + | LC_ALL=C sort)" = "$listing" ] ||
        fail "the refused downgrade changed C:\\Tessaro"
    [ "$(arp_entries)" = "$entry" ] || fail "the refused downgrade changed Add/Remove Programs"

    msiexec_quiet "$E2E_DIR/uninstall.log" /x "$(z_path "$E2E_DIR/newer.msi")" || fail "uninstall ended with $?"
    diff -r "$E2E_DIR/kept" "$installed" >&2 || fail "uninstall did not leave exactly the practice files"
    [ ! -e "$menu" ] || fail "uninstall left the Start-menu entry"
    [ -z "$(arp_entries)" ] || fail "uninstall left an Add/Remove Programs entry"
    ! DISPLAY= wine reg query 'HKLM\Software\Velt' >/dev/null 2>&1 || fail "uninstall left HKLM\\Software\\Velt"
    rm -rf "$installed"

    # A folder of one's own on the command line; an upgrade without it goes there too.
    local chosen
    chosen=$(prefix_path 'C:\GDT\Tessaro')
    msiexec_quiet "$E2E_DIR/chosen.log" /i "$(z_path "$msi")" 'INSTALLDIR=C:\GDT\Tessaro' ||
        fail "install into C:\\GDT\\Tessaro ended with $?"
    cmp -s "$E2E_DIR/tessaro-win64/tessaro.exe" "$chosen/tessaro.exe" || fail "INSTALLDIR was not followed"
    msiexec_quiet "$E2E_DIR/chosen-upgrade.log" /i "$(z_path "$E2E_DIR/newer.msi")" || fail "upgrade ended with $?"
    cmp -s "$E2E_DIR/newer/tessaro.exe" "$chosen/tessaro.exe" || fail "the upgrade left C:\\GDT\\Tessaro"
    [ ! -e "$installed" ] || fail "the upgrade went to C:\\Tessaro instead of the installed folder"
    msiexec_quiet "$E2E_DIR/chosen-uninstall.log" /x "$(z_path "$E2E_DIR/newer.msi")" || fail "uninstall ended with $?"
    rm -rf "$(prefix_path 'C:\GDT')"

    # Under Program Files the operators could not write their files: refused.
    msiexec_quiet "$E2E_DIR/programfiles.log" /i "$(z_path "$msi")" 'INSTALLDIR=C:\Program Files\Tessaro' &&
        fail "an install under Program Files went through"
    grep -a -q 'Action start [0-9:]*: RefuseProgramFiles' "$E2E_DIR/programfiles.log" ||
        fail "the install under Program Files failed for another reason"
    [ ! -e "$(prefix_path 'C:\Program Files\Tessaro')" ] || fail "the refused install left C:\\Program Files\\Tessaro"
}
