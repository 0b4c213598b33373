#!/usr/bin/env bash
# Cross-builds Qt 6.4.2 for 64-bit Windows with MinGW-w64 from Debian's own source packages
# (qt6-base, qt6-svg) into build-win/qt6/prefix, the Qt that scripts/build-windows.sh uses.
# Only what the program needs: Core, Gui, Widgets, PrintSupport, Svg and Test, the windows and
# offscreen platform plugins and the image format plugins, with Qt's bundled zlib, libpng,
# freetype, harfbuzz and pcre2. moc, rcc and uic are Debian's host tools (QT_HOST_PATH).
#
# Runs by hand, not in CI; takes hours on two cores. Restartable: a complete prefix is not
# built again, and a build that was stopped goes on where it stopped.
#   bash scripts/build-qt-windows.sh [-jN]      (default -j2, at the lowest priority)
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
jobs=${1:--j2}
top=$repo/build-win/qt6
prefix=$top/prefix
start=$SECONDS
report() { echo "Qt for Windows: $1 ($(((SECONDS - start) / 60)) min $(((SECONDS - start) % 60)) s)"; }

# .complete: qtbase is installed. Qt SVG, when its source could not be had before, is tried
# again.
if [ -f "$prefix/.complete" ] && [ -f "$prefix/lib/cmake/Qt6Svg/Qt6SvgConfig.cmake" ]; then
    report "$prefix is complete, nothing to build"
    exit 0
fi

bash scripts/deps-windows.sh
# ninja-build for Qt's own build; dpkg-dev unpacks the source packages; the host Qt gives the
# code generators, of the same version as the sources.
bash scripts/deps.sh ninja-build dpkg-dev qt6-base-dev-tools qt6-base-dev qt6-svg-dev

# apt-get source needs a deb-src entry of the archive this machine already uses.
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
if ! grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    base=$(grep -rhsE '^URIs:' /etc/apt/sources.list.d/debian.sources | head -1 | awk '{print $2}')
    [ -n "$base" ] || base=$(grep -hsE '^deb [a-z]+://[^ ]*/debian ' /etc/apt/sources.list |
        head -1 | awk '{print $2}')
    [ -n "$base" ] || { echo "no Debian archive found in /etc/apt to take the sources from"; exit 1; }
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    entry="Types: deb-src
URIs: $base
Suites: $codename $codename-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg"
    echo "Adding /etc/apt/sources.list.d/qm7100-deb-src.sources (Debian's source packages):"
    echo "$entry" | sed 's/^/    /'
    echo "$entry" | $SUDO tee /etc/apt/sources.list.d/qm7100-deb-src.sources >/dev/null
    $SUDO apt-get update -qq
fi

# A source package, unpacked once with Debian's patches applied; prints its folder.
unpack() {
    local package=$1 folder
    mkdir -p "$top/src"
    if [ ! -f "$top/src/.$package" ]; then
        (cd "$top/src" && rm -rf "$package"-* && apt-get source -qq "$package" >/dev/null) ||
            { echo "apt-get source $package failed" >&2; return 1; }
        touch "$top/src/.$package"
    fi
    folder=$(find "$top/src" -maxdepth 1 -type d -name "$package-6.4.2*" | head -1)
    [ -n "$folder" ] || { echo "$package 6.4.2 is not what Debian's source gave" >&2; return 1; }
    echo "$folder"
}

# Qt's CMake takes the code generators from the host Qt of the same version.
host=(-DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake)
# Builds and installs one module; the log is build.log of its build folder, and a failure shows
# the first compile error.
build() {
    echo "building $(basename "$1") at the lowest priority ($jobs), log: $1/build.log"
    if ! nice -n 19 cmake --build "$1" -- "$jobs" >"$1/build.log" 2>&1; then
        { grep -m1 -A12 -E 'error|FAILED' "$1/build.log" || tail -20 "$1/build.log"; } | cut -c1-300
        return 1
    fi
    cmake --install "$1" >/dev/null
}

