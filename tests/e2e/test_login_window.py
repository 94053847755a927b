#!/usr/bin/env python3
"""The login side on the real desktop: the shaped login window with the login page in its
frame, the hand-off to the game window, dragging, and quitting after confirmation."""

import sys
import time
import unittest

from harness import WINDOW_TITLE, DemoSite, Desktop, Launcher, artifact_path

ART_W, ART_H = 1334, 725
PAGE = (560, 177, 631, 446)          # the login page inside the artwork
ENTER_GAME = (140, 283)              # "进入游戏" inside the page
CLOSE_BUTTON = (1208 + 27, 115 + 27)  # the round close button's centre
MINIMIZE_BUTTON = (1173 + 19, 137 + 19)
FIGURE = (330, 330)                  # an opaque pixel of the figure
BACKGROUND = (0x40, 0x60, 0x80)


def wait_until(predicate, timeout, interval=0.2):
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value or time.monotonic() >= deadline:
            return value
        time.sleep(interval)


class LoginWindowTest(unittest.TestCase):
    def start(self, desk, site):
        app = Launcher(desk)
        app.__enter__()
        self.addCleanup(app.__exit__, None, None, None)
        wid = app.wait_for_window(WINDOW_TITLE, 30)
        # The page is in place once the site has served it and the view has painted.
        wait_until(lambda: "/client" in site.requests(), 20)
        time.sleep(2)
        return app, wid

    def test_artwork_page_and_hand_off(self):
        with Desktop(compositor=True) as desk, DemoSite.for_login_url(log_path=artifact_path("site.log")) as site:
            app, wid = self.start(desk, site)
            g = desk.geometry(wid)
            self.assertEqual((g.width, g.height), (ART_W, ART_H))
            # Centred in the work area (the whole screen here), as the centre less half the size.
            self.assertEqual((g.x, g.y), (desk.width // 2 - ART_W // 2, desk.height // 2 - ART_H // 2))

            desk.screenshot(artifact_path("login-window.png"))
            screen = desk.grab()
            # Outside the figure and the frame the desktop shows through.
            self.assertEqual(screen.pixel(g.x + 5, g.y + 5), BACKGROUND)
            self.assertEqual(screen.pixel(g.x + ART_W - 5, g.y + 5), BACKGROUND)
            self.assertEqual(screen.pixel(g.x + ART_W - 5, g.y + ART_H - 5), BACKGROUND)
            # The figure is drawn, and the page shows inside the frame (not the frame's near-black).
            self.assertNotEqual(screen.pixel(g.x + FIGURE[0], g.y + FIGURE[1]), BACKGROUND)
            page_pixels = {screen.pixel(g.x + PAGE[0] + dx, g.y + PAGE[1] + dy)
                           for dx in range(20, PAGE[2], 60) for dy in range(20, PAGE[3], 60)}
            self.assertTrue(any(sum(p) > 120 for p in page_pixels), f"no page content in the frame: {page_pixels}")

            # The page's enter-game control hands off to the game window on exactly that URL.
            desk.click(g.x + PAGE[0] + ENTER_GAME[0], g.y + PAGE[1] + ENTER_GAME[1])
            game = wait_until(lambda: [w for w in desk.find_windows(WINDOW_TITLE) if w != wid], 20)
            self.assertTrue(game, f"no game window; windows: {desk.describe_windows()}\n{app.log_tail()}")
            self.assertTrue(wait_until(lambda: not desk.geometry(wid).viewable, 10), "the login window stays shown")
            game_requests = wait_until(lambda: [r for r in site.requests() if r.startswith("/game?")], 20)
            self.assertEqual(len(game_requests), 1, game_requests)
            self.assertIn("client=1", game_requests[0])
            time.sleep(2)
            desk.screenshot(artifact_path("game-window.png"))

    def test_drag_moves_panel_and_confirmed_close_ends_with_16(self):
        with Desktop(compositor=True) as desk, DemoSite.for_login_url(log_path=artifact_path("site2.log")) as site:
            app, wid = self.start(desk, site)
            before = desk.geometry(wid)
            start = (before.x + FIGURE[0], before.y + FIGURE[1])
            desk.run(["xdotool", "mousemove", str(start[0]), str(start[1]), "mousedown", "1"])
            for step in range(1, 11):
                desk.run(["xdotool", "mousemove", str(start[0] - 6 * step), str(start[1] - 4 * step)])
                time.sleep(0.05)
            desk.run(["xdotool", "mouseup", "1"])
            moved = wait_until(lambda: desk.geometry(wid).x != before.x, 5)
            self.assertTrue(moved, "the artwork did not move")
            after = desk.geometry(wid)
            time.sleep(1)
            shot = desk.grab()
            # The page moved with the artwork: still inside the frame at the new place.
            desk.screenshot(artifact_path("after-drag.png"))
            inside = shot.pixel(after.x + PAGE[0] + 300, after.y + PAGE[1] + 200)
            self.assertNotEqual(inside, BACKGROUND)

            # Close asks first; confirming ends the program with 16.
            desk.click(after.x + CLOSE_BUTTON[0], after.y + CLOSE_BUTTON[1])
            dialog = wait_until(lambda: [w for w in app.windows()
                                         if (desk.geometry(w).width, desk.geometry(w).height) == (256, 110)], 10)
            self.assertTrue(dialog, f"no confirmation dialog; windows: {desk.describe_windows()}")
            d = desk.geometry(dialog[0])
            desk.screenshot(artifact_path("confirm.png"))
            desk.click(d.x + 40 + 37, d.y + 72 + 13)
            code = app.wait(15)
            self.assertEqual(code, 16, app.log_tail())

    def test_minimise_takes_the_page_along_and_restore_brings_it_back(self):
        with Desktop(compositor=True) as desk, DemoSite.for_login_url(log_path=artifact_path("site3.log")) as site:
            app, wid = self.start(desk, site)
            g = desk.geometry(wid)
            panels = [w for w in app.windows() if w != wid]
            self.assertEqual(len(panels), 1, desk.describe_windows())
            desk.click(g.x + MINIMIZE_BUTTON[0], g.y + MINIMIZE_BUTTON[1])
            iconic = lambda: "Iconic" in desk.run(["xprop", "-id", str(wid), "WM_STATE"], check=False).stdout
            self.assertTrue(wait_until(iconic, 10), "the login window was not minimised")
            self.assertTrue(wait_until(lambda: not desk.geometry(panels[0]).viewable, 10),
                            "the login page stayed on screen")
            desk.run(["wmctrl", "-i", "-a", hex(wid)])  # the taskbar's restore
            self.assertTrue(wait_until(lambda: desk.geometry(panels[0]).viewable, 10),
                            "the login page did not come back")
            time.sleep(1)
            page = desk.grab().pixel(g.x + PAGE[0] + 300, g.y + PAGE[1] + 200)
            self.assertNotEqual(page, BACKGROUND)


if __name__ == "__main__":
    sys.exit(unittest.main())
