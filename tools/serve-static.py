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


class QuietServer(http.server.ThreadingHTTPServer):
    # A browser that closes a page mid-transfer is no error of the page's.
    def handle_error(self, request, client_address):
        if not isinstance(sys.exc_info()[1], (BrokenPipeError, ConnectionResetError)):
            super().handle_error(request, client_address)


handler = functools.partial(QuietHandler, directory=sys.argv[1])
server = QuietServer(("127.0.0.1", 0), handler)
print(server.server_address[1], flush=True)
server.serve_forever()
