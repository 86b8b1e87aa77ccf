#!/usr/bin/python3
"""A test image host: Python's standard XML-RPC server on 127.0.0.1 at a free port.

Serves "apiXml.xmlrpcUpload" at "/apiXml.php", records every request into a
JSON file and answers from a chosen scenario. Prints the port on stdout once it
listens.

    image_host.py --record FILE [--scenario NAME] [--id ID]

The scenario may also come from IMAGE_HOST_SCENARIO. Scenarios answered by the
standard dispatcher (so a call it cannot read gets its fault):
  success         one string, the id (default "Xy12_ab-3.z")
  fault-int       fault with an integer code (42, "Bad picture")
  fault-string    fault with a string code ("E_FULL", "Quota exceeded")
  int-value       one returned integer
Scenarios written by hand, since no XML-RPC server would send them:
  zero            methodResponse with no returned value
  two             two returned strings
  http-404, http-500, http-503, http-301   that HTTP status with an HTML body
  malformed       XML with mismatched tags
  truncated       an XML answer cut in the middle (Content-Length matches)
  empty           status 200 with an empty body
  chunked         the success answer sent with Transfer-Encoding: chunked
  close           reads the request and closes without answering
  hang            reads the request and never answers
  huge            a success answer padded beyond 2 MB
"""
import argparse
import base64
import hashlib
import json
import os
import socket
import threading
import time
import xml.etree.ElementTree as ET
import xmlrpc.client
from socketserver import ThreadingMixIn
from xmlrpc.server import SimpleXMLRPCRequestHandler, SimpleXMLRPCServer

PATH = "/apiXml.php"
METHOD = "apiXml.xmlrpcUpload"
DISPATCHED = {"success", "fault-int", "fault-string", "int-value"}


class Host(ThreadingMixIn, SimpleXMLRPCServer):
    daemon_threads = True
    allow_reuse_address = True

    def handle_error(self, request, client_address):
        pass  # clients that give up (closed, huge, hang) are expected here


def params_of(body):
    """Method name and [(type, value)] of an XML-RPC call, types as written
    (the dispatcher reads an untyped value and a <string> alike)."""
    root = ET.fromstring(body)
    method = root.findtext("methodName")
    params = []
    for value in root.findall("./params/param/value"):
        children = list(value)
        if not children:
            params.append(("none", value.text or ""))
        else:
            params.append((children[0].tag, children[0].text or ""))
    return method, params


def upload(server):
    def apiXml_xmlrpcUpload(*params):
        if len(params) != 5 or not all(isinstance(p, str) for p in params):
            raise xmlrpc.client.Fault(-32602, "expected five strings")
        try:
            base64.b64decode(params[0], validate=True)
        except ValueError:
            raise xmlrpc.client.Fault(-32602, "the picture is not base64")
        s = server.scenario
        if s == "fault-int":
            raise xmlrpc.client.Fault(42, "Bad picture")
        if s == "fault-string":
            raise xmlrpc.client.Fault("E_FULL", "Quota exceeded")
        if s == "int-value":
            return 42
        return server.id
    return apiXml_xmlrpcUpload


