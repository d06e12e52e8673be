#!/usr/bin/env python3
"""A TCP proxy in front of a print service (IPP over HTTP) that passes every
request until the first one of a given IPP operation, and from then on answers
nothing more, on any connection: it goes on reading what the client sends and
throws it away, so that the client waits for an answer that never comes.

    stalling_ipp_proxy.py UPSTREAM_HOST:PORT OPERATION [SECONDS]

OPERATION is an IPP operation code in hex (0006 Send-Document, 000b
Get-Printer-Attributes). The proxy listens on 127.0.0.1 at a free port, prints
"127.0.0.1:PORT" on a line of its own once it listens, and ends after SECONDS
(60 unless given) or when its standard input closes.
"""

import re
import select
import socket
import sys
import time

# The start of an IPP request body: after the header's blank line, perhaps
# after a chunk's size line, the version (1.x or 2.x) and the operation.
def request_pattern(operation):
    return re.compile(rb"\r\n\r\n(?:[0-9a-fA-F]+\r\n)?[\x01\x02][\x00-\x02]" + re.escape(operation))


def main():
    upstream_host, upstream_port = sys.argv[1].rsplit(":", 1)
    pattern = request_pattern(bytes.fromhex(sys.argv[2]))
    seconds = float(sys.argv[3]) if len(sys.argv) > 3 else 60.0

    listener = socket.socket()
    listener.bind(("127.0.0.1", 0))
    listener.listen(16)
    print("127.0.0.1:%d" % listener.getsockname()[1], flush=True)

    peer_of = {}  # socket -> the socket on the other side
    from_client = set()
    seen = {}  # client socket -> the last bytes it sent, for a pattern split between reads
    held = []  # connections kept open, unanswered, once stalled
    stalled = False
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        readable, _, _ = select.select([listener, sys.stdin] + list(peer_of), [], [], 0.1)
        for sock in readable:
            if sock is sys.stdin:
                if not sys.stdin.buffer.read1(4096):
                    return
                continue
            if sock is listener:
                client, _ = listener.accept()
                server = socket.create_connection((upstream_host, int(upstream_port)))
                peer_of[client], peer_of[server] = server, client
                from_client.add(client)
                seen[client] = b""
                continue
            if sock not in peer_of:
                continue
            try:
                data = sock.recv(65536)
            except OSError:
                data = b""
            if not data:
                other = peer_of.pop(sock)
                peer_of.pop(other, None)
                from_client.discard(sock)
                from_client.discard(other)
                if stalled:
                    held.append((sock, other))
                else:
                    sock.close()
                    other.close()
                continue
            if sock in from_client and not stalled:
                window = seen[sock] + data
                if pattern.search(window):
                    stalled = True
                    print("stalled", flush=True)
                seen[sock] = window[-64:]
            if not stalled:
                peer_of[sock].sendall(data)


if __name__ == "__main__":
    main()
