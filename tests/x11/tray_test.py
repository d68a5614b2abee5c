"""The program's main job on a real desktop: from the tray menu, one click switches environments,
closing real windows, opening files through the desktop's default application and logging."""
import datetime
import os
import subprocess
import sys
import time
import unittest

from desktop import (DefaultApplication, TestWindows, Zorvek, click_at, find_windows, tray_icon,
                     wait_for, xdotool)

BINARY, TEST_WINDOWS = sys.argv[1], sys.argv[2]
del sys.argv[1:3]


class TraySwitchTest(unittest.TestCase):
    def setUp(self):
        self.apps = DefaultApplication()
        self.windows = TestWindows(TEST_WINDOWS, ("-", "zv Alpha Editor"), ("-", "zv Beta Mail"),
                                   ("hidden", "zv Gamma Term"), ("-", "zv Alpha Viewer"))
        self.docs = os.path.join(self.apps.root, "docs")
        os.makedirs(self.docs)
        for name in ("one.zvtest", "two.zvtest"):
            with open(os.path.join(self.docs, name), "wb") as f:
                f.write(b"zv\0")  # an empty file would be taken for plain text
        ini = ("[first]\r\nexe0=/nowhere\r\n"
               "[second]\r\nkill0=zv Alpha\r\nkill1=zv Gamma\r\nkill2=zv Nothing\r\n"
               f"exe0={self.docs}/one.zvtest\r\nexe1={self.docs}/two.zvtest\r\n"
               "[third]\r\n[Zorveksystem]\r\nmake_log_flg=1\r\n")
        self.app = Zorvek(BINARY, ini.encode("cp932"))
        self.app.start(env=self.apps.env)

    def tearDown(self):
        self.app.stop()
        self.windows.stop()
        self.apps.remove()

    def test_a_click_in_the_tray_menu_switches_and_the_icon_brings_the_window_back(self):
        x, y = tray_icon()
        self.assertEqual(find_windows("Zorvek ( 環境設定 )"), [], "starts in the tray")

        click_at(x, y, button=3)
        time.sleep(0.5)
        # 設定, バージョン情報, ヘルプ, バイバイ, then the environments after the separator.
        for _ in range(6):
            xdotool("key", "Down")
        xdotool("key", "Return")

        # The top-most Alpha (the one opened last), then the hidden Gamma.
        self.assertEqual(self.windows.wait_closes(2), [3, 2])
        opened = wait_for(lambda: len(self.apps.opened()) == 2 and self.apps.opened(), 10,
                          "both documents opened")
        self.assertEqual(opened, [[self.docs, f"{self.docs}/one.zvtest"],
                                  [self.docs, f"{self.docs}/two.zvtest"]])
        self.assertEqual(self.windows.wait_closes(3, timeout=0.3), [3, 2],
                         "nothing else was asked to close")

        log = os.path.join(self.app.dir, "zorvek" + datetime.date.today().strftime("%y%m%d") + ".log")
        with open(log, "rb") as f:
            lines = f.read().decode("cp932").split("\r\n")
        words = [(line[:3], line[25:]) for line in lines if line]
        self.assertEqual(words, [("終了[", "zv Alpha"), ("終了[", "zv Gamma"),
                                 ("終了[", "zv Nothing"), ("起動[", f"{self.docs}/one.zvtest"),
                                 ("起動[", f"{self.docs}/two.zvtest")])

        click_at(x, y, repeat=2)
        window = self.app.main_window()
        state = xdotool("getwindowname", window)
        self.assertEqual(state, "Zorvek ( 環境設定 )")

        wait_for(lambda: "SKIP_TASKBAR" in subprocess.run(
            ["xprop", "-id", window, "_NET_WM_STATE"], capture_output=True, text=True).stdout,
            5, "the window to leave the taskbar")


if __name__ == "__main__":
    unittest.main(verbosity=2)
