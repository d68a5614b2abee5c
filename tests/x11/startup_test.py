"""The real program on a real X server: the first run, quitting, and the next start."""
import re
import subprocess
import sys
import unittest

from desktop import Zorvek, xdotool

BINARY = sys.argv.pop(1) if len(sys.argv) > 1 else "build/zorvek"


def geometry(window):
    out = xdotool("getwindowgeometry", window)
    w, h = re.search(r"Geometry: (\d+)x(\d+)", out).groups()
    return int(w), int(h)


class StartupTest(unittest.TestCase):
    def setUp(self):
        self.app = None

    def tearDown(self):
        if self.app:
            self.app.stop()

    def test_first_run_writes_the_sample_then_quitting_writes_the_settings(self):
        self.app = Zorvek(BINARY).start()
        self.app.main_window()
        self.assertEqual(self.app.read_ini(), "[例]\r\nexe0=./Readme.txt\r\n".encode("cp932"))

        self.assertEqual(self.app.quit_by_menu(), 0)
        text = self.app.read_ini().decode("cp932")
        self.assertTrue(text.startswith("[例]\r\nexe0=./Readme.txt\r\n[Zorveksystem]\r\n"), text)
        keys = re.findall(r"^(\w+)=", text.split("[Zorveksystem]")[1], re.M)
        self.assertEqual(keys, ["make_log_flg", "form_width", "form_height", "active_height",
                                "kill_height", "split_top"])

    def test_the_next_start_applies_the_stored_window_settings_and_without_a_tray_stays_shown(self):
        ini = ("[仕事]\r\nkill0=メモ帳\r\nexe0=/usr/bin/true\r\n[Zorveksystem]\r\n"
               "make_log_flg=0\r\nform_width=0x2BC\r\nform_height=480\r\nkill_height=200\r\n")
        self.app = Zorvek(BINARY, ini.encode("cp932")).start()
        # This desktop has no notification area: the window must stay reachable.
        window = self.app.main_window(only_visible=True)
        self.assertEqual(geometry(window), (700, 480))
        self.assertEqual(self.app.quit_by_menu(), 0)
        text = self.app.read_ini().decode("cp932")
        self.assertIn("form_width=700\r\nform_height=480\r\n", text)
        self.assertIn("kill_height=200\r\n", text)


if __name__ == "__main__":
    unittest.main(verbosity=2)
