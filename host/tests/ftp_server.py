"""A throw-away FTP server for the publishing tests.

Usage: python3 ftp_server.py ROOT USER PASSWORD [CERTFILE]
Serves ROOT on 127.0.0.1 at a free port, prints the port on one line, then
serves until it is terminated. With CERTFILE (certificate and key in one PEM
file) the server requires explicit TLS on the control and data channels.
"""
import logging
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


def tls_handler(certfile: str) -> type:
    from pyftpdlib.handlers import TLS_DTPHandler, TLS_FTPHandler

    class DataChannel(TLS_DTPHandler):
        # This version stops polling a data connection while its TLS
        # handshake is pending, and curl then gives up on the transfer.
        def readable(self) -> bool:
            return self._ssl_accepting or super().readable()

    class ControlChannel(TLS_FTPHandler):
        pass

    ControlChannel.dtp_handler = DataChannel
    ControlChannel.certfile = certfile
    ControlChannel.tls_control_required = True
    ControlChannel.tls_data_required = True
    return ControlChannel


def main() -> None:
    root, user, password = sys.argv[1:4]
    logging.basicConfig(level=logging.WARNING)
    authorizer = DummyAuthorizer()
    authorizer.add_user(user, password, root, perm="elradfmwMT")
    handler = tls_handler(sys.argv[4]) if len(sys.argv) > 4 else FTPHandler
    handler.authorizer = authorizer
    server = FTPServer(("127.0.0.1", 0), handler)
    print(server.socket.getsockname()[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
