#!/usr/bin/env python3
"""Demo operator site: the login page the launcher shows, the game page it hands
off to, and diagnostic pages for the end-to-end tests.

Standard library only, so it runs on any python3 >= 3.9 without a virtualenv.
Listens on 127.0.0.1 only. Prints one line "PORT <n>" on stdout once it accepts
connections.
"""

import argparse
import os
import signal
import sys
import threading
from http import HTTPStatus
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from pathlib import Path
from urllib.parse import urlsplit

PAGES_DIR = Path(__file__).resolve().parent / "pages"

HTML = "text/html; charset=utf-8"
SVG = "image/svg+xml"
CSS = "text/css; charset=utf-8"
JS = "application/javascript; charset=utf-8"
TEXT = "text/plain; charset=utf-8"

# Path -> (file under pages/, content type). Paths have no extension, so the
# type is given here rather than guessed from the name.
ROUTES = {
    "/client": ("client.html", HTML),
    "/game": ("game.html", HTML),
    "/emblem.svg": ("emblem.svg", SVG),
    "/diag/external": ("diag_external.html", HTML),
    "/diag/external-frame": ("diag_external_frame.html", HTML),
    "/diag/frame-nav": ("diag_frame_nav.html", HTML),
    "/diag/frame-nav-frame": ("diag_frame_nav_frame.html", HTML),
    "/diag/tall": ("diag_tall.html", HTML),
}

# A server-side hop onto a game address: the browser sees the game URL only as
# a redirect, which a host that cancels it must handle without an error page.
REDIRECTS = {
    "/diag/redirect-game": "/game?client=1&server=redirect-test",
}

# Reports posted by diagnostic pages and the paths requested so far, kept for
# tests that cannot read a page's title from outside the browser.
MAX_RECORDS = 1000


class SiteState:
    def __init__(self):
        self.lock = threading.Lock()
        self.reports = []
        self.requests = []

    def add(self, records, item):
        with self.lock:
            records.append(item)
            del records[:-MAX_RECORDS]

    def snapshot(self, records):
        with self.lock:
            return list(records)


class DemoSiteHandler(BaseHTTPRequestHandler):
    server_version = "BrelvoDemoSite/1.0"
    protocol_version = "HTTP/1.1"

    def do_GET(self):
        self.respond(send_body=True)

    def do_HEAD(self):
        self.respond(send_body=False)

    def respond(self, send_body):
        state = self.server.state
        parts = urlsplit(self.path)
        path = parts.path
        if not path.startswith("/diag/report") and path != "/diag/requests":
            state.add(state.requests, self.path)

        if path == "/client" and self.server.client_page:
            path = self.server.client_page
        if path in ROUTES:
            name, content_type = ROUTES[path]
            try:
                body = (PAGES_DIR / name).read_bytes()
            except OSError as error:
                self.send_text(HTTPStatus.INTERNAL_SERVER_ERROR,
                               f"cannot read page {name}: {error.strerror}\n", send_body)
                return
            self.send_body(HTTPStatus.OK, content_type, body, send_body)
        elif path in REDIRECTS:
            self.send_response(HTTPStatus.FOUND)
            self.send_header("Location", REDIRECTS[path])
            self.send_header("Content-Length", "0")
            self.send_header("Cache-Control", "no-store")
            self.end_headers()
        elif path == "/diag/report":
            state.add(state.reports, parts.query)
            self.send_response(HTTPStatus.NO_CONTENT)
            self.send_header("Cache-Control", "no-store")
            self.end_headers()
        elif path == "/diag/reports":
            self.send_text(HTTPStatus.OK, "".join(r + "\n" for r in state.snapshot(state.reports)),
                           send_body)
        elif path == "/diag/requests":
            self.send_text(HTTPStatus.OK, "".join(r + "\n" for r in state.snapshot(state.requests)),
                           send_body)
        else:
            self.send_text(HTTPStatus.NOT_FOUND, "404 not found\n", send_body)

    def send_text(self, status, text, send_body):
        self.send_body(status, TEXT, text.encode("utf-8"), send_body)

    def send_body(self, status, content_type, body, send_body):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        # Pages change while developing and the launcher's refresh must reload them.
        self.send_header("Cache-Control", "no-store")
        self.end_headers()
        if send_body:
            self.wfile.write(body)

    def log_message(self, format, *args):
        if self.server.verbose:
            sys.stderr.write("demo_site: %s - %s\n" % (self.address_string(), format % args))


class DemoSiteServer(ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, port, verbose, client_page=None):
        super().__init__(("127.0.0.1", port), DemoSiteHandler)
        self.state = SiteState()
        self.verbose = verbose
        # Another page served at /client, the address a launcher build shows first.
        self.client_page = client_page


def write_port_file(path, port):
    # Written whole under a temporary name so a reader never sees a partial number.
    temp = f"{path}.tmp{os.getpid()}"
    with open(temp, "w", encoding="ascii") as f:
        f.write(f"{port}\n")
    os.replace(temp, path)


def main(argv=None):
    parser = argparse.ArgumentParser(description="Demo operator site for the Brelvo launcher.")
    parser.add_argument("--port", type=int, default=8645,
                        help="TCP port on 127.0.0.1 (0 picks a free one; default 8645)")
    parser.add_argument("--port-file", help="also write the port number to this file")
    parser.add_argument("--verbose", action="store_true", help="log every request to stderr")
    parser.add_argument("--client-page", metavar="PATH",
                        help="serve this page (a path such as /diag/external) at /client too, so "
                             "a launcher built for this site shows it in its login panel")
    args = parser.parse_args(argv)
    if not 0 <= args.port <= 65535:
        parser.error(f"port {args.port} is out of range 0..65535")
    client_page = None
    if args.client_page is not None:
        client_page = "/" + args.client_page.lstrip("/")
        if client_page not in ROUTES and client_page not in REDIRECTS:
            parser.error(f"--client-page {args.client_page}: no such page; pages: "
                         + ", ".join(sorted([*ROUTES, *REDIRECTS])))

    try:
        server = DemoSiteServer(args.port, args.verbose, client_page)
    except OSError as error:
        sys.stderr.write(f"demo_site: cannot listen on 127.0.0.1:{args.port}: {error.strerror}\n")
        return 1
    port = server.server_address[1]

    stop = threading.Event()
    for sig in (signal.SIGTERM, signal.SIGINT):
        signal.signal(sig, lambda *_: stop.set())

    # serve_forever runs on a worker so the main thread can wait for a signal and
    # call shutdown(), which would block forever if called from the serving thread.
    worker = threading.Thread(target=server.serve_forever, args=(0.2,), name="demo-site",
                              daemon=True)
    worker.start()
    if args.port_file:
        write_port_file(args.port_file, port)
    sys.stdout.write(f"PORT {port}\n")
    sys.stdout.flush()

    while not stop.wait(0.2):
        pass
    server.shutdown()
    server.server_close()
    worker.join()
    return 0


if __name__ == "__main__":
    sys.exit(main())
