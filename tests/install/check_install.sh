#!/usr/bin/env bash
# Installs the build tree into a temporary prefix and checks what a user gets there: the programs,
# the shipped files, the man page, and for the window its desktop entry, icons and metainfo. The
# installed tessaly-cli must run from elsewhere and find its shipped files.
#   check_install.sh CMAKE BUILD_DIR SOURCE_DIR VERSION GUI(ON|OFF)
set -uo pipefail
cmake=$1 build=$2 source=$3 version=$4 gui=$5
app_id=com.norvane.Tessaly
icon_sizes=(16 22 24 32 48 64 128 256)

prefix=$(mktemp -d "${TMPDIR:-/tmp}/tessaly-install.XXXXXX")
trap 'rm -rf "$prefix" "$prefix.log"' EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
have() { command -v "$1" >/dev/null 2>&1; }

# A file of the tree that is there and not empty.
expect_file() {
    [[ -f "$prefix/$1" && -s "$prefix/$1" ]] || fail "not installed: $1"
}
# A shipped file installed byte for byte.
expect_copy() {
    expect_file "$2" && { cmp -s "$1" "$prefix/$2" || fail "differs from $1: $2"; }
}
# An executable whose libraries are all found and that refers to nothing in the build tree.
expect_program() {
    local program=$prefix/$1
    [[ -f "$program" && -x "$program" ]] || {
        fail "not installed as a program: $1"
        return
    }
    if have ldd && ldd "$program" | grep -q 'not found'; then
        fail "$1 misses libraries: $(ldd "$program" | grep 'not found' | tr -s ' \t\n' ' ')"
    fi
    if have readelf && readelf -d "$program" | grep -E 'R(UN)?PATH' | grep -qF "$build"; then
        fail "$1 still looks for libraries in the build tree"
    fi
}
# The width and height of a PNG file, from its IHDR chunk.
png_size() {
    local bytes
    read -r -a bytes < <(od -An -tu1 -j16 -N8 "$1")
    echo "$(((bytes[0] << 24) | (bytes[1] << 16) | (bytes[2] << 8) | bytes[3]))x$(((bytes[4] << 24) | (bytes[5] << 16) | (bytes[6] << 8) | bytes[7]))"
}

if ! "$cmake" --install "$build" --prefix "$prefix" >"$prefix.log" 2>&1; then
    cat "$prefix.log"
    rm -f "$prefix.log"
    echo "FAIL: cmake --install"
    exit 1
fi
rm -f "$prefix.log"

# The command line and its shipped files.
expect_program bin/tessaly-cli
expect_copy "$source/data/SymbolDatabaseEx2.dta" share/tessaly/SymbolDatabaseEx2.dta
if [[ -d "$source/data/help" ]]; then
    while IFS= read -r -d '' page; do
        expect_copy "$page" "share/tessaly/help/${page#"$source/data/help/"}"
    done < <(find "$source/data/help" -type f -print0)
fi
[[ -f "$source/data/complete.wav" ]] && expect_copy "$source/data/complete.wav" share/tessaly/complete.wav

# Started from another folder, with nothing of the build's environment, it names its version and
# finds the shipped files (it warns on standard error when it does not).
if [[ -x "$prefix/bin/tessaly-cli" ]]; then
    out=$(cd / && env -i PATH=/usr/bin:/bin HOME="$prefix" "$prefix/bin/tessaly-cli" --version 2>"$prefix.log")
    status=$?
    err=$(cat "$prefix.log")
    [[ $status -eq 0 ]] || fail "tessaly-cli --version exited with $status"
    [[ "$out" == "Tessaly $version" ]] || fail "tessaly-cli --version printed '$out'"
    [[ -z "$err" ]] || fail "tessaly-cli --version: $err"
fi

# The man page: compressed, of this version, free of formatting warnings, and naming every command
# the program's own usage lists.
man_page=share/man/man1/tessaly-cli.1.gz
expect_file "$man_page"
if [[ -f "$prefix/$man_page" ]]; then
    if ! gzip -t "$prefix/$man_page" 2>/dev/null; then
        fail "$man_page is not gzip data"
    else
        page=$(gzip -dc "$prefix/$man_page")
        grep -q "^\.TH TESSALY-CLI 1 .*\"Tessaly $version\"" <<<"$page" || fail "$man_page has no title line of version $version"
        if have groff; then
            warnings=$(groff -t -man -ww -z <<<"$page" 2>&1)
            [[ -z "$warnings" ]] || fail "$man_page: $warnings"
        fi
        commands=$("$prefix/bin/tessaly-cli" --help 2>/dev/null | sed -n 's/^  tessaly-cli \([a-z][a-z-]*\).*/\1/p' | sort -u)
        [[ -n "$commands" ]] || fail "tessaly-cli --help lists no command"
        for command in $commands; do
            grep -Eq "^(\\\\fB|\.BI? \"?)$command([^a-z-]|$)" <<<"$page" || fail "$man_page does not describe '$command'"
        done
    fi
