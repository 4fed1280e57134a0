"""Real-window test harness: the program on Xvfb with openbox, driven by xdotool.

A scenario is a function taking a Session; `run(scenario)` starts the X server, the
window manager and the program, runs the scenario, and always cleans up. Screenshots
are kept under the build folder (E2E_SHOTS) for people to look at.
"""

import os
import re
import subprocess
import sys
import time


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


class Image:
    """A screenshot as RGB pixels, read from ImageMagick's PPM output."""

    def __init__(self, data):
        parts = []
        pos = 0
        while len(parts) < 4:
            while data[pos:pos + 1].isspace():
                pos += 1
            if data[pos:pos + 1] == b"#":
                pos = data.index(b"\n", pos) + 1
                continue
            end = pos
            while not data[end:end + 1].isspace():
                end += 1
            parts.append(data[pos:end])
            pos = end
        check(parts[0] == b"P6", "screenshot is not a binary PPM")
        self.width, self.height = int(parts[1]), int(parts[2])
        check(parts[3] == b"255", "screenshot is not 8 bits per sample")
        self.pixels = data[pos + 1:]

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i:i + 3])


class Session:
    def __init__(self, program, screen="1280x800x24"):
        self.program = program
        self.shots = os.environ.get("E2E_SHOTS", os.path.join(os.path.dirname(program), "e2e-screenshots"))
        os.makedirs(self.shots, exist_ok=True)
        self.display = self._free_display()
        self.env = dict(os.environ, DISPLAY=self.display, QT_QPA_PLATFORM="xcb")
        self.env.pop("WAYLAND_DISPLAY", None)
        self.procs = []
        self.app = None
        try:
            self.xvfb = self._spawn(["Xvfb", self.display, "-screen", "0", screen, "-nolisten", "tcp"])
            self._wait_for(lambda: self._ok(["xdpyinfo"]), 30, "X server did not start")
            for attempt in range(3):
                wm = self._spawn(["openbox"])
                try:
                    self._wait_for(lambda: "_NET_SUPPORTING_WM_CHECK" in self._out(["xprop", "-root"]), 20,
                                   "window manager did not start")
                    break
                except Failure:
                    wm.kill()
                    if attempt == 2:
                        raise
        except BaseException:
            self.close()
            raise

    @staticmethod
    def _free_display():
        n = 90
        while os.path.exists(f"/tmp/.X{n}-lock") or os.path.exists(f"/tmp/.X11-unix/X{n}"):
            n += 1
        return f":{n}"

    def _spawn(self, args, **kw):
        p = subprocess.Popen(args, env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, **kw)
        self.procs.append(p)
        return p

    def _ok(self, args):
        return subprocess.run(args, env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0

    def _out(self, args):
        r = subprocess.run(args, env=self.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        return r.stdout

    @staticmethod
    def _wait_for(condition, timeout, message):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            value = condition()
            if value:
                return value
            time.sleep(0.05)
        raise Failure(message)

    # --- the program -------------------------------------------------------------
    def start(self, *args, extra_env=None):
        env = dict(self.env, **(extra_env or {}))
        self.app = subprocess.Popen([self.program, *args], env=env, stdout=subprocess.PIPE,
                                    stderr=subprocess.STDOUT, text=True)
        self.procs.append(self.app)
        return self.app

    def wait_exit(self, timeout=20):
        try:
            return self.app.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure("the program did not end")

    # --- windows -----------------------------------------------------------------
    def find_windows(self, title):
        out = self._out(["xdotool", "search", "--onlyvisible", "--name", f"^{re.escape(title)}$"])
        return [int(w) for w in out.split()]

    def wait_window(self, title, timeout=20):
        return self._wait_for(lambda: (self.find_windows(title) or [None])[0], timeout,
                              f"no visible window titled {title!r}")

    def wait_no_window(self, title, timeout=20):
        self._wait_for(lambda: not self.find_windows(title), timeout, f"window {title!r} is still visible")

    def geometry(self, wid):
        """The client window's position on the screen and its size."""
        out = self._out(["xwininfo", "-id", str(wid)])
        val = lambda key: int(re.search(rf"{key}:\s+(-?\d+)", out).group(1))
        return val("Absolute upper-left X"), val("Absolute upper-left Y"), val("Width"), val("Height")

    def frame_extents(self, wid):
        """Left, right, top, bottom frame sizes that the window manager added."""
        out = self._out(["xprop", "-id", str(wid), "_NET_FRAME_EXTENTS"])
        m = re.search(r"=\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+)", out)
        return tuple(int(v) for v in m.groups()) if m else (0, 0, 0, 0)

    def window_state(self, wid):
        return self._out(["xprop", "-id", str(wid), "_NET_WM_STATE"])

    def screen_size(self):
        out = self._out(["xdpyinfo"])
        m = re.search(r"dimensions:\s+(\d+)x(\d+)", out)
        return int(m.group(1)), int(m.group(2))

    # --- input -------------------------------------------------------------------
    def key(self, *keys, window=None):
        args = ["xdotool", "key"]
        if window is not None:
            args += ["--window", str(window)]
        subprocess.run(args + list(keys), env=self.env, check=True)

    def move(self, x, y):
        subprocess.run(["xdotool", "mousemove", "--sync", str(x), str(y)], env=self.env, check=True)

    def click(self, x=None, y=None):
        if x is not None:
            self.move(x, y)
        subprocess.run(["xdotool", "click", "1"], env=self.env, check=True)

    def activate(self, wid):
        subprocess.run(["xdotool", "windowactivate", "--sync", str(wid)], env=self.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    # --- pixels ------------------------------------------------------------------
    def screenshot(self, name):
        data = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"], env=self.env, stdout=subprocess.PIPE,
                              check=True).stdout
        subprocess.run(["convert", "ppm:-", os.path.join(self.shots, f"{name}.png")], input=data, check=True)
        return Image(data)

    def settle(self, condition, timeout=10, message="condition not reached"):
        return self._wait_for(condition, timeout, message)

    def close(self):
        for p in reversed(self.procs):
            if p.poll() is None:
                p.terminate()
                try:
                    p.wait(5)
                except subprocess.TimeoutExpired:
                    p.kill()


def run(scenario):
    program = sys.argv[1]
    try:
        session = Session(program)
    except Failure as e:
        print(f"FAILED: {e}")
        sys.exit(1)
    try:
        scenario(session)
    except Failure as e:
        print(f"FAILED: {e}")
        sys.exit(1)
    finally:
        session.close()
    print("PASSED")
