#!/usr/bin/env python3
"""The demo operator site: pages, content types, 404s, loopback only, game link."""

import re
import socket
import sys
import unittest
import urllib.error
import urllib.request

from harness import DemoSite, artifact_path


class DemoSiteTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.site = DemoSite(0, log_path=artifact_path("site.log")).__enter__()

    @classmethod
    def tearDownClass(cls):
        cls.site.close()

    def fetch(self, path, method="GET"):
        request = urllib.request.Request(self.site.url(path), method=method)
        try:
            with urllib.request.urlopen(request, timeout=5) as r:
                return r.status, r.headers, r.read()
        except urllib.error.HTTPError as error:
            return error.code, error.headers, error.read()

    def test_pages_and_content_types(self):
        cases = [
            ("/client", 200, "text/html; charset=utf-8"),
            ("/game?client=1&server=x", 200, "text/html; charset=utf-8"),
            ("/game?gameClient=pc", 200, "text/html; charset=utf-8"),
            ("/diag/external", 200, "text/html; charset=utf-8"),
            ("/diag/external-frame", 200, "text/html; charset=utf-8"),
            ("/diag/frame-nav", 200, "text/html; charset=utf-8"),
            ("/diag/frame-nav-frame", 200, "text/html; charset=utf-8"),
            ("/diag/tall", 200, "text/html; charset=utf-8"),
            ("/emblem.svg", 200, "image/svg+xml"),
            ("/", 404, "text/plain; charset=utf-8"),
            ("/client/", 404, "text/plain; charset=utf-8"),
            ("/nothing-here", 404, "text/plain; charset=utf-8"),
            ("/../server.py", 404, "text/plain; charset=utf-8"),
        ]
        for path, status, content_type in cases:
            with self.subTest(path=path):
                code, headers, body = self.fetch(path)
                self.assertEqual(code, status)
                self.assertEqual(headers["Content-Type"], content_type)
                self.assertEqual(int(headers["Content-Length"]), len(body))
                if status == 200 and content_type.startswith("text/html"):
                    self.assertEqual(headers["Cache-Control"], "no-store")
                    self.assertIn(b"<!DOCTYPE html>", body)
                    body.decode("utf-8")

    def test_head_has_headers_and_no_body(self):
        code, headers, body = self.fetch("/client", method="HEAD")
        self.assertEqual(code, 200)
        self.assertGreater(int(headers["Content-Length"]), 0)
        self.assertEqual(body, b"")

    def test_redirect_onto_a_game_address(self):
        class NoFollow(urllib.request.HTTPRedirectHandler):
            def redirect_request(self, *args):
                return None
        opener = urllib.request.build_opener(NoFollow)
        with self.assertRaises(urllib.error.HTTPError) as caught:
            opener.open(self.site.url("/diag/redirect-game"), timeout=5)
        self.assertEqual(caught.exception.code, 302)
        self.assertIn("client=1", caught.exception.headers["Location"])

    def test_listens_on_loopback_only(self):
        try:
            infos = socket.getaddrinfo(socket.gethostname(), None, socket.AF_INET)
        except socket.gaierror:
            infos = []
        addresses = {info[4][0] for info in infos if not info[4][0].startswith("127.")}
        with socket.create_connection(("127.0.0.1", self.site.port), timeout=2):
            pass
        # Another loopback address reaches only a socket bound to 0.0.0.0.
        for address in ["127.0.0.2"] + sorted(addresses):
            with self.subTest(address=address), self.assertRaises(OSError):
                socket.create_connection((address, self.site.port), timeout=2).close()

    def test_login_page_parts_and_game_link(self):
        page = self.fetch("/client")[2].decode("utf-8")
        self.assertIn('id="enter-game"', page)
        servers = re.findall(r'class="server[^"]*" data-server="([^"]+)"', page)
        self.assertGreaterEqual(len(servers), 4)
        self.assertEqual(len(servers), len(set(servers)))
        # The address the enter button navigates to, as the page's script builds it.
        self.assertRegex(page, r"'/game\?client=1&server=' \+ encodeURIComponent\(id\)")
        self.assertIn("window.location.href = gameUrl()", page)

    def test_pages_need_no_other_host(self):
        for path in ("/client", "/game", "/diag/external", "/diag/frame-nav", "/diag/tall"):
            with self.subTest(path=path):
                page = self.fetch(path)[2].decode("utf-8")
                self.assertIsNone(re.search(r'(src|href)\s*=\s*["\']?(https?:)?//', page))
                self.assertNotIn("@import", page)

    def test_reports_are_recorded(self):
        self.assertEqual(self.fetch("/diag/report?page=t&main=Wibble")[0], 204)
        self.assertIn("page=t&main=Wibble", self.site.reports())
        self.fetch("/client?probe=requests")
        self.assertIn("/client?probe=requests", self.site.requests())


class DemoSiteStartTest(unittest.TestCase):
    def test_port_in_use_fails_clearly(self):
        with DemoSite(0) as first:
            with self.assertRaises(RuntimeError) as caught:
                DemoSite(first.port).__enter__()
            self.assertIn(str(first.port), str(caught.exception))


if __name__ == "__main__":
    sys.exit(unittest.main())
