#!/usr/bin/env bash
# The Windows build, made on Debian with MinGW-w64 and tried out under wine.
#
#   scripts/windows.sh        build Qt for Windows (once), then the program and
#                             its tests into build-windows/, the folder to ship
#                             (build-windows/orlo-clipboard/) and its zip
#   scripts/windows.sh test   build, then run the tests under wine
#   scripts/windows.sh test program   only the program's own checks
#
# ORLO_WIN_PROJECT     CMake project to build (default: this repository)
# ORLO_WIN_BUILD_DIR   its build folder (default: <project>/build-windows)
# ORLO_CACHE_DIR       Qt and the wine prefix (default: ~/.cache/orlo-clipboard)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

PROJECT="${ORLO_WIN_PROJECT:-$ROOT}"
WIN_BUILD="${ORLO_WIN_BUILD_DIR:-$PROJECT/build-windows}"
CACHE="${ORLO_CACHE_DIR:-$HOME/.cache/orlo-clipboard}"
TOOLCHAIN="$ROOT/cmake/mingw-w64.cmake"
CROSS_CXX=x86_64-w64-mingw32-g++-posix

# wine is for the tests, installed with the rest so a built machine can run them.
# Qt's Chinese words are the same file on every system: Debian's is shipped.
# tcl makes SQLite's single-file source (see provide_sqlite).
WIN_PACKAGES=(cmake ninja-build qt6-base-dev dpkg-dev xz-utils qt6-translations-l10n
    g++-mingw-w64-x86-64-posix wine wine64 tcl)
QT_WORDS=/usr/share/qt6/translations/qtbase_zh_CN.qm
# wine's X11 driver opens the X extension libraries at run time and only
# recommends them; fonts-wine has the fonts Windows programs expect.
WIN_TEST_PACKAGES=(xvfb openbox trayer xdotool x11-utils fonts-wine fonts-wqy-zenhei
    libxrender1 libxrandr2 libxi6 libxcursor1 libxcomposite1 libxinerama1)

# Only what the program and its tests use: SQL with the SQLite driver (its
# own copy, with full-text search) keeps the index of the saved files. Without ICU, QStringConverter
# knows just the UTF and Latin-1 codecs: GBK and friends are our own business.
# direct2d is off to keep the DLLs small and wine-friendly; the DirectWrite 3
# font database is built only with Direct2D in Qt 6.4 (Gui), yet the windows
# plugin asks for it whenever directwrite3 is on, so it goes too.
# Debian's source has no wintab headers, which tablet events need.
# The bundled FreeType is what the offscreen platform plugin needs, so the
# tests can run under wine without a window system.
QT_FLAGS=(
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
    -DINPUT_opengl=no -DFEATURE_vulkan=OFF
    -DFEATURE_sql=ON -DFEATURE_sql_sqlite=ON -DFEATURE_system_sqlite=OFF
    -DFEATURE_sql_odbc=OFF -DFEATURE_sql_psql=OFF -DFEATURE_sql_mysql=OFF
    -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_androiddeployqt=OFF
    -DFEATURE_icu=OFF -DFEATURE_zstd=OFF -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF
    -DINPUT_ssl=no -DFEATURE_ssl=OFF -DFEATURE_openssl=OFF
    -DFEATURE_direct2d=OFF -DFEATURE_directwrite3=OFF
    -DFEATURE_tabletevent=OFF
    -DFEATURE_freetype=ON -DFEATURE_system_freetype=OFF
)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Keeps a long, chatty command's output in a log, shown only if it fails.
logged() { # log file, command...
    local log="$1" && shift
    if ! "$@" >"$log" 2>&1; then
        tail -n 40 "$log" >&2
        say "Failed: $* (full log: $log)"
        return 1
    fi
}

# apt-get source needs a deb-src entry, which Debian's images leave out.
enable_deb_src() {
    if grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ \
        || grep -qs '^deb-src ' /etc/apt/sources.list; then
        return 0
    fi
    local suite
    suite="$(. /etc/os-release && echo "$VERSION_CODENAME")"
    say "Adding a deb-src entry for Debian $suite main."
    printf '%s\n' 'Types: deb-src' 'URIs: http://deb.debian.org/debian' "Suites: $suite" \
        'Components: main' 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' \
        | as_root tee /etc/apt/sources.list.d/debian-src.sources >/dev/null
    as_root apt-get update -qq
}

