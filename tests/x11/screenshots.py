"""Screenshots of what Zorvek shows a person: the main window, its menus, the tray menu and the
dialogs. Run by scripts/screenshots on a private desktop; the pictures go to the folder given."""
import os
import sys
import time

from desktop import (Zorvek, click_at, find_windows, geometry, screenshot, tray_icon, wait_for,
                     xdotool)

binary, out = sys.argv[1], sys.argv[2]
os.makedirs(out, exist_ok=True)
INI = ("[仕事]\r\nkill0=メモ帳\r\nkill1=Mail\r\nexe0=/usr/share/doc/report.odt\r\n"
       "exe1=/home/user/プロジェクト\r\n[遊び]\r\nexe0=/usr/games\r\n[Zorveksystem]\r\n")


def shot(name):
    time.sleep(0.6)
    screenshot(os.path.join(out, name + ".png"))
    print("wrote", os.path.join(out, name + ".png"))


app = Zorvek(binary, INI.encode("cp932")).start()
try:
    x, y = tray_icon()
    click_at(x, y, button=3)
    shot("tray-menu")
    xdotool("key", "Escape")

    click_at(x, y, repeat=2)
    window = app.main_window()
    xdotool("windowactivate", "--sync", window)
    shot("main-window")

    # The menu bar from the left: ファイル(&F), 編集, 設定, ヘルプ(&H); only the first and the
    # last have mnemonics, so the others are reached from the first with the arrow keys.
    for name, rights in [("menu-file", 0), ("menu-edit", 1), ("menu-settings", 2)]:
        app.open_menu("alt+f")
        for _ in range(rights):
            xdotool("key", "Right")
        shot(name)
        xdotool("key", "Escape")
        xdotool("key", "Escape")
    app.open_menu("alt+h")
    shot("menu-help")
    xdotool("key", "Escape")
    xdotool("key", "Escape")

    wx, wy, ww, wh = geometry(window)
    click_at(wx + 60, wy + wh - 100, button=3)  # the open-window list
    shot("popup-open-windows")
    xdotool("key", "Escape")
    click_at(wx + ww - 100, wy + wh - 100, button=3)  # the kill list
    shot("popup-kill-list")
    xdotool("key", "Escape")

    # 設定 → 環境に名前を付けて保存: the name dialog.
    app.open_menu("alt+f")
    xdotool("key", "Right", "Right", "Down", "Down", "Return")
    wait_for(lambda: find_windows("名前を付けて保存"), 5, "the name dialog")
    shot("name-dialog")
    xdotool("key", "Escape")

    app.open_menu("alt+h")
    xdotool("key", "v")
    wait_for(lambda: find_windows("バージョン情報"), 5, "the version dialog")
    shot("version-dialog")
    xdotool("key", "Escape")
finally:
    app.stop()
