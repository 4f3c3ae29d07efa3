"""Plays a packed Kiv site in headless Chromium (Debian's chromium, chromium-driver and
python3-selenium), served on 127.0.0.1 by Python's own web server: the browser test and the
web benchmark share it.

The page writes the game's trace to the browser's console with ?trace, one line per event,
"kiv-trace " and the desktop's JSON; Page.trace() reads what came since the last call.
"""

import functools
import http.server
import json
import os
import shutil
import socketserver
import tempfile
import threading
import time

CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"


class Missing(Exception):
    """A tool the browser test needs is not installed."""


def require_browser():
    for tool in (CHROMIUM, CHROMEDRIVER):
        if not os.path.exists(tool):
            raise Missing(f"{tool} is not installed (Debian packages chromium and chromium-driver)")
    try:
        import selenium  # noqa: F401
    except ImportError as e:
        raise Missing("selenium is not installed (Debian package python3-selenium)") from e


def skip_reason(site):
    """Why a test of the site in the browser cannot run here, or None."""
    try:
        require_browser()
    except Missing as e:
        return str(e)
    if not os.path.exists(os.path.join(site, "kiv-site.json")):
        return f"no site in {site} (./build.sh web makes it)"
    return None


def site_files(site):
    """The game's files as the site holds them: name -> bytes."""
    with open(os.path.join(site, "kiv-site.json"), encoding="utf-8") as f:
        meta = json.load(f)
    with open(os.path.join(site, meta["data"]), "rb") as f:
        data = f.read()
    return {e["path"][5:]: data[e["offset"]:e["offset"] + e["size"]]
            for e in meta["files"] if e["path"].startswith("game/")}


class _Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


class Server:
    """A static web server for one folder on 127.0.0.1, on a free port, in a thread of its own."""

    def __init__(self, folder):
        handler = functools.partial(_Quiet, directory=folder)
        socketserver.TCPServer.allow_reuse_address = True
        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self.url = f"http://127.0.0.1:{self.httpd.server_address[1]}/"
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()

    def close(self):
        self.httpd.shutdown()
        self.httpd.server_close()


class Page:
    """Headless Chromium on a fresh profile; the canvas, the console and the DevTools protocol."""

    def __init__(self, width=1000, height=760):
        require_browser()
        from selenium import webdriver
        from selenium.webdriver.chrome.service import Service

        self.profile = tempfile.mkdtemp(prefix="kiv-chromium-")
        opts = webdriver.ChromeOptions()
        opts.binary_location = CHROMIUM
        for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                     "--disable-background-networking", "--disable-component-update", "--disable-sync",
                     "--autoplay-policy=no-user-gesture-required", f"--window-size={width},{height}",
                     f"--user-data-dir={self.profile}"):
            opts.add_argument(flag)
        opts.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        self.driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=opts)
        self.pending = []
        self.events = []
        self.seen = 0  # events before this one were looked at by wait()

    def close(self):
        try:
            self.driver.quit()
        finally:
            shutil.rmtree(self.profile, ignore_errors=True)

    def open(self, url):
        self.pending, self.events, self.seen = [], [], 0
        self.driver.get(url)

    def console(self):
        """The console's messages since the last call, as text."""
        out = []
        for entry in self.driver.get_log("browser"):
            msg = entry.get("message", "")
            # "URL LINE:COL "text"": the text is a JSON string when it is one argument.
            q = msg.find(' "')
            if q >= 0:
                try:
                    out.append(json.loads(msg[q + 1:]))
                    continue
                except ValueError:
                    pass
            out.append(msg)
        return out

    def trace(self):
        """The trace events that arrived since the last call (all of them are kept in .events)."""
        new = []
        for text in self.console():
            if text.startswith("kiv-trace "):
                new.append(json.loads(text[len("kiv-trace "):]))
            else:
                self.pending.append(text)
        self.events.extend(new)
        return new

    def wait(self, test, timeout=60, what="the game"):
        """Reads the trace until test(event) holds for an event after the one the last wait
        returned; returns that event."""
        end = time.time() + timeout
        while time.time() < end:
            self.trace()
            while self.seen < len(self.events):
                ev = self.events[self.seen]
                self.seen += 1
                if test(ev):
                    return ev
            time.sleep(0.05)
        raise AssertionError(f"timed out waiting for {what}; last events: {self.events[-3:]}; "
                             f"console: {self.pending[-5:]}")

    def wait_frame(self, scene, step=None, timeout=60):
        return self.wait(lambda e: e.get("ev") == "frame" and e["scene"] == scene and
                         (step is None or e["sc"][1] >= step), timeout, f"scene {scene} step {step}")

    def canvas_box(self):
        """The canvas on the page: left, top, CSS width and height, and its own width and height."""
        return self.driver.execute_script(
            "const c = document.getElementById('canvas'); const r = c.getBoundingClientRect();"
            "return [r.left, r.top, r.width, r.height, c.width, c.height];")

    def _mouse(self, kind, x, y, button=0):
        """A mouse event at game pixel (x, y), through the DevTools protocol at its CSS point."""
        left, top, w, h, cw, ch = self.canvas_box()
        sx, sy = w / cw, h / ch
        names = {0: "left", 1: "middle", 2: "right"}
        params = {"type": kind, "x": left + (x + 0.5) * sx, "y": top + (y + 0.5) * sy,
                  "button": names[button] if kind != "mouseMoved" else "none", "clickCount": 1}
        if kind == "mouseMoved" and self._held is not None:
            params["button"] = names[self._held]
        self.driver.execute_cdp_cmd("Input.dispatchMouseEvent", params)

    _held = None

    def press(self, x, y, button=0):
        self._mouse("mouseMoved", x, y)
        self._held = button
        self._mouse("mousePressed", x, y, button)

    def move(self, x, y):
        self._mouse("mouseMoved", x, y)

    def release(self, x, y, button=0):
        self._mouse("mouseReleased", x, y, button)
        self._held = None

    def click(self, x, y, button=0):
        self.press(x, y, button)
        time.sleep(0.03)
        self.release(x, y, button)

    def key(self, code, key, vk):
        for kind in ("rawKeyDown", "keyUp"):
            self.driver.execute_cdp_cmd("Input.dispatchKeyEvent", {
                "type": kind, "code": code, "key": key, "windowsVirtualKeyCode": vk})

    def screenshot(self, path):
        self.driver.save_screenshot(path)