# The Windows Qt must be the very version of the build machine's Qt, whose
# moc, rcc and uic it uses.
qt_paths() {
    QT_DEB_VERSION="$(dpkg-query -W -f='${Version}' qt6-base-dev)"
    QT_VERSION="${QT_DEB_VERSION%%+*}"
    local key
    key="$(printf '%s\n' "$QT_DEB_VERSION" "${QT_FLAGS[@]}" \
        "$(dpkg-query -W -f='${Version}' g++-mingw-w64-x86-64-posix)" | sha256sum | cut -c1-10)"
    QT_NAME="qt-$QT_VERSION-mingw-$key"
    QT_TARBALL="$CACHE/$QT_NAME.tar.gz"
    QT_PREFIX="$CACHE/$QT_NAME"
}

# Debian's Qt source leaves out Qt's copy of SQLite, which the Windows SQLite
# driver is built with (full-text search included): it is made from Debian's
# own sqlite3 source, as the single file sqlite3.c, into its place.
provide_sqlite() { # work folder, Qt source
    local work="$1" qt="$2" sqlite
    (cd "$work" && logged "$work/sqlite-source.log" apt-get source -q --only-source sqlite3)
    sqlite="$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'sqlite3-*' | head -n1)"
    (cd "$sqlite" && logged "$work/sqlite.log" sh -c './configure && make sqlite3.c')
    # The archive's search is an FTS5 table: its code must be in the file and
    # switched on whatever defines this Qt version's driver passes.
    grep -q 'fts5Init' "$sqlite/sqlite3.c" || { say "sqlite3.c has no FTS5"; return 1; }
    mkdir -p "$qt/src/3rdparty/sqlite"
    { printf '#ifndef SQLITE_ENABLE_FTS5\n#define SQLITE_ENABLE_FTS5 1\n#endif\n'
        cat "$sqlite/sqlite3.c"; } >"$qt/src/3rdparty/sqlite/sqlite3.c"
    cp "$sqlite/sqlite3.h" "$qt/src/3rdparty/sqlite/"
}

# Builds Qt from Debian's source package into the cache as a tarball. It
# takes about half an hour on two cores, hence done once per key.
build_qt() {
    local work="$CACHE/build-$QT_NAME" start=$SECONDS
    say "Building Qt $QT_VERSION for Windows (about half an hour); logs in $work."
    # An interrupted build goes on where it stopped instead of starting over.
    if [ ! -f "$work/build/build.ninja" ]; then
        rm -rf "$work"
        mkdir -p "$work"
        enable_deb_src
        (cd "$work" && logged "$work/source.log" apt-get source -q --only-source "qt6-base=$QT_DEB_VERSION")
        local src
        src="$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*' | head -n1)"
        provide_sqlite "$work" "$src"
        logged "$work/configure.log" cmake -S "$src" -B "$work/build" -G Ninja \
            -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_INSTALL_PREFIX="$QT_PREFIX" "${QT_FLAGS[@]}"
    fi
    rm -rf "$QT_PREFIX"
    logged "$work/build.log" cmake --build "$work/build"
    logged "$work/install.log" cmake --install "$work/build" --strip
    tar -C "$CACHE" -czf "$QT_TARBALL.part" "$QT_NAME"
    mv "$QT_TARBALL.part" "$QT_TARBALL"
    rm -rf "$work"
    say "Qt for Windows built in $(((SECONDS - start) / 60)) min: $QT_TARBALL ($(du -h "$QT_TARBALL" | cut -f1))."
}

ensure_qt() {
    qt_paths
    # Without its tarball, a prefix may be what an interrupted build left.
    [ -f "$QT_TARBALL" ] && [ -d "$QT_PREFIX" ] && return 0
    [ -f "$QT_TARBALL" ] || build_qt
    if [ ! -d "$QT_PREFIX" ]; then
        # Unpacked beside and moved, so a broken unpacking never looks complete.
        local tmp="$CACHE/unpack-$QT_NAME"
        rm -rf "$tmp" && mkdir -p "$tmp"
        tar -C "$tmp" -xzf "$QT_TARBALL"
        mv "$tmp/$QT_NAME" "$QT_PREFIX"
        rmdir "$tmp"
    fi
}

