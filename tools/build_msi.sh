#!/bin/sh
# Builds the Windows Installer package from a packed program folder (the
# folder the zip holds) with Debian's wixl, then sets with msibuild what
# wixl's WiX dialect cannot say.
#   build_msi.sh FOLDER VERSION MSI
set -eu
stage=$1
version=$2
msi=$3
src=$(cd "$(dirname "$0")/.." && pwd)
stage=$(cd "$stage" && pwd)

case $version in
[0-9]*.[0-9]*.[0-9]*) ;;
*) echo "build_msi: version \"$version\" is not MAJOR.MINOR.PATCH" >&2; exit 1 ;;
esac
# A counter in the package would be handed to every practice and taken away
# again by an uninstall; the program makes its own.
[ ! -e "$stage/GDTcount.txt" ] || { echo "build_msi: $stage holds a GDTcount.txt" >&2; exit 1; }
for f in tessaro.exe Settings.ini Bodypart.dat; do
    [ -f "$stage/$f" ] || { echo "build_msi: no $f in $stage" >&2; exit 1; }
done

# Never changes: it is how a newer package finds the older one it replaces.
upgrade_code={0531AEE2-C65C-4B68-8E26-D9A0D0C7539A}

work=$(mktemp -d "${TMPDIR:-/tmp}/tessaro-msi.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Every file of the folder but the practice's own, which tessaro.wxs names.
# wixl takes sources relative to where it runs, so both run in the folder.
cd "$stage"
find . -type f ! -name Settings.ini ! -name Bodypart.dat | sed 's|^\./||' | LC_ALL=C sort |
    wixl-heat -p "" --directory-ref INSTALLDIR --component-group ProgramFiles \
        --var var.Stage --win64 >"$work/files.wxs"
wixl -a x64 -D Version="$version" -D UpgradeCode="$upgrade_code" -D Stage=. -D Win64=yes \
    -o "$work/tessaro.msi" "$src/packaging/windows/tessaro.wxs" "$work/files.wxs"
cd - >/dev/null

# Attributes 400: 64-bit, permanent (an uninstall leaves it), never
# overwrite (a present file is kept). The same version replaces itself
# rather than landing beside itself (513: migrate features, maximum
# included). wixl places custom actions at the very start whatever Before
# says, so they are placed here: the install folder is settled after
# AppSearch has read the previous one and before CostFinalize resolves it,
# in both sequences, and shown in Add/Remove Programs once resolved.
sql() { msibuild "$work/tessaro.msi" -q "$1"; }
sql "UPDATE \`Component\` SET \`Attributes\` = 400 WHERE \`Component\` = 'SettingsIni' OR \`Component\` = 'BodypartDat'"
sql "DELETE FROM \`Upgrade\` WHERE \`ActionProperty\` = 'WIX_UPGRADE_DETECTED'"
sql "INSERT INTO \`Upgrade\` (\`UpgradeCode\`, \`VersionMax\`, \`Attributes\`, \`ActionProperty\`) VALUES ('$upgrade_code', '$version', 513, 'WIX_UPGRADE_DETECTED')"
sql "UPDATE \`Property\` SET \`Value\` = 'WIX_DOWNGRADE_DETECTED;WIX_UPGRADE_DETECTED;INSTALLDIR' WHERE \`Property\` = 'SecureCustomProperties'"
for table in InstallExecuteSequence InstallUISequence; do
    sql "INSERT INTO \`$table\` (\`Action\`, \`Condition\`, \`Sequence\`) VALUES ('UsePreviousInstallDir', 'NOT INSTALLDIR AND PREVIOUSINSTALLDIR', 990)"
    sql "INSERT INTO \`$table\` (\`Action\`, \`Condition\`, \`Sequence\`) VALUES ('UseDefaultInstallDir', 'NOT INSTALLDIR', 991)"
done
sql "INSERT INTO \`InstallExecuteSequence\` (\`Action\`, \`Sequence\`) VALUES ('ShowInstallLocation', 1001)"

# Under "Program Files" operators may not write Settings.ini and
# GDTcount.txt, so the program could not work there: refused, in both
# sequences once the folder is resolved.
sql "INSERT INTO \`CustomAction\` (\`Action\`, \`Type\`, \`Target\`) VALUES ('RefuseProgramFiles', 19, 'Tessaro kann nicht unter [INSTALLDIR] installiert werden: Unter \"Programme\" dürfen die Bediener Settings.ini und GDTcount.txt nicht schreiben. Bitte wählen Sie mit INSTALLDIR einen anderen Ordner, zum Beispiel C:\\Tessaro.')"
for table in InstallExecuteSequence InstallUISequence; do
    sql "INSERT INTO \`$table\` (\`Action\`, \`Condition\`, \`Sequence\`) VALUES ('RefuseProgramFiles', 'NOT Installed AND (INSTALLDIR ~<< ProgramFiles64Folder OR INSTALLDIR ~<< ProgramFilesFolder)', 1002)"
done

mkdir -p "$(dirname "$msi")"
mv "$work/tessaro.msi" "$msi"
echo "built $msi"
