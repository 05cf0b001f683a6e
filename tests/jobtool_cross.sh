#!/usr/bin/env bash
# jobtool's Windows build (kernel32's private-profile functions, under
# wine64) against its Linux build (the project's own implementation): what
# one writes the other reads alike, writing the same values gives the same
# bytes, and both show, check and create jobs alike. First the Windows
# build's own answers.
#
#   jobtool_cross.sh JOBTOOL.EXE [LINUX_JOBTOOL]
#
# Runs inside tests/wine/harness.sh, which names the loader in ZANDRIX_WINE.
# Without the Linux jobtool only the Windows build's own answers are checked
# and the test reports itself skipped (status 77).
set -euo pipefail
exe=$1
native=${2:-}
wine=${ZANDRIX_WINE:?run inside tests/wine/harness.sh}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir in out tmp

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

win() { "$wine" "$exe" "$@"; }
lin() { "$native" "$@"; }

# run NAME TOOL ARGS...: the tool's standard output into NAME.out, its status into $status.
run() {
    local name=$1; shift
    status=0
    "$@" >"$name.out" 2>"$name.err" || status=$?
}

# expect_file WHAT FILE EXPECTED-BYTES (printf format of the test's own, never data)
expect_file() {
    if ! cmp -s "$2" <(printf "$3"); then
        fail "$1: got $(od -c "$2" | head -5)"
    fi
}

expect_status() { [ "$2" = "$3" ] || fail "$1: status $3, expected $2"; }

# ---- the Windows build on its own
run help win --help
expect_status "--help" 0 "$status"
grep -q '^  jobtool new JOB --source FOLDER --target FOLDER$' help.out || fail "--help lists new"

: >empty.ini
run nosource win check empty.ini
expect_status "check without a source" 1 "$status"
expect_file "check without a source" nosource.out \
    'refuse ERRORS/no_source: Choose the source folder that holds the PDF files to convert.\nresult: the save would stop\n'

run new win new w.ini --source in --target out
expect_status "new" 0 "$status"
head -c 26 w.ini | cmp -s - <(printf '[MAIN]\r\nlangue=1\r\n[PARAMS]') || fail "new writes MAIN first"
run again win new w.ini --source in --target out
expect_status "new over an existing job" 2 "$status"
run missing win new m.ini --source in --target absent
expect_status "new with a missing target" 2 "$status"
[ ! -e m.ini ] && [ ! -e absent ] || fail "new with a missing target created something"

cp w.ini before.ini
run inject win set w.ini PARAMS trim $'1\r\n[MAIN]'
expect_status "set with a line break" 2 "$status"
cmp -s w.ini before.ini || fail "a refused set changed the job"
run nokey win get w.ini PARAMS nothing
expect_status "get of a missing key" 1 "$status"
run checked win check w.ini
expect_status "check of a new job" 0 "$status"
expect_file "check of a new job" checked.out 'result: the save would go through\n'

if [ -z "$native" ]; then
    echo "the Linux jobtool is not named: the cross-build checks are skipped" >&2
    [ "$failures" -eq 0 ] && exit 77
    exit 1
fi
[ -x "$native" ] || { echo "FAIL: no Linux jobtool at $native" >&2; exit 1; }

# ---- what one build writes, the other reads alike
# A file with a comment, a blank line and blanks around a key, which each
# writer keeps in its own way: only the values read back are compared.
long=$(printf 'v%.0s' $(seq 1 1000))
values=("plain" "  spaced  " '"quoted "' "'x'" 'a;b # c' 'x=y' 'C:\a\\b' '' $'tab\there' "$long" '"')
printf '; kept\r\n[PARAMS]\r\nTrim = 0 \r\n\r\nother=x\r\n' >seed.ini
cp seed.ini from-linux.ini
cp seed.ini from-windows.ini
n=0
for value in "${values[@]}"; do
    n=$((n + 1))
    for key in "PARAMS trim" "SIGNATURE signature_text" "NEW$n k"; do
        read -r section name <<<"$key"
        run ls lin set from-linux.ini "$section" "$name" "$value"
        [ "$status" = 0 ] || fail "Linux set [$value]"
        run ws win set from-windows.ini "$section" "$name" "$value"
        [ "$status" = 0 ] || fail "Windows set [$value]"
        # Each build reads what the other wrote, as the writer itself reads it.
        run lw lin get from-windows.ini "${section,,}" "${name^^}"
        run wl win get from-linux.ini "${section,,}" "${name^^}"
        run ll lin get from-linux.ini "$section" "$name"
        cmp -s lw.out ll.out || fail "Linux get of the Windows set of [$value]: $(cat lw.out)"
        cmp -s wl.out ll.out || fail "Windows get of the Linux set of [$value]: $(cat wl.out)"
        # From a new file both write the same bytes, except that Wine's writer
        # drops the blanks a value begins with, which Windows' keeps.
        if [ "${value# }" = "$value" ]; then
            run lf lin set fresh-linux.ini "$section" "$name" "$value"
            run wf win set fresh-windows.ini "$section" "$name" "$value"
        fi
    done
done
cmp -s fresh-linux.ini fresh-windows.ini ||
    fail "the same sets gave different files: $(diff <(od -c fresh-linux.ini) <(od -c fresh-windows.ini) | head -5)"

# ---- both show, check and create the same job alike
cat >odd.ini <<'EOF'
[params]
IMAGE_TYPE= 5
density=42abc
firstPage=-1
shave_geometry=7x9
[FOLDERS]
source='in'
target=out
temp_path=tmp
[SIGNATURE]
signature_file=f.png
signature_text=t
signature_dissolve=7x
[GIF]
color_gif=-16
EOF
# The system temporary folders, which a missing temp_path means, differ; nothing else.
for job in w.ini odd.ini from-linux.ini from-windows.ini empty.ini; do
    run sl lin show "$job"
    run sw win show "$job"
    cmp -s <(grep -v '^temp_path=.* # default$' sl.out) <(grep -v '^temp_path=.* # default$' sw.out) ||
        fail "show $job differs: $(diff sl.out sw.out | head -5)"
done

printf '[PARAMS]\r\nmove=1\r\n[FOLDERS]\r\nsource=in\r\ntemp_path=tmp\r\nmove_path=absent\r\ntarget=out\r\n' >ask.ini
for job in odd.ini ask.ini empty.ini; do
    run cl lin check "$job"
    statusLin=$status
    run cw win check "$job"
    [ "$statusLin" = "$status" ] || fail "check $job: status $statusLin on Linux, $status on Windows"
    cmp -s cl.out cw.out || fail "check $job differs: $(diff cl.out cw.out | head -5)"
done
[ ! -e absent ] || fail "check created a folder"

run nl lin new ln.ini --source in --target out
cmp -s <(grep -av '^temp_path=' ln.ini) <(grep -av '^temp_path=' w.ini) || fail "new gives different jobs"

[ "$failures" -eq 0 ] || { echo "$failures failures" >&2; exit 1; }
echo "jobtool: the Windows and the Linux builds agree"
