#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package, unpacks it into a scratch root and runs the
# programs from there with LD_LIBRARY_PATH unset: brindle-scan checks the
# installed sample corpus, and the installed brindle opens its window
# offscreen, starts the installed controller and finds the installed help.
#   installed_package_test.sh BUILD_DIR VERSION SOURCE_DIR
set -uo pipefail
build=$1 version=$2 source=$3

work=$(mktemp -d)
brindle_pid='' controller_pid=''
stop() { # a process this test started; its session files go with it
    kill "$1" 2>/dev/null || return 0
    for _ in $(seq 100); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
    kill -9 "$1" 2>/dev/null
}
cleanup() {
    [[ -n $brindle_pid ]] && stop "$brindle_pid"
    [[ -n $controller_pid ]] && stop "$controller_pid"
    rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
die() { echo "FAIL: $*" >&2; exit 1; }
unset LD_LIBRARY_PATH

# The package.
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; die "cpack could not build the package"; }
deb="$work/out/brindle_${version}_$(dpkg --print-architecture).deb"
[[ -f $deb ]] || die "no $(basename "$deb"); cpack made: $(ls "$work/out")"
# Found by dpkg-shlibdeps, not written by hand.
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libc6 libstdc++6 libqt6core6 libqt6widgets6; do
    [[ $depends =~ (^|, )${needed//+/\\+}( |,|$) ]] || fail "Depends lacks $needed: $depends"
done

root="$work/root"
dpkg -x "$deb" "$root" || die "dpkg -x failed"
bin="$root/usr/bin" share="$root/usr/share"

# Every library resolves, our own from the scratch root, not the build tree.
for program in brindle brindle-scan quillon-controller; do
    [[ -x $bin/$program ]] || { fail "$program is not installed"; continue; }
    libraries=$(ldd "$bin/$program")
    missing=$(grep 'not found' <<<"$libraries") && fail "$program: $missing"
    while read -r name _ path _; do
        [[ $path == "$root"/* ]] || fail "$program loads $name from $path"
    done < <(grep -E 'lib(qlbuf|lemmatiser)' <<<"$libraries")
done

# Patched at install time from the build tree's value: relative, no empty entry.
mapfile -t installed < <(find "$bin" "$root/usr/lib" -type f \( -perm -u+x -o -name 'lib*.so*' \))
bash "$source/tests/install/runpath_test.sh" "${installed[@]}" >/dev/null ||
    fail "an installed program's RUNPATH has an empty entry"
for program in "${installed[@]}"; do
    [[ $(readelf -d "$program") =~ RUNPATH.*\[(.*)\] && ${BASH_REMATCH[1]} != \$ORIGIN* ]] &&
        fail "$program: RUNPATH ${BASH_REMATCH[1]} is not relative to the program"
done

# brindle-scan: its version, and a real check of the installed sample.
got=$("$bin/brindle-scan" --version)
[[ $got == "brindle-scan $version" ]] || fail "--version prints '$got'"
sample="$share/brindle/sample"
scan() { # the sample folder, all three references, the digraph check
    "$1" -d -r "$2/reference/known-good.txt" -r "$2/reference/letter-to-a-friend.txt" \
        -r "$2/reference/notes-on-the-garden.txt" "$2/data"
}
installed=$(scan "$bin/brindle-scan" "$sample")
status=$?
[[ $status == 1 ]] || fail "the sample scan ended with status $status, not 1 (suspects found)"
files=$(cut -f1 <<<"$installed" | paste -sd ' ')
expected="$sample/data/damaged-report.txt $sample/data/lost-mark.txt $sample/data/scrambled.txt"
[[ $files == "$expected" ]] || fail "the sample scan lists '$files'"
# The same reasons as the build tree's program on the source's sample.
built=$(scan "$build/cli/brindle-scan" "$source/sample")
[[ $(cut -f2- <<<"$installed") == "$(cut -f2- <<<"$built")" ]] ||
    fail "installed and built brindle-scan differ:"$'\n'"$installed"$'\n'"$built"

# The shipped language profiles load, and each has its stanza in the
# copyright file.
for shipped in "$source"/data/languages/*.profile; do
    code=$(basename "$shipped" .profile)
    profile="$share/brindle/languages/$code.profile"
    [[ -f $profile ]] || { fail "no $profile"; continue; }
    "$bin/brindle-scan" -d --profile "$profile" "$sample/data" >/dev/null 2>"$work/profile.err"
    status=$?
    [[ $status == 1 ]] || fail "the sample scan with $code.profile ended with status $status:" \
        "$(cat "$work/profile.err")"
    grep -q "^Files: usr/share/brindle/languages/$code.profile\$" "$share/doc/brindle/copyright" ||
        fail "the copyright file has no stanza for $code.profile"
done
[[ -f $share/doc/brindle/language-profiles.md ]] || fail "the profiles' sources are not installed"

# Man pages, completion, desktop entry, icon and metainfo.
for page in brindle brindle-scan quillon-controller; do
    warnings=$(zcat "$share/man/man1/$page.1.gz" | groff -man -ww -z 2>&1) ||
        fail "$page.1.gz does not unpack"
    [[ -z $warnings ]] || fail "$page(1): $warnings"
done
bash -c 'source "$1" && complete -p brindle-scan' _ "$share/bash-completion/completions/brindle-scan" \
    >/dev/null || fail "the bash completion does not load"
desktop="$share/applications/org.quillon.Brindle.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $(basename "$desktop")"
icon=$(sed -n 's/^Icon=//p' "$desktop") exec=$(sed -n 's/^Exec=//p' "$desktop")
[[ -f $share/icons/hicolor/scalable/apps/$icon.svg ]] || fail "no icon $icon.svg installed"
[[ -x $bin/$exec ]] || fail "the desktop entry runs '$exec', which is not installed"
metainfo="$share/metainfo/org.quillon.Brindle.metainfo.xml"
appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 ||
    { cat "$work/appstream.log" >&2; fail "appstreamcli rejects $(basename "$metainfo")"; }
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo has no release $version"
grep -q "<project_license>GPL-3.0-or-later</project_license>" "$metainfo" ||
    fail "the metainfo names no project licence"
# Whoever passes the package on needs its licence: a machine-readable
# copyright file whose every licence has its text.
copyright="$share/doc/brindle/copyright"
[[ -f $copyright ]] || fail "no $copyright"
# A stanza's licence may be an expression ("GPL-2+ and MPL-2.0"); each name
# in it needs its text.
for licence in $(sed -n 's/^License: *//p' "$copyright" | sed 's/ \(and\|or\) / /g' | sort -u); do
    grep -A1 "^License: $licence\$" "$copyright" | grep -q '^ ' ||
        fail "the copyright file names $licence without its text"
done
grep -q "^\.TH .* \"Brindle $version\"" "$source/man/brindle-scan.1" ||
    fail "the man page does not name version $version"

# The window, offscreen, in a session of its own.
for dir in home runtime config data; do mkdir -m 700 "$work/$dir"; done
export HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config" \
    XDG_DATA_HOME="$work/data" QT_QPA_PLATFORM=offscreen
got=$("$bin/brindle" --version)
[[ $got == "brindle $version" ]] || fail "brindle --version prints '$got'"
# The page the Help button opens, as brindle itself looks it up.
page=$("$bin/brindle" --help | sed -n 's/^Help page: //p')
[[ $page == "$share/brindle/help/Brindle.htm" ]] ||
    fail "the installed brindle looks for its help at '$page'"
[[ -f $page ]] || fail "the help page $page is not installed"
# Brindle starts the installed controller, which writes nothing to brindle's
# output and goes when brindle's window has gone.
"$bin/brindle" >"$work/brindle.out" 2>"$work/brindle.err" &
brindle_pid=$!
# The controller's command reaches the window once the window has registered.
posted=''
for _ in $(seq 600); do
    kill -0 "$brindle_pid" 2>/dev/null || break
    controller_pid=''
    for proc in /proc/[0-9]*; do
        [[ $(readlink "$proc/exe" 2>/dev/null) == "$bin/quillon-controller" ]] &&
            controller_pid=${proc#/proc/}
    done
    if [[ -n $controller_pid ]] && "$bin/quillon-controller" --post 1350 2>/dev/null; then
        posted=1
        break
    fi
    sleep 0.1
done
if [[ -n $posted ]]; then
    for _ in $(seq 300); do kill -0 "$brindle_pid" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$brindle_pid" 2>/dev/null; then
        fail "brindle did not close on the controller's command"
    else
        wait "$brindle_pid"
        status=$?
        brindle_pid=''
        [[ $status == 0 ]] || fail "brindle ended with status $status"
        for _ in $(seq 100); do kill -0 "$controller_pid" 2>/dev/null || break; sleep 0.1; done
        kill -0 "$controller_pid" 2>/dev/null &&
            fail "the controller brindle started still runs after brindle closed"
    fi
    [[ -s $work/brindle.out ]] && fail "the controller wrote to brindle's output"
else
    [[ -n $controller_pid ]] || fail "brindle did not start the installed controller"
    fail "the window never registered with an installed controller"
fi
if ((failures > 0)); then
    echo "--- brindle's output:" >&2; cat "$work/brindle.out" "$work/brindle.err" >&2
fi

((failures == 0)) || exit 1
echo "the package installs and runs: $(basename "$deb")"
