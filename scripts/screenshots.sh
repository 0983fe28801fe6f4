#!/usr/bin/env bash
# Makes the README's screenshots in docs/: the real program on a private X
# server with openbox and the test fonts, driven by xclip and xdotool.
set -euo pipefail
source "$(dirname "$0")/common.sh"

ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" imagemagick
configure_build
cmake --build "$BUILD_DIR" --target orlo-clipboard

work="$(mktemp -d)"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    stop_xvfb
    rm -rf "$work"
}
trap cleanup EXIT
start_xvfb

export HOME="$work" XDG_RUNTIME_DIR="$work" LC_ALL=C.UTF-8
export DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent
unset XDG_CONFIG_HOME XDG_DATA_HOME
chmod 700 "$work"
openbox --sm-disable >/dev/null 2>&1 & pids+=($!)
trayer --edge top --align right --height 24 >/dev/null 2>&1 & pids+=($!)
sleep 1
mkdir "$work/app" "$work/.config"
# The options dialog shows folders as a user's would look, not the temp folder.
cat >"$work/.config/Orlo粘贴板.conf" <<'SETTINGS'
[Option]
AutoSave=True

[Path]
txtPath=/home/用户/Orlo粘贴板/data/text
imgPath=/home/用户/Orlo粘贴板/data/image
othPath=/home/用户/Orlo粘贴板/data/other
SETTINGS
cp "$BUILD_DIR/orlo-clipboard" "$work/app/"
"$work/app/orlo-clipboard" >/dev/null 2>&1 & pids+=($!)
sleep 2

copy() { # mime type; the data on standard input
    xclip -quiet -selection clipboard -t "$1" >/dev/null 2>&1 & pids+=($!)
    sleep 0.5
}
shoot() { # window name, file
    local id
    id="$(xdotool search --sync --onlyvisible --name "$1" | head -n1)"
    sleep 0.5
    import -silent -frame -window "$id" "$ROOT/docs/$2"
    say "docs/$2"
}
menu() { # the menu bar's Alt key, then the item's keys
    xdotool search --name '^Orlo粘贴板2.0版$' windowactivate --sync >/dev/null
    xdotool key --clearmodifiers "$@"
    sleep 0.5
}

for text in "https://www.example.org/downloads" "周报模板" "Orlo粘贴板 2.0" "备忘：周四交水电费"; do
    printf '%s' "$text" | copy UTF8_STRING
done
printf '会议纪要：\n1. 下周一提交初稿\n2. 周三评审\n3. 周五定稿' | copy UTF8_STRING
# A second start brings the first one's window up.
"$work/app/orlo-clipboard"
shoot '^Orlo粘贴板2.0版$' mainwindow.png

convert -size 800x500 -seed 11 plasma:skyblue-seagreen -blur 0x3 \
    -fill white -stroke '#335' -strokewidth 3 -draw 'circle 620,120 670,120' png:- | copy image/png
menu alt+v Down Return                # 视图 → 图片数据
menu alt+s Down Down Down Return      # 设置 → 缩放图像以显示全部
shoot '^Orlo粘贴板2.0版$' picture.png

menu ctrl+o
shoot '^选项$' options.png
xdotool key Escape
menu alt+s Return                     # 设置 → 文本管理界面设置...
shoot '^文本管理界面设置$' appearance.png
xdotool key Escape

# Search: texts and the words read in a picture, found with Ctrl+E.
convert -size 720x160 xc:'#f4f6f8' -font WenQuanYi-Zen-Hei -pointsize 40 -fill '#223' \
    -draw "text 24,96 '会议室 预订 Room 301'" png:- | copy image/png
sleep 5 # the words in the picture are read in the background
menu alt+v Return                     # 视图 → 文本数据
menu ctrl+e
xdotool type --delay 60 '会议'
sleep 1
shoot '^Orlo粘贴板2.0版$' search.png

# Everything saved, searched: a later run with folders of its own takes the
# entries back from its journal, saves them (Ctrl+S) and finds them there.
kill "${pids[2]}"
sleep 1
mkdir -p "$work/data/text" "$work/data/image"
sed -i "s|=/home/用户/Orlo粘贴板|=$work|" "$work/.config/Orlo粘贴板.conf"
"$work/app/orlo-clipboard" >/dev/null 2>&1 & pids+=($!)
sleep 3
"$work/app/orlo-clipboard"
menu ctrl+s
sleep 3 # indexed in the background
menu ctrl+e
xdotool type --delay 60 '周'
xdotool key Return
sleep 1
shoot '^Orlo粘贴板2.0版$' archive.png
