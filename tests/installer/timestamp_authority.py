#!/usr/bin/python3
"""An RFC 3161 timestamp authority on the loopback address, for the signing
test: makes a throwaway timestamping certificate in FOLDER (tsa.pem, the one
to trust), prints the URL it serves, and answers each request with
`openssl ts -reply` until it is stopped.

usage: timestamp_authority.py FOLDER"""
import http.server
import os
import subprocess
import sys

CONFIG = """[ tsa ]
default_tsa = tsa_config
[ tsa_config ]
serial = {folder}/serial
signer_cert = {folder}/tsa.pem
signer_key = {folder}/tsa-key.pem
signer_digest = sha256
default_policy = 1.2.3.4.1
digests = sha256, sha384, sha512
accuracy = secs:1
ess_cert_id_alg = sha256
"""


def make_authority(folder):
    subprocess.run(
        ["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-sha256", "-days", "2",
         "-subj", "/CN=T7105Cfg test timestamps",
         "-addext", "keyUsage=critical,digitalSignature",
         "-addext", "extendedKeyUsage=critical,timeStamping",
         "-keyout", f"{folder}/tsa-key.pem", "-out", f"{folder}/tsa.pem"],
        check=True, capture_output=True)
    with open(f"{folder}/serial", "w", encoding="ascii") as serial:
        serial.write("01\n")
    with open(f"{folder}/ts.cnf", "w", encoding="ascii") as config:
        config.write(CONFIG.format(folder=folder))


class Responder(http.server.BaseHTTPRequestHandler):
    folder = ""

    def do_POST(self):
        query = f"{self.folder}/query.tsq"
        reply = f"{self.folder}/reply.tsr"
        with open(query, "wb") as request:
            request.write(self.rfile.read(int(self.headers["Content-Length"])))
        answered = subprocess.run(
            ["openssl", "ts", "-reply", "-config", f"{self.folder}/ts.cnf",
             "-queryfile", query, "-out", reply], capture_output=True, check=False)
        body = b""
        if answered.returncode == 0:
            with open(reply, "rb") as response:
                body = response.read()
        self.send_response(200 if body else 500)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *_):
        pass


def main(folder):
    folder = os.path.abspath(folder)
    make_authority(folder)
    Responder.folder = folder
    server = http.server.HTTPServer(("127.0.0.1", 0), Responder)
    print(f"http://127.0.0.1:{server.server_port}/", flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main(sys.argv[1])