# A Windows program finds its DLLs beside itself, Qt its plugins in folders
# beside it and the program Qt's words in translations/: copy them next to
# every built .exe.
deploy() {
    local runtime=() name dll dir
    for name in libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
        dll="$("$CROSS_CXX" -print-file-name="$name")"
        [ -f "$dll" ] || { say "$name not found"; return 1; }
        runtime+=("$dll")
    done
    find "$WIN_BUILD" -name '*.exe' -not -path '*/CMakeFiles/*' -printf '%h\n' | sort -u \
        | while read -r dir; do
            cp -u "${runtime[@]}" "$QT_PREFIX"/bin/Qt6*.dll "$dir/"
            mkdir -p "$dir/translations"
            cp -u "$QT_WORDS" "$dir/translations/"
            for name in platforms styles imageformats sqldrivers; do
                [ -d "$QT_PREFIX/plugins/$name" ] || continue
                mkdir -p "$dir/$name"
                cp -u "$QT_PREFIX/plugins/$name"/*.dll "$dir/$name/"
            done
        done
}

build_project() {
    # The icon is drawn by the build machine's own build of the drawing step.
    ensure_packages "${BUILD_PACKAGES[@]}"
    configure_build
    cmake --build "$BUILD_DIR" --target rendericons
    # A build folder set up against another Qt would keep finding that one.
    if [ -f "$WIN_BUILD/CMakeCache.txt" ] && ! grep -qF "Qt6_DIR:PATH=$QT_PREFIX/" "$WIN_BUILD/CMakeCache.txt"; then
        rm -rf "$WIN_BUILD/CMakeCache.txt" "$WIN_BUILD/CMakeFiles"
    fi
    cmake -S "$PROJECT" -B "$WIN_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_PREFIX_PATH="$QT_PREFIX" \
        -DORLO_WERROR=ON -DORLO_HOST_RENDERICONS="$BUILD_DIR/rendericons" >/dev/null
    cmake --build "$WIN_BUILD"
    deploy
}

# The folder to ship, stripped, and its zip: the program, its manual, the
# Qt and MinGW DLLs, the plugins it loads and Qt's Chinese words.
package() {
    local folder="$WIN_BUILD/orlo-clipboard" version zip
    version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$WIN_BUILD/CMakeCache.txt")"
    zip="$WIN_BUILD/orlo-clipboard-$version-win64.zip"
    rm -rf "$folder" "$zip"
    cmake --install "$WIN_BUILD" --prefix "$folder" --strip >/dev/null
    cp "$WIN_BUILD"/*.dll "$folder/"
    rm -f "$folder/Qt6Test.dll" # for the tests only
    for name in platforms styles imageformats sqldrivers translations; do
        [ -d "$WIN_BUILD/$name" ] && cp -r "$WIN_BUILD/$name" "$folder/"
    done
    (cd "$WIN_BUILD" && cmake -E tar cf "$(basename "$zip")" --format=zip orlo-clipboard)
    say "Ready to ship: $folder and $zip ($(du -h "$zip" | cut -f1))."
}

build() {
    ensure_packages "${WIN_PACKAGES[@]}"
    mkdir -p "$CACHE"
    ensure_qt
    build_project
    package
}

# --- Tests under wine -------------------------------------------------------

export WINEPREFIX="$CACHE/wineprefix" WINEARCH=win64 WINEDEBUG=-all
# Keeps wine from offering to download Mono and Gecko, which nothing here uses.
export WINEDLLOVERRIDES="mscoree,mshtml="
# wine keeps the build machine's QT_* variables from Windows programs and
# hands them WINEQT_* ones as QT_* instead.
# With no console window, Qt Test and qDebug write to OutputDebugString,
# which nobody reads under wine: they go to the standard streams instead.
export WINEQT_FORCE_STDERR_LOGGING=1
# The offscreen platform looks for fonts in lib/fonts beside Qt, which a
# deployed program has not got; these have the Chinese glyphs too.
export WINEQT_QPA_FONTDIR='Z:\usr\share\fonts\truetype\wqy'

PASSED=0 FAILED=0 BACKGROUND=()

check() { # test name, then the command that passes or fails
    local name="$1" && shift
    if "$@"; then
        PASSED=$((PASSED + 1))
        say "PASS: $name"
    else
        FAILED=$((FAILED + 1))
        say "FAIL: $name"
    fi
}

# Runs a Windows program; a hung one counts as failed instead of stalling.
wine_run() { # program.exe, arguments...
    timeout "${WINE_TIMEOUT:-300}" wine "$@"
}

# Starts a Windows program in the background and stops it with the session.
wine_start() { # program.exe, arguments...
    wine "$@" >/dev/null 2>&1 &
    BACKGROUND+=($!)
}

stop_session() {
    local pid
    for pid in "${BACKGROUND[@]}"; do kill "$pid" 2>/dev/null || true; done
    # Ends this prefix's wineserver and whatever programs it still keeps.
    wineserver -k 2>/dev/null || true
    for pid in "${BACKGROUND[@]}"; do wait "$pid" 2>/dev/null || true; done
    BACKGROUND=()
    stop_xvfb
}

# A private X server with a window manager and a system tray, as a Windows
# program under wine needs for its windows and tray icon.
start_session() {
    start_xvfb
    openbox --sm-disable >/dev/null 2>&1 &
    BACKGROUND+=($!)
    trayer --edge top --align right --height 24 >/dev/null 2>&1 &
    BACKGROUND+=($!)
    sleep 1
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        say "Setting up the wine prefix $WINEPREFIX (once)."
        wineboot -i >/dev/null 2>&1
        wineserver -w
    fi
}

# Every Qt Test program but the end-to-end ones, which drive X11 tools.
qt_tests() {
    local test
    for test in "$WIN_BUILD"/tests/tst_*.exe; do
        WINEQT_QPA_PLATFORM=offscreen check "$(basename "$test" .exe)" wine_run "$test"
    done
}

# The program as a user runs it, on the X server with a window manager and a
# tray, xclip copying as another program would.
APP= KEY='HKCU\Software\VB and VBA Program Settings\Orlo粘贴板'
RUN='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'

tray_icons() { # how many windows trayer's panel holds: one, and one an icon
    local panel
    panel="$(xdotool search --classname '^panel$' | head -n1)"
    [ -n "$panel" ] && xwininfo -children -id "$panel" | grep -c '^     *0x' || echo 0
}
wait_for() { # command that succeeds, within 15 s; run anew each time
    local i
    for i in $(seq 150); do "$@" && return 0; sleep 0.1; done
    return 1
}
icons_more_than() { [ "$(tray_icons)" -gt "$1" ]; }
window_shown() { [ -n "$(main_window)" ]; }
window_hidden() { [ -z "$(main_window)" ]; }
text_saved() { compgen -G "$APP/data/text/*.htm" >/dev/null; }
program_ended() { ! pgrep -f 'orlo-clipboard.exe' >/dev/null; }
main_window() { xdotool search --onlyvisible --name '^Orlo粘贴板2.0版$' | head -n1; }
press() { # keys, to the main window
    xdotool windowactivate --sync "$(main_window)" key --clearmodifiers "$@"
    sleep 0.5
}
copy() { # MIME type, file: another program's copy
    xclip -selection clipboard -t "$1" -i "$2" >/dev/null 2>&1 &
    BACKGROUND+=($!)
    sleep 1.5
}
starts_hidden_with_its_icon() {
    local before
    before="$(tray_icons)"
    wine_start "$APP/orlo-clipboard.exe"
    wait_for icons_more_than "$before" && ! window_shown
}
# wine hears keys only while one of its own windows has the focus: the
# shortcut is typed into wine's notepad.
the_shortcut_brings_the_window() {
    local notepad
    wine_start notepad
    wait_for xdotool search --onlyvisible --classname notepad >/dev/null || return 1
    notepad="$(xdotool search --onlyvisible --classname notepad | head -n1)"
    xdotool windowactivate --sync "$notepad" key --clearmodifiers ctrl+alt+v
    wait_for window_shown && press Escape && wait_for window_hidden
}
a_second_start_shows_the_first() {
    wine_run "$APP/orlo-clipboard.exe" && wait_for window_shown
}
saves_gbk_bytes_as_on_linux() {
    local expected="$APP/expected.htm" saved
    printf '<html><head><meta http-equiv="Content-Language" content="zh-cn"><meta http-equiv="Content-Type" content="text/html; charset=gb2312"><title>Orlo粘贴板数据文件</title></head><body><p><font size="3" face="宋体">\r\n1&lt;script&gt;&amp;&#x1F600;中<br><br>\r\n</font></p></body></html>\r\n' \
        | iconv -f UTF-8 -t GBK >"$expected"
    press ctrl+s
    wait_for text_saved || return 1
    saved="$(ls "$APP"/data/text/*.htm)"
    cmp "$saved" "$expected" && [ "$(ls "$APP"/data/image/*.bmp | wc -l)" -eq 1 ] || {
        ls -lR "$APP/data" >&2
        return 1
    }
}
options() { # keys for the options dialog, from its OK button
    press ctrl+o
    wait_for xdotool search --onlyvisible --name '^选项$' >/dev/null || return 1
    xdotool key "$@"
    sleep 1
}
options_reach_the_registry() {
    # From OK past Cancel to the first policy; the arrow chooses the save policy.
    options Tab Tab Down Return || return 1
    LANG=C.UTF-8 wine reg query "$KEY\Option" /v AutoSave 2>/dev/null | grep -q True &&
        LANG=C.UTF-8 wine reg query "$KEY\Path" /v txtPath 2>/dev/null | grep -qF '\data\text'
}
starts_at_login() { wine reg query "$RUN" 2>/dev/null | grep -qF 'orlo-clipboard.exe'; }
login_start_writes_the_run_key() { # 登录时启动 comes last in the tab order
    options shift+Tab space Return && starts_at_login &&
        options shift+Tab space Return && ! starts_at_login
}
# The index the program keeps of its data folder, asked as it asks: the
# word's trigrams in the FTS5 table, then the word in the entry.
archive_finds_the_page() {
    local index
    index="$(find "$WINEPREFIX"/drive_c/users/*/AppData/Local/orlo-clipboard \
        -name 'archive-*.sqlite' -printf '%T@ %p\n' | sort -n | tail -n1 | cut -d' ' -f2-)"
    [ -n "$index" ] && python3 -c 'import sqlite3, sys
