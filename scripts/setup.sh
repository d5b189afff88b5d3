# shellcheck shell=bash
# The one install step of every script, sourced by them: the package lists,
# how the 32-bit product runs on this machine, and the Xvfb display the Wine
# scripts share. Run as root on Debian 12.
#
#   need GROUP...     install what the groups need: native, windows, package, lint;
#                     and make the East Asian locales the Wine tests run in
#   run32             "native" when this kernel runs 32-bit code, else "emulated"
#   start_xvfb DIR    a private display (its number in DIR/display); sets DISPLAY
#   wine_prefix [--xvfb]
#                     makes $WINEPREFIX and gives it Wine's own fonts; with
#                     --xvfb, tells Wine that no window manager will come
#   shoot WINDOW FILE a PNG of the window's rectangle on the screen
#   windows_build ARCH TARGET...
#                     builds TARGETs for i686 (build/win32) or x86_64 (build/win64),
#                     the one way every script does, so the EXE tested is the EXE shipped

declare -A packages=(
    [native]="cmake ninja-build g++ g++-multilib libgtest-dev libgmock-dev googletest locales busybox perl openssl"
    # The win32-thread compilers link no winpthreads, whose imports need Vista.
    [windows]="cmake ninja-build g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32 binutils-mingw-w64 googletest wine64 fonts-wine xvfb xdotool imagemagick locales"
    [package]="cmake ninja-build g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32 binutils-mingw-w64 googletest zip unzip"
    [lint]="clang-format clang-tidy shellcheck g++-mingw-w64-x86-64-win32"
)

# A 96-byte 32-bit ELF program that exits with 32: the kernel either runs it or it does not.
run32() {
    local probe
    probe=$(mktemp)
    printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb\x20\x00\x00\x00\xcd\x80' > "$probe"
    chmod +x "$probe"
    local status=0
    "$probe" 2>/dev/null || status=$?
    rm -f "$probe"
    if [ "${PARCELOR_RUN32:-}" = emulated ] || [ $status != 32 ]; then echo emulated; else echo native; fi
}

need() {
    local list="" group
    for group in "$@"; do list="$list ${packages[$group]}"; done
    # 32-bit Wine runs the product: natively where the kernel can, else under qemu.
    case " $* " in *" windows "*)
        list="$list wine32:i386"
        [ "$(run32)" = native ] || list="$list qemu-user-static" ;;
    esac
    if ! dpkg -s $list >/dev/null 2>&1; then
        case $list in *:i386*)
            dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386 ;;
        esac
        # A mirror caught mid-sync fails one index of many; what the others
        # hold is usually enough, and the install below says when it is not.
        apt-get update || echo "setup.sh: apt-get update reported an error; installing from the lists it has" >&2
        if ! DEBIAN_FRONTEND=noninteractive apt-get install -y $list; then
            # 32-bit Wine needs the very versions of the system's own 64-bit
            # libraries, which a mirror whose i386 lists lag behind cannot
            # give. Then everything else goes in, and the Windows tests say
            # that the 32-bit product ran nowhere (windows-tests.sh).
            case " $* " in *" windows "*) ;; *) return 1 ;; esac
            list=${list/wine32:i386/}
            list=${list/qemu-user-static/}
            DEBIAN_FRONTEND=noninteractive apt-get install -y $list || return 1
            echo "setup.sh: wine32:i386 could not be installed (see apt's message above): the 32-bit product will not run under Wine here" >&2
        fi
    fi
    # Wine takes its ANSI and OEM code pages from the locale: the tests run it
    # in Japanese, Simplified and Traditional Chinese and Korean ones too.
    local locale
    for locale in ja_JP zh_CN zh_TW ko_KR; do
        locale -a 2>/dev/null | grep -qx "$locale.utf8" || localedef -i $locale -f UTF-8 $locale.UTF-8 || return 1
    done
}

start_xvfb() {
    Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-1024x768x24}" 3>"$1/display" >/dev/null 2>&1 &
    # The server's process, for the sourcing script to end.
    # shellcheck disable=SC2034
    xvfb=$!
    for _ in $(seq 1 50); do [ -s "$1/display" ] && break; sleep 0.1; done
    DISPLAY=:$(cat "$1/display")
    export DISPLAY
}

# Debian's Wine looks for its own fonts (Tahoma, MS Sans Serif, the Marlett of
# the caption buttons) under a path it cannot resolve, and draws with stand-ins;
# in the prefix's Fonts folder it finds them.
wine_prefix() {
    # Where 32-bit code runs only under qemu, so must the 32-bit half of the
    # set-up: without it syswow64 stays empty, and no 32-bit program finds
    # kernel32.dll ("could not load kernel32.dll, status c0000135").
    local through=""
    [ "$(run32)" = native ] || through="bash tests/wine/emulate-32bit.sh"
    $through /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
    cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
    # Under Xvfb no window manager answers: each window that hides would wait about 2 s for one.
    if [ "${1:-}" = --xvfb ]; then
        /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    fi
    /usr/lib/wine/wineserver -w
}

shoot() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$2"
}

windows_build() {
    local arch=$1 dir
    shift
    case $arch in i686) dir=build/win32 ;; x86_64) dir=build/win64 ;; esac
    cmake -S . -B $dir -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-$arch.cmake -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null &&
        cmake --build $dir --target "$@"
}
