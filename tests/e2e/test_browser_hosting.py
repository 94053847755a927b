#!/usr/bin/env python3
"""Pages in the launcher's browser on the real desktop: window.external in the page and in a
frame, no context menu, no scroll bars, and a frame's game address or a redirect onto one stopped
before it loads and handed to the game window."""

import sys
import time
import unittest
from urllib.parse import parse_qs

from harness import WINDOW_TITLE, DemoSite, Desktop, Launcher, artifact_path

PAGE = (560, 177, 631, 446)  # the login page inside the login window: x, y, width, height
PASS_GREEN = (0x1F, 0x9D, 0x3A)
TALL_BLUE = (0x3A, 0x6E, 0xA5)


def wait_until(predicate, timeout, interval=0.2):
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value or time.monotonic() >= deadline:
            return value
        time.sleep(interval)


def close_to(a, b, tolerance=6):
    return all(abs(x - y) <= tolerance for x, y in zip(a, b))


class BrowserHostingTest(unittest.TestCase):
    def start(self, desk, site):
        app = Launcher(desk, log_path=artifact_path(f"{self._testMethodName}-launcher.log"))
        app.__enter__()
        self.addCleanup(app.__exit__, None, None, None)
        wid = app.wait_for_window(WINDOW_TITLE, 30)
        return app, wid

    def report(self, site, page, timeout=30):
        """The first report of a diagnostic page, as a dict of its values."""
        def find():
            for line in site.reports():
                values = {k: v[0] for k, v in parse_qs(line, keep_blank_values=True).items()}
                if values.get("page") == page:
                    return values
            return None

        return wait_until(find, timeout, 0.3)

    def page_origin(self, desk, wid):
        g = desk.geometry(wid)
        return g.x + PAGE[0], g.y + PAGE[1]

    def viewable_top_windows(self, desk):
        """Ids of the root window's mapped children (menus included: they are override-redirect)."""
        out = desk.run(["xwininfo", "-root", "-children"]).stdout
        ids = [int(line.split()[0], 16) for line in out.splitlines()
               if line.strip().startswith("0x")]
        viewable = set()
        for wid in ids:
            info = desk.run(["xwininfo", "-id", str(wid)], check=False).stdout
            if "IsViewable" in info:
                viewable.add(wid)
        return viewable

    def test_external_in_page_and_frame_and_no_context_menu(self):
        with Desktop(compositor=True) as desk, \
                DemoSite.for_login_url(log_path=artifact_path("external-site.log"),
                                       client_page="/diag/external") as site:
            app, wid = self.start(desk, site)
            result = self.report(site, "external")
            self.assertIsNotNone(result, f"the page reported nothing\n{app.log_tail()}")
            # The page's script and the frame's both read the property and fail on another name.
            self.assertEqual(result["main"], "Wibble", result)
            self.assertEqual(result["frame"], "Wibble", result)
            self.assertEqual(result["nope"], "threw", result)
            self.assertEqual(result["frame_nope"], "threw", result)
            self.assertEqual(result["assign"], "ok", result)
            self.assertEqual(result["frame_assign"], "ok", result)
            self.assertEqual(result["verdict"], "pass", result)

            # The verdict colours the page green; it is on screen inside the login window.
            x0, y0 = self.page_origin(desk, wid)
            probe = (x0 + PAGE[2] - 20, y0 + PAGE[3] - 20)
            self.assertTrue(wait_until(lambda: close_to(desk.pixel(*probe), PASS_GREEN), 10),
                            f"page not shown green at {probe}: {desk.pixel(*probe)}")

            # A right click in the page opens no menu: no new window, the page looks the same.
            before = self.viewable_top_windows(desk)
            click = (x0 + PAGE[2] // 2, y0 + PAGE[3] - 60)
            desk.click(*click, button=3)
            time.sleep(1.5)
            desk.screenshot(artifact_path("after-right-click.png"))
            appeared = self.viewable_top_windows(desk) - before
            self.assertEqual(appeared, set(), "a window appeared after the right click")
            screen = desk.grab()
            off = [(dx, dy) for dx in range(0, 200, 10) for dy in range(-20, 60, 10)
                   if not close_to(screen.pixel(click[0] + dx, click[1] + dy), PASS_GREEN)]
            self.assertEqual(off, [], "something was drawn over the page at the right click")
            desk.key("Escape")

    def test_frame_game_address_stopped_and_handed_to_game_window(self):
        with Desktop(compositor=True) as desk, \
                DemoSite.for_login_url(log_path=artifact_path("frame-site.log"),
                                       client_page="/diag/frame-nav") as site:
            app, wid = self.start(desk, site)
            game_url = "/game?client=1&server=frame-test"
            game = wait_until(lambda: [w for w in desk.find_windows(WINDOW_TITLE) if w != wid], 30)
            self.assertTrue(game, f"no game window; windows: {desk.describe_windows()}\n{app.log_tail()}")
            result = self.report(site, "frame-nav")
            self.assertIsNotNone(result, f"the page reported nothing\n{app.log_tail()}")
            # The frame stayed where it was and loaded once: its navigation never happened.
            self.assertEqual(result["frame_path"], "/diag/frame-nav-frame", result)
            self.assertEqual(result["frame_loads"], "1", result)
            # The game address was fetched once, by the game window.
            time.sleep(1)
            self.assertEqual([r for r in site.requests() if r.startswith("/game")], [game_url])
            desk.screenshot(artifact_path("frame-hand-off.png"))

    def test_redirect_to_game_address_stopped_and_handed_to_game_window(self):
        # /client answers with a redirect onto a game address: the redirect itself must be asked
        # about, stopped, and opened in the game window.
        with Desktop(compositor=True) as desk, \
                DemoSite.for_login_url(log_path=artifact_path("redirect-site.log"),
                                       client_page="/diag/redirect-game") as site:
            # The site's own start-up check fetched /client and followed the redirect already.
            earlier = len(site.requests())
            app, wid = self.start(desk, site)
            game = wait_until(lambda: [w for w in desk.find_windows(WINDOW_TITLE) if w != wid], 30)
            self.assertTrue(game, f"no game window; windows: {desk.describe_windows()}\n{app.log_tail()}")
            time.sleep(2)
            # The game address was fetched once, by the game window: the login page never loaded it.
            self.assertEqual([r for r in site.requests()[earlier:] if r.startswith("/game")],
                             ["/game?client=1&server=redirect-test"])
            self.assertTrue(app.running(), app.log_tail())

    def test_no_scroll_bars_and_the_page_still_scrolls(self):
        with Desktop(compositor=True) as desk, \
                DemoSite.for_login_url(log_path=artifact_path("tall-site.log"),
                                       client_page="/diag/tall") as site:
            app, wid = self.start(desk, site)
            x0, y0 = self.page_origin(desk, wid)
            self.assertTrue(wait_until(lambda: close_to(desk.pixel(x0 + 300, y0 + 200), TALL_BLUE), 20),
                            f"the tall page is not shown\n{app.log_tail()}")
            time.sleep(1)
            desk.screenshot(artifact_path("tall-top.png"))
            screen = desk.grab()
            # The right and bottom edges are page colour all along: no scroll bar.
            for x in range(PAGE[2] - 20, PAGE[2]):
                for y in range(10, PAGE[3] - 10, 15):
                    self.assertTrue(close_to(screen.pixel(x0 + x, y0 + y), TALL_BLUE),
                                    f"not page colour at ({x}, {y}) in the page: {screen.pixel(x0 + x, y0 + y)}")
            top_text = self.text_pixels(screen, x0, y0 + 5)
            self.assertGreater(top_text, 0, "no 'top' mark at the top of the page")

            # Keys still scroll: End brings the bottom mark into view and the top one out.
            desk.click(x0 + 300, y0 + 200)
            desk.key("End")
            def scrolled():
                s = desk.grab()
                return self.text_pixels(s, x0, y0 + 5) == 0 and \
                    self.text_pixels(s, x0, y0 + PAGE[3] - 30) > 0
            self.assertTrue(wait_until(scrolled, 10), "End did not scroll the page")
            desk.screenshot(artifact_path("tall-bottom.png"))

    @staticmethod
    def text_pixels(screen, x0, y):
        """White text pixels in a 25-pixel band starting at y, left part of the page."""
        return sum(1 for dx in range(5, 200) for dy in range(0, 25)
                   if min(screen.pixel(x0 + dx, y + dy)) > 200)


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], "-v"] + sys.argv[1:])
