# A TLS server that ends every connection without close_notify, as many HTTP/1.0 servers do.
# GET /whole answers a body of its announced length; GET /short announces 100 bytes and sends 10;
# GET /silent answers nothing; GET /garbage answers with no status line; GET /badlength announces
# a length that is no number ("12abc") before a longer body.
# Arguments: certificate file, key file. Prints its port, then serves until it is stopped.
import socket
import ssl
import sys
import threading

context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
context.load_cert_chain(sys.argv[1], sys.argv[2])
listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
listener.bind(("127.0.0.1", 0))
listener.listen(16)
print(listener.getsockname()[1], flush=True)

def serve(raw):
    # A client that stalls or goes away must not hold up the next one: each connection has its own
    # thread and a time limit on every read and write.
    raw.settimeout(20)
    try:
        tls = context.wrap_socket(raw, server_side=True)
        request = b""
        while b"\r\n\r\n" not in request:
            chunk = tls.recv(4096)
            if not chunk:
                break
            request += chunk
        path = request.split(b" ")[1] if request.count(b" ") >= 2 else b"/"
        if path == b"/short":
            tls.sendall(b"HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\n0123456789")
        elif path == b"/silent":
            pass
        elif path == b"/garbage":
            tls.sendall(b"garbage\r\n\r\nnot a body")
        elif path == b"/badlength":
            tls.sendall(b"HTTP/1.0 200 OK\r\nContent-Length: 12abc\r\n\r\nthe whole body after a bad length")
        else:
            body = b"whole body without close_notify\n"
            tls.sendall(b"HTTP/1.0 200 OK\r\nContent-Length: %d\r\n\r\n" % len(body) + body)
        # The TCP connection ends here with no TLS goodbye.
        fd = tls.detach()
        socket.socket(fileno=fd).close()
    except (OSError, ssl.SSLError):
        raw.close()


while True:
    raw, _ = listener.accept()
    threading.Thread(target=serve, args=(raw,), daemon=True).start()