db = sqlite3.connect(sys.argv[1])
sys.exit(db.execute("SELECT count(*) FROM grams JOIN items i ON i.id = grams.rowid"
    " WHERE grams MATCH ? AND instr(i.folded, ?)", ["scr AND cri AND rip AND ipt", "script"]
    ).fetchone()[0] != 1)' "$index"
}
exit_leaves_no_temp_file() {
    press ctrl+q
    wait_for program_ended && [ -z "$(ls -A "$APP/data/image/temp")" ] || {
        pgrep -af orlo-clipboard >&2
        ls -la "$APP/data/image/temp" >&2
        return 1
    }
}

windows_tests() { # "program": the program's checks only
    [ "${1:-}" = program ] || qt_tests
    APP="$(mktemp -d)/orlo-clipboard"
    cp -r "$WIN_BUILD/orlo-clipboard" "$APP"
    LANG=C.UTF-8 wine reg delete "$KEY" /f >/dev/null 2>&1 || true
    LANG=C.UTF-8 wine reg delete "$RUN" /v Orlo粘贴板 /f >/dev/null 2>&1 || true
    check "ships Qt's Chinese words and SQLite driver" test -f "$APP/translations/qtbase_zh_CN.qm" \
        -a -f "$APP/sqldrivers/qsqlite.dll"
    check "starts hidden, its icon in the tray" starts_hidden_with_its_icon
    check "Ctrl+Alt+V brings the window up, Esc puts it away" the_shortcut_brings_the_window
    printf '1<script>&😀中' >"$APP/text.txt"
    copy UTF8_STRING "$APP/text.txt"
    "$BUILD_DIR/rendericons" "$APP/png" 48
    copy image/png "$APP/png/hicolor/48x48/apps/orlo-clipboard.png"
    check "a second start shows the first program's window" a_second_start_shows_the_first
    check "Ctrl+S saves the GB2312 bytes Linux saves, and the picture" saves_gbk_bytes_as_on_linux
    check "the options dialog writes the registry" options_reach_the_registry
    check "登录时启动 writes and removes the Run value" login_start_writes_the_run_key
    check "Ctrl+Q leaves the temp folder empty" exit_leaves_no_temp_file
    check "the archive's index finds the saved page" archive_finds_the_page
}

run_tests() {
    ensure_packages "${WIN_TEST_PACKAGES[@]}"
    trap stop_session EXIT
    start_session
    say "Windows tests use the X server $DISPLAY."
    windows_tests "$@"
    stop_session
    trap - EXIT
    echo "$PASSED passed, $FAILED failed"
    [ "$FAILED" -eq 0 ]
}

case "${1:-}" in
    "") build ;;
    test) build; run_tests "${2:-}" ;;
    *) say "usage: $0 [test]"; exit 2 ;;
esac
