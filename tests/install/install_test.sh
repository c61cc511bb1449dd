#!/usr/bin/env bash
# What `cmake --install` puts and what the Debian package holds: the expected files and no
# others, the desktop files as their own validators and the MIME database read them, and a
# package (built by cpack as `make package` builds it) that lists the same files.
#   install_test.sh BUILD_DIR APP_ID CMAKE CPACK
set -u
build=$1 id=$2 cmake=$3 cpack=$4
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root=$scratch/root
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
# Runs a checker; its output is shown only when it fails.
check() {
    local name=$1
    shift
    local out
    if ! out=$("$@" 2>&1); then
        fail "$name"
        echo "$out"
    fi
}

# Installed under /usr, as the package installs, so both trees can be compared file for file.
if ! DESTDIR=$root "$cmake" --install "$build" --prefix /usr >"$scratch/install.log" 2>&1; then
    cat "$scratch/install.log"
    fail "cmake --install"
    exit 1
fi

expected=$(sort <<EOF
usr/bin/tallex
usr/bin/tallex-cli
usr/share/applications/$id.desktop
usr/share/bash-completion/completions/tallex-cli
usr/share/icons/hicolor/scalable/apps/$id.svg
usr/share/man/man1/tallex-cli.1
usr/share/metainfo/$id.metainfo.xml
usr/share/mime/packages/$id.xml
EOF
)
installed=$(cd "$root" && find . ! -type d | sed 's|^\./||' | sort)
if [[ "$installed" != "$expected" ]]; then
    fail "the installed files differ from the expected ones (< installed, > expected):"
    diff <(echo "$installed") <(echo "$expected")
fi
for program in tallex tallex-cli; do
    [[ -x $root/usr/bin/$program ]] || fail "usr/bin/$program is not executable"
done
"$root/usr/bin/tallex-cli" --version >/dev/null 2>&1 || fail "the installed tallex-cli does not run"

desktop=$root/usr/share/applications/$id.desktop
metainfo=$root/usr/share/metainfo/$id.metainfo.xml
mime_xml=$root/usr/share/mime/packages/$id.xml
check "desktop-file-validate" desktop-file-validate "$desktop"
check "appstreamcli validate" appstreamcli validate --no-net "$metainfo"
# The tree as a whole: the metainfo's launchable must name the installed .desktop file.
check "appstreamcli validate-tree" appstreamcli validate-tree --no-net "$root"

# The desktop entry points at what is installed: its program, its icon, the case files' type.
key() { sed -n "s/^$1=//p" "$desktop"; }
[[ $(key Exec) == "tallex %f" ]] || fail "Exec is '$(key Exec)', expected 'tallex %f'"
[[ $(key Icon) == "$id" ]] || fail "Icon '$(key Icon)' is not the installed icon $id"
[[ $(key MimeType) == "application/x-tallex-case;" ]] ||
    fail "MimeType is '$(key MimeType)', expected 'application/x-tallex-case;'"
for binary in $(sed -n 's|.*<binary>\(.*\)</binary>.*|\1|p' "$metainfo"); do
    [[ -x $root/usr/bin/$binary ]] || fail "the metainfo provides $binary, which is not installed"
done

# The MIME database built from the installed XML, as the package's trigger builds it (its
# folder given as a data folder, or the tool warns that it is not searched): a *.tallex file is
# a case file, and a case file is JSON.
cp -r "$root/usr/share/mime" "$scratch/mime"
if XDG_DATA_HOME=$scratch update-mime-database "$scratch/mime" >"$scratch/mime.log" 2>&1; then
    grep -q '^[0-9]*:application/x-tallex-case:\*\.tallex$' "$scratch/mime/globs2" ||
        fail "the MIME database does not map *.tallex to application/x-tallex-case"
    grep -qx 'application/x-tallex-case application/json' "$scratch/mime/subclasses" ||
        fail "the MIME database does not make application/x-tallex-case a kind of application/json"
else
    cat "$scratch/mime.log"
    fail "update-mime-database"
fi
[[ -s $scratch/mime.log ]] && { fail "update-mime-database complained"; cat "$scratch/mime.log"; }

# The package, built into the scratch folder so that a `make package` beside it is untouched.
if "$cpack" --config "$build/CPackConfig.cmake" -B "$scratch/package" >"$scratch/cpack.log" 2>&1; then
    deb=$(ls "$scratch"/package/tallex_*.deb)
    packaged=$(dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./||' | sort)
    if [[ "$packaged" != "$installed" ]]; then
        fail "the package's files differ from the installed ones (< packaged, > installed):"
        diff <(echo "$packaged") <(echo "$installed")
    fi
    # Depends come from the programs' libraries (dpkg-shlibdeps), plus the SVG icon plugin.
    depends=$(dpkg-deb --field "$deb" Depends)
    for package in libc6 libstdc++6 libqt6widgets6 libqt6svg6; do
        [[ ", $depends," == *", $package "* || ", $depends," == *", $package,"* ]] ||
            fail "Depends lacks $package: $depends"
    done
else
    cat "$scratch/cpack.log"
    fail "cpack"
fi

exit $failures
