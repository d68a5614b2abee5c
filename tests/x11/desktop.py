"""Helpers for tests that drive the real Zorvek program on the private desktop of scripts/testbed."""
import os
import queue
import re
import shutil
import subprocess
import tempfile
import threading
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

    def start(self, cwd=None, env=None):
        self.proc = subprocess.Popen([self.exe], cwd=cwd or self.dir, env=env,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return self

    def main_window(self, only_visible=True, timeout=10.0):
        return wait_for(lambda: find_windows(MAIN_TITLE, only_visible), timeout,
                        "the main window")[0]

    def visible_windows(self):
        return xdotool("search", "--onlyvisible", "--pid", str(self.proc.pid), check=False).split()

    def open_menu(self, keys):
        """Opens a menu of the main window by its keys and waits until it is on screen."""
        window = self.main_window()
        xdotool("windowactivate", "--sync", window)
        before = len(self.visible_windows())
        xdotool("key", "--window", window, keys)
        wait_for(lambda: len(self.visible_windows()) > before, 10, f"the menu of {keys}")

    def quit_by_menu(self):
        self.open_menu("alt+f")
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


def geometry(window):
    """(x, y, width, height) of a window on the screen."""
    out = xdotool("getwindowgeometry", "--shell", window)
    values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
    return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])


def tray_icon(timeout=10.0):
    """The centre of Zorvek's icon in the tray host: a small window of class zorvek."""
    def find():
        for window in xdotool("search", "--classname", "zorvek", check=False).split():
            try:
                x, y, w, h = geometry(window)
            except (RuntimeError, KeyError):
                continue
            if 0 < w <= 48 and 0 < h <= 48 and x >= 0 and y >= 0:
                return x + w // 2, y + h // 2
        return None
    return wait_for(find, timeout, "the tray icon")


def click_at(x, y, button=1, repeat=1):
    xdotool("mousemove", str(x), str(y))
    time.sleep(0.1)
    xdotool("click", "--repeat", str(repeat), "--delay", "80", str(button))


def screenshot(path):
    subprocess.run(["import", "-window", "root", path], check=True, timeout=20)


class TestWindows:
    """Real titled windows of the test program test_windows, which reports each close request."""

    def __init__(self, program, *specs):
        args = [program]
        for flags, title in specs:
            args += ["-w", flags, title]
        self.proc = subprocess.Popen(args, stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        self.lines = queue.Queue()
        threading.Thread(target=self._read, daemon=True).start()
        self.ids = []
        while True:
            line = self.lines.get(timeout=10)
            if line.startswith("window "):
                self.ids.append(line.split()[2])
            if line == "ready":
                break
        self.closed = []

    def _read(self):
        for line in self.proc.stdout:
            self.lines.put(line.strip())

    def wait_closes(self, count, timeout=10.0):
        """The indexes of the windows asked to close so far, waiting until there are count."""
        deadline = time.monotonic() + timeout
        while len(self.closed) < count:
            left = deadline - time.monotonic()
            if left <= 0:
                break
            try:
                line = self.lines.get(timeout=left)
            except queue.Empty:
                break
            if line.startswith("close "):
                self.closed.append(int(line.split()[1]))
        return self.closed

    def stop(self):
        if self.proc.poll() is None:
            self.proc.stdin.close()
            try:
                self.proc.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.proc.kill()


class DefaultApplication:
    """A private set of XDG folders in which files *.zvtest open with a recorder application that
    writes down its working directory and arguments."""

    def __init__(self):
        self.root = tempfile.mkdtemp(prefix="zorvek-xdg.")
        data = os.path.join(self.root, "data")
        config = os.path.join(self.root, "config")
        self.record = os.path.join(self.root, "opened.txt")
        os.makedirs(os.path.join(data, "mime", "packages"))
        os.makedirs(os.path.join(data, "applications"))
        os.makedirs(config)
        with open(os.path.join(data, "mime", "packages", "zvtest.xml"), "w") as f:
            f.write('<?xml version="1.0"?>\n'
                    '<mime-info xmlns="http://www.freedesktop.org/standards/shared-mime-info">\n'
                    '  <mime-type type="application/x-zvtest"><glob pattern="*.zvtest"/></mime-type>\n'
                    '</mime-info>\n')
        subprocess.run(["update-mime-database", os.path.join(data, "mime")], check=True,
                       capture_output=True)
        recorder = os.path.join(self.root, "recorder.sh")
        with open(recorder, "w") as f:
            f.write(f'#!/bin/sh\nprintf "%s|%s\\n" "$PWD" "$*" >> "{self.record}"\n')
        os.chmod(recorder, 0o755)
        with open(os.path.join(data, "applications", "zv-recorder.desktop"), "w") as f:
            f.write(f"[Desktop Entry]\nType=Application\nName=Recorder\nExec={recorder} %f\n"
                    "MimeType=application/x-zvtest;\nNoDisplay=true\n")
        with open(os.path.join(config, "mimeapps.list"), "w") as f:
            f.write("[Default Applications]\napplication/x-zvtest=zv-recorder.desktop\n")
        self.env = dict(os.environ, XDG_DATA_HOME=data, XDG_CONFIG_HOME=config,
                        XDG_DATA_DIRS=data + ":/usr/share",
                        XDG_CACHE_HOME=os.path.join(self.root, "cache"))

    def opened(self):
        if not os.path.exists(self.record):
            return []
        with open(self.record) as f:
            return [line.rstrip("\n").split("|", 1) for line in f]

    def remove(self):
        shutil.rmtree(self.root, ignore_errors=True)


def root_geometry(window):
    """(x, y, width, height) of a window's own area in root coordinates, frame left out. xdotool's
    position counts the frame of a reparenting window manager in, so it is taken from xwininfo."""
    out = subprocess.run(["xwininfo", "-id", str(window)], capture_output=True, text=True,
                         timeout=10, check=True).stdout
    values = dict(re.findall(r"^\s*(Absolute upper-left [XY]|Width|Height):\s*(-?\d+)", out, re.M))
    return (int(values["Absolute upper-left X"]), int(values["Absolute upper-left Y"]),
            int(values["Width"]), int(values["Height"]))
