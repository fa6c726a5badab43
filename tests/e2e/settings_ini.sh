# Settings.ini for the scripts that run the program (end-to-end cases, Wine
# cases, benchmarks), written as the practice's are: Windows-1252 bytes, CR LF
# after every line. Plain sh, so that the benchmark script can source it too.

# Writes FILE from the lines that follow, each given as printf escapes and
# without its line end (bash reads \xfc for ü, plain sh only \0374).
write_ini() {
    local file=$1 line
    shift
    : >"$file"
    for line in "$@"; do
        printf '%b\r\n' "$line" >>"$file"
    done
}

# The seven values as the program writes them, one escaped line each on
# stdout: settings_ini_lines MODALITY SHORT MANUAL STUDYDESC PATHS PATHD. The
# first four are escapes, the two paths stand as they are (a "\" in a Windows
# path stays one).
settings_ini_lines() {
    printf '%s\n' '[K\0374rzel]' "K\\0374rzel=$2" '[Modality]' "Modality=$1" '[GDT]' \
        "PathS=$(printf '%s' "$5" | sed 's/\\/\\\\/g')" \
        "PathD=$(printf '%s' "$6" | sed 's/\\/\\\\/g')" \
        'LumeoID=001' 'Suffix=gdt' "Manual=$3" "StudyDesc=$4"
}

# write_settings_ini FILE MODALITY SHORT MANUAL STUDYDESC PATHS PATHD
write_settings_ini() {
    local file=$1 line
    shift
    : >"$file"
    settings_ini_lines "$@" | while IFS= read -r line; do
        printf '%b\r\n' "$line" >>"$file"
    done
}