class Handler(SimpleXMLRPCRequestHandler):
    rpc_paths = (PATH,)
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def record(self, entry):
        server = self.server
        with server.lock:
            server.records.append(entry)
            tmp = server.record_path + ".tmp"
            with open(tmp, "w", encoding="utf-8") as f:
                json.dump(server.records, f, ensure_ascii=False, indent=1)
            os.replace(tmp, server.record_path)

    def send(self, status, body, ctype="text/xml", extra=()):
        self.send_response(status)
        self.send_header("Content-Type", ctype)
        self.send_header("Content-Length", str(len(body)))
        for k, v in extra:
            self.send_header(k, v)
        self.end_headers()
        self.wfile.write(body)

    def do_POST(self):
        length = int(self.headers.get("Content-Length", "0"))
        body = self.rfile.read(length) if length else b""
        entry = {
            "path": self.path,
            "headers": {k: v for k, v in self.headers.items()},
            "header_names": [k.lower() for k in self.headers.keys()],
            "body_length": len(body),
        }
        try:
            method, params = params_of(body)
            entry["method"] = method
            entry["params"] = [{"type": t, "value": v if i > 0 else None} for i, (t, v) in enumerate(params)]
            if params:
                data = base64.b64decode(params[0][1], validate=True)
                entry["file_length"] = len(data)
                entry["file_sha256"] = hashlib.sha256(data).hexdigest()
                entry["b64_has_newline"] = "\n" in params[0][1]
        except Exception as e:  # recorded; the dispatcher answers it with a fault
            entry["parse_error"] = str(e)
        self.record(entry)

        if not self.is_rpc_path_valid():
            return self.report_404()
        s = self.server.scenario
        if s in DISPATCHED or "parse_error" in entry or entry.get("method") != METHOD:
            return self.send(200, self.server._marshaled_dispatch(body, None, self.path))
        self.answer(s)

    def answer(self, s):
        ok = xmlrpc.client.dumps((self.server.id,), methodresponse=True).encode()
        if s == "zero":
            return self.send(200, b"<?xml version='1.0'?><methodResponse><params></params></methodResponse>")
        if s == "two":
            return self.send(200, b"<?xml version='1.0'?><methodResponse><params>"
                                  b"<param><value><string>a</string></value></param>"
                                  b"<param><value><string>b</string></value></param>"
                                  b"</params></methodResponse>")
        if s.startswith("http-"):
            code = int(s[5:])
            extra = [("Location", "http://127.0.0.1:1/elsewhere")] if code == 301 else []
            return self.send(code, b"<html><body>error</body></html>", "text/html", extra)
        if s == "malformed":
            return self.send(200, b"<?xml version='1.0'?><methodResponse><params><param><value>"
                                  b"<string>abc</value></param></params></methodResponse>")
        if s == "truncated":
            return self.send(200, ok[: len(ok) // 2])
        if s == "empty":
            return self.send(200, b"")
        if s == "huge":
            return self.send(200, ok.replace(b"<methodResponse>", b"<methodResponse>" + b" " * (3 << 20)))
        if s == "chunked":
            self.send_response(200)
            self.send_header("Content-Type", "text/xml")
            self.send_header("Transfer-Encoding", "chunked")
            self.end_headers()
            for i in range(0, len(ok), 7):
                piece = ok[i:i + 7]
                self.wfile.write(b"%x\r\n%s\r\n" % (len(piece), piece))
                self.wfile.flush()
            self.wfile.write(b"0\r\n\r\n")
            return
        if s == "close":
            self.close_connection = True
            self.connection.shutdown(socket.SHUT_RDWR)
            return
        if s == "drip":  # a valid answer at two bytes a second
            self.send_response(200)
            self.send_header("Content-Type", "text/xml")
            self.send_header("Content-Length", str(len(ok)))
            self.end_headers()
            try:
                for i in range(0, len(ok), 2):
                    self.wfile.write(ok[i:i + 2])
                    self.wfile.flush()
                    time.sleep(1)
            except OSError:
                pass
            return
        if s == "hang":
            time.sleep(3600)
            return
        self.send(500, b"unknown scenario", "text/plain")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--record", required=True)
    ap.add_argument("--scenario", default=os.environ.get("IMAGE_HOST_SCENARIO", "success"))
    ap.add_argument("--id", default="Xy12_ab-3.z")
    a = ap.parse_args()
    server = Host(("127.0.0.1", 0), Handler, logRequests=False)
    server.scenario = a.scenario
    server.id = a.id
    server.record_path = a.record
    server.records = []
    server.lock = threading.Lock()
    server.register_function(upload(server), METHOD)
    with open(a.record, "w") as f:
        f.write("[]")
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