fi

# The window and its place on the desktop.
if [[ "$gui" == ON ]]; then
    expect_program bin/tessaly
    # Started from another folder with a home of its own, the window comes up and stays until ended.
    if [[ -x "$prefix/bin/tessaly" ]] && have timeout; then
        home=$(mktemp -d "${TMPDIR:-/tmp}/tessaly-home.XXXXXX")
        (cd / && timeout 3 env -i PATH=/usr/bin:/bin HOME="$home" XDG_CONFIG_HOME="$home/config" \
            XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home" QT_QPA_PLATFORM=offscreen \
            "$prefix/bin/tessaly" >"$prefix.log" 2>&1)
        status=$?
        rm -rf "$home"
        [[ $status -eq 124 ]] || fail "tessaly ended by itself with status $status: $(cat "$prefix.log")"
    fi
    expect_copy "$source/data/tessaly.svg" share/tessaly/tessaly.svg
    expect_copy "$source/data/tessaly.svg" "share/icons/hicolor/scalable/apps/$app_id.svg"
    for size in "${icon_sizes[@]}"; do
        png="share/icons/hicolor/${size}x${size}/apps/$app_id.png"
        expect_file "$png"
        if [[ -f "$prefix/$png" ]]; then
            [[ $(od -An -c -j1 -N3 "$prefix/$png" | tr -d ' ') == PNG ]] || fail "$png is not a PNG image"
            [[ $(png_size "$prefix/$png") == "${size}x${size}" ]] || fail "$png is $(png_size "$prefix/$png"), not ${size}x${size}"
        fi
    done

    desktop="share/applications/$app_id.desktop"
    expect_file "$desktop"
    if [[ -f "$prefix/$desktop" ]]; then
        grep -qx 'Name=Tessaly' "$prefix/$desktop" || fail "$desktop: the name is not Tessaly"
        grep -Eq '^Comment=.+' "$prefix/$desktop" || fail "$desktop has no comment"
        grep -Eq '^Categories=(.*;)?Office;(.*;)?Finance;' "$prefix/$desktop" ||
            grep -Eq '^Categories=(.*;)?Finance;(.*;)?Office;' "$prefix/$desktop" ||
            fail "$desktop is not in the Office and Finance categories"
        grep -qx "Icon=$app_id" "$prefix/$desktop" || fail "$desktop does not name the installed icon"
        exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$prefix/$desktop")
        [[ -x "$prefix/bin/$exec_program" ]] || fail "$desktop starts '$exec_program', which is not installed"
        if have desktop-file-validate; then
            desktop-file-validate "$prefix/$desktop" || fail "desktop-file-validate $desktop"
        fi
    fi

    metainfo="share/metainfo/$app_id.metainfo.xml"
    expect_file "$metainfo"
    if [[ -f "$prefix/$metainfo" ]]; then
        grep -q "<id>$app_id</id>" "$prefix/$metainfo" || fail "$metainfo: the id is not $app_id"
        grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$prefix/$metainfo" ||
            fail "$metainfo does not name the desktop entry"
        grep -q "<release version=\"$version\" date=\"[0-9-]*\"" "$prefix/$metainfo" ||
            fail "$metainfo has no release $version"
        grep -q '<description>' "$prefix/$metainfo" || fail "$metainfo has no description"
        grep -Eq '<image>https?://[^<]+</image>' "$prefix/$metainfo" || fail "$metainfo has no screenshot"
        if have appstreamcli; then
            appstreamcli validate --no-net "$prefix/$metainfo" >"$prefix.log" 2>&1 ||
                fail "appstreamcli validate $metainfo: $(cat "$prefix.log")"
        elif have appstream-util; then
            appstream-util validate-relax --nonet "$prefix/$metainfo" >"$prefix.log" 2>&1 ||
                fail "appstream-util validate-relax $metainfo: $(cat "$prefix.log")"
        fi
    fi
fi

# Nothing else: no libraries, headers or build files of the tree's own.
while IFS= read -r -d '' file; do
    case "${file#"$prefix/"}" in
    bin/tessaly | bin/tessaly-cli | share/tessaly/* | share/man/man1/tessaly-cli.1.gz) ;;
    "share/applications/$app_id.desktop" | "share/metainfo/$app_id.metainfo.xml") ;;
    "share/icons/hicolor/"*"/apps/$app_id".png | "share/icons/hicolor/scalable/apps/$app_id.svg") ;;
    *) fail "installed but not meant to be: ${file#"$prefix/"}" ;;
    esac
done < <(find "$prefix" -type f -print0)

if [[ $failures -gt 0 ]]; then
    echo "$failures problems in the installed tree"
    exit 1
fi
echo "Installed tree in a temporary prefix: complete"
