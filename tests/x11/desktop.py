"""Helpers for tests that drive the real Zorvek program on the private desktop of scripts/testbed."""
import os
import re
import shutil
import subprocess
import tempfile
import time

MAIN_TITLE = "Zorvek ( 環境設定 )"


def xdotool(*args, check=True):
    result = subprocess.run(["xdotool", *args], capture_output=True, text=True, timeout=10)
    if check and result.returncode != 0:
        raise RuntimeError(f"xdotool {' '.join(args)}: {result.stderr.strip()}")
    return result.stdout.strip()


def wait_for(predicate, timeout=10.0, what="condition"):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(0.05)
    raise TimeoutError(f"timed out waiting for {what}")


def find_windows(title, only_visible=True):
    args = ["search"] + (["--onlyvisible"] if only_visible else []) + ["--name", f"^{re.escape(title)}$"]
    out = xdotool(*args, check=False)
    return [w for w in out.split() if w]


class Zorvek:
    """A copy of the program in a folder of its own, so that its joutai.INI lies there."""

    def __init__(self, binary, ini_bytes=None):
        self.dir = tempfile.mkdtemp(prefix="zorvek-desktop.")
        self.exe = os.path.join(self.dir, "zorvek")
        shutil.copy2(binary, self.exe)
        self.ini = os.path.join(self.dir, "joutai.INI")
        if ini_bytes is not None:
            with open(self.ini, "wb") as f:
                f.write(ini_bytes)
        self.proc = None

    def start(self, cwd=None):
        self.proc = subprocess.Popen([self.exe], cwd=cwd or self.dir,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return self

    def main_window(self, only_visible=True, timeout=10.0):
        return wait_for(lambda: find_windows(MAIN_TITLE, only_visible), timeout,
                        "the main window")[0]

    def quit_by_menu(self):
        window = self.main_window()
        xdotool("windowactivate", "--sync", window)
        xdotool("key", "--window", window, "alt+f")
        time.sleep(0.3)
        xdotool("key", "e")
        return self.wait_exit()

    def wait_exit(self, timeout=10.0):
        return self.proc.wait(timeout=timeout)

    def read_ini(self):
        with open(self.ini, "rb") as f:
            return f.read()

    def stop(self):
        if self.proc and self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
        shutil.rmtree(self.dir, ignore_errors=True)
