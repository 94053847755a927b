#!/usr/bin/env python3
"""The launcher starts, shows its login window, and ends with exit code 0 when
that window is asked to close."""

import sys
import unittest

from harness import WINDOW_TITLE, DemoSite, Desktop, Launcher, artifact_path


class StartupTest(unittest.TestCase):
    def test_login_window_maps_and_close_ends_the_program(self):
        with Desktop() as desk, DemoSite.for_login_url(log_path=artifact_path("site.log")), \
                Launcher(desk) as app:
            try:
                wid = app.wait_for_window(WINDOW_TITLE, 30)
            except TimeoutError as error:
                desk.screenshot(artifact_path("no-window.png"))
                self.fail(str(error))
            self.assertTrue(desk.geometry(wid).viewable)

            desk.close_window(wid)
            code = app.wait(15)
            if code is None:
                desk.screenshot(artifact_path("still-running.png"))
            self.assertIsNotNone(code, "the launcher was still running 15 s after the close "
                                       f"request\nlauncher log:\n{app.log_tail()}")
            self.assertEqual(code, 0, f"launcher log:\n{app.log_tail()}")
            self.assertFalse(desk.find_windows(WINDOW_TITLE), "a login window is still shown")


if __name__ == "__main__":
    sys.exit(unittest.main())
