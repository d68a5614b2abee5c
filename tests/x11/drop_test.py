"""Files dropped on the real program from outside, through X drag and drop as a file manager does
it, join the launch list of the edited environment and are saved with it."""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

from desktop import Zorvek, find_windows, root_geometry, wait_for, xdotool

BINARY, XDND_DROP = sys.argv[1], sys.argv[2]
del sys.argv[1:3]


class DropTest(unittest.TestCase):
    def setUp(self):
        self.files = tempfile.mkdtemp(prefix="zorvek-drop.")
        self.report = os.path.join(self.files, "報告 書.txt")
        with open(self.report, "w") as f:
            f.write("report\n")
        self.folder = os.path.join(self.files, "資料 フォルダ")
        os.mkdir(self.folder)
        self.app = Zorvek(BINARY, "[仕事]\r\nexe0=/etc/hosts\r\n".encode("cp932")).start()

    def tearDown(self):
        self.app.stop()
        shutil.rmtree(self.files, ignore_errors=True)

    def test_files_dropped_on_the_open_window_list_join_the_launch_list_and_are_saved(self):
        window = self.app.main_window(timeout=30)
        x, y, _, height = root_geometry(window)
        # Over the open-window list in the lower left, not over the launch list: a drop anywhere
        # on the window counts.
        drop = subprocess.run([XDND_DROP, "--timeout", "20", "--x", str(x + 40),
                               "--y", str(y + height - 40), self.report, self.folder],
                              capture_output=True, text=True, timeout=60)
        self.assertEqual(drop.returncode, 0, drop.stderr)
        self.assertIn(f"on {int(window):#x}: copy", drop.stdout)

        # Ending asks whether to save the changed environment; Yes is the default.
        self.app.open_menu("alt+f")
        xdotool("key", "e")
        wait_for(lambda: find_windows("Zorvek") or self.app.proc.poll() is not None, 30,
                 "the save question")
        boxes = find_windows("Zorvek")
        self.assertTrue(boxes, "ended without asking to save the dropped files")
        xdotool("windowactivate", "--sync", boxes[0])
        xdotool("key", "Return")
        self.assertEqual(self.app.wait_exit(timeout=30), 0)

        ini = self.app.read_ini()
        start = ini.index("[仕事]\r\n".encode("cp932"))
        end = ini.find(b"\r\n[", start)
        section = ini[start:] if end < 0 else ini[start:end + 2]
        self.assertEqual(section, (f"[仕事]\r\nexe0=/etc/hosts\r\nexe1={self.report}\r\n"
                                   f"exe2={self.folder}\r\n").encode("cp932"))


if __name__ == "__main__":
    unittest.main(verbosity=2)