# qtbase: Core, Gui, Widgets, PrintSupport, Test and the platform plugins. Debian's source
# leaves out the Wintab headers (not free), so tablet events are off; nothing else here needs
# the network, SQL, D-Bus, OpenGL, concurrent, XML, JPEG or Vulkan.
base_src=$(unpack qt6-base)
# Qt 6.4 compiles its DirectWrite font engine and font database only along with Direct2D, yet
# the print support and the windows platform use them whenever DirectWrite is on: without this
# Qt6PrintSupport.dll does not link (undefined QWindowsFontEngineDirectWrite::createHFONT), nor
# Qt6Gui.dll once that is mended (QWindowsFontDatabaseBase::createDirectWriteFace). The fonts
# then work as in a Qt with Direct2D; Direct2D itself, a second platform plugin, stays off.
sed -i 's/CONDITION QT_FEATURE_direct2d AND QT_FEATURE_directwrite/CONDITION QT_FEATURE_directwrite/' \
    "$base_src/src/gui/CMakeLists.txt"
sed -i 's/QT_CONFIG(directwrite) \&\& QT_CONFIG(direct2d)/QT_CONFIG(directwrite)/' \
    "$base_src/src/gui/text/windows/qwindowsfontdatabasebase.cpp" \
    "$base_src/src/gui/text/windows/qwindowsfontdatabase.cpp"
# With OpenGL off, dynamic OpenGL still reads as on in the windows platform, which then wants
# OpenGL's classes (QOpenGLStaticContext has not been declared).
sed -i 's/^#if QT_CONFIG(dynamicgl)$/#if QT_CONFIG(dynamicgl) \&\& QT_CONFIG(opengl)/' \
    "$base_src/src/plugins/platforms/windows/qwindowswindow.cpp"
if [ -f "$prefix/.complete" ]; then
    report "qtbase is installed"
elif [ ! -f "$top/build-base/build.ninja" ]; then
    cmake -S "$base_src" -B "$top/build-base" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64.cmake" -DQM_STATIC_RUNTIME=OFF \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" "${host[@]}" \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
        -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_freetype=OFF \
        -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_doubleconversion=OFF \
        -DFEATURE_freetype=ON -DFEATURE_harfbuzz=ON -DFEATURE_png=ON \
        -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF \
        -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_jpeg=OFF -DFEATURE_vulkan=OFF \
        -DFEATURE_tabletevent=OFF -DFEATURE_direct2d=OFF -DFEATURE_icu=OFF -DFEATURE_zstd=OFF \
        -DFEATURE_printsupport=ON -DFEATURE_testlib=ON -DFEATURE_widgets=ON \
        >"$top/configure-base.log" 2>&1 ||
        { tail -30 "$top/configure-base.log"; echo "qtbase did not configure: $top/configure-base.log"; exit 1; }
    report "qtbase configured"
fi
if [ ! -f "$prefix/.complete" ]; then
    build "$top/build-base" || { echo "qtbase did not build"; exit 1; }
    touch "$prefix/.complete"
    report "qtbase built and installed"
fi

# qtsvg, built against the prefix through Qt's own toolchain file. Without its sources the
# program draws its icons from PNG renders instead (src/desktop/CMakeLists.txt).
if [ -f "$prefix/lib/cmake/Qt6Svg/Qt6SvgConfig.cmake" ]; then
    report "Qt SVG is installed"
elif svg_src=$(unpack qt6-svg 2>"$top/svg-source.log"); then
    if [ ! -f "$top/build-svg/build.ninja" ]; then
        cmake -S "$svg_src" -B "$top/build-svg" -G Ninja \
            -DCMAKE_TOOLCHAIN_FILE="$prefix/lib/cmake/Qt6/qt.toolchain.cmake" \
            -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" "${host[@]}" \
            -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF >"$top/configure-svg.log" 2>&1 ||
            { tail -30 "$top/configure-svg.log"; echo "qtsvg did not configure: $top/configure-svg.log"; exit 1; }
    fi
    build "$top/build-svg" || { echo "qtsvg did not build"; exit 1; }
    report "qtsvg built and installed"
else
    echo "Qt SVG left out: Debian's qt6-svg source could not be fetched:"
    grep -E '^E:' "$top/svg-source.log" | sed 's/^/    /' || sed 's/^/    /' "$top/svg-source.log"
fi
report "done, Qt for Windows in $prefix"
