#!/usr/bin/env python3
"""Serves one folder on 127.0.0.1 at a port the system picks, and prints
that port on the first line; for the page's tests and timings.
    tools/serve-static.py FOLDER"""
import functools
import http.server
import sys


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


handler = functools.partial(QuietHandler, directory=sys.argv[1])
server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
print(server.server_address[1], flush=True)
server.serve_forever()
