"""Serves one file for every GET, padded with zero bytes to a given size and
sent slowly in chunks, so that a download's progress can be watched. Logs
each request path to the given log file. Usage:
    slow_server.py <port> <file> <padded size> <seconds between chunks> <log>"""
import http.server
import sys
import time

port, path, padded, pause, log = int(sys.argv[1]), sys.argv[2], int(sys.argv[3]), float(sys.argv[4]), sys.argv[5]
with open(path, "rb") as f:
    body = f.read()
body += b"\0" * max(0, padded - len(body))
chunks = 20


class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        with open(log, "a") as out:
            out.write(self.path + "\n")
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Cache-Control", "no-store")
        self.end_headers()
        step = (len(body) + chunks - 1) // chunks
        for start in range(0, len(body), step):
            self.wfile.write(body[start:start + step])
            self.wfile.flush()
            time.sleep(pause)

    def log_message(self, *args):
        pass


http.server.ThreadingHTTPServer(("127.0.0.1", port), Handler).serve_forever()
