"""Screenshots of what Zorvek shows a person: the main window, its menus, the tray menu and the
dialogs. Run by scripts/screenshots on a private desktop; the pictures go to the folder given."""
import os
import sys
import time

from desktop import MAIN_TITLE, Zorvek, click_at, find_windows, screenshot, tray_icon, wait_for, xdotool

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

    for name, keys in [("menu-file", "alt+f"), ("menu-settings", "alt+s"), ("menu-help", "alt+h")]:
        if name == "menu-settings":
            # "設定" has no mnemonic: open the menu bar on File and move right.
            xdotool("key", "--window", window, "alt+f")
            time.sleep(0.3)
            xdotool("key", "Right")
        else:
            xdotool("key", "--window", window, keys)
        shot(name)
        xdotool("key", "Escape")
        time.sleep(0.2)
        xdotool("key", "Escape")

    xdotool("key", "--window", window, "alt+h")
    time.sleep(0.3)
    xdotool("key", "v")
    wait_for(lambda: find_windows("バージョン情報"), 5, "the version dialog")
    shot("version-dialog")
    xdotool("key", "Escape")
finally:
    app.stop()
