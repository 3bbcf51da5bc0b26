'''An X server that knows nothing but the DPMS extension.

Xvfb (and the other virtual X servers) have no DPMS, so this stands in for a
display with a monitor. It keeps the DPMS state as the X.Org server does: a
forced level needs DPMS enabled (else BadMatch), disabling DPMS turns the
monitor on, timeouts must not decrease (else BadValue). It listens on the
abstract socket of the first free display number from 500 on, prints that
number once it listens, and serves any number of clients until killed.
'''

import socket
import struct
import sys
import threading

DPMS_MAJOR = 140
BAD_REQUEST, BAD_VALUE, BAD_MATCH = 1, 2, 8

state = {'enabled': True, 'level': 0, 'timeouts': (600, 600, 600)}
lock = threading.Lock()


def setup_reply():
    vendor = b'fake-dpms'
    vendor += b'\0' * (-len(vendor) % 4)
    body = struct.pack('<IIIIHHBBBBBBBB4x', 1, 0x00200000, 0x001fffff, 0, 9, 65535,
                       0, 0, 0, 0, 32, 32, 8, 255) + vendor
    return struct.pack('<BxHHH', 1, 11, 0, len(body) // 4) + body


def reply(seq, fmt, *values):
    data = struct.pack('<BxHI' + fmt, 1, seq, 0, *values)
    return data + b'\0' * (32 - len(data))


def error(seq, code, minor, major):
    return struct.pack('<BBHIHB21x', 0, code, seq, 0, minor, major)


def dpms(seq, minor, body):
    with lock:
        if minor == 0:  # GetVersion
            return reply(seq, 'HH', 1, 1)
        if minor == 1:  # Capable
            return reply(seq, 'B', 1)
        if minor == 2:  # GetTimeouts
            return reply(seq, 'HHH', *state['timeouts'])
        if minor == 3:  # SetTimeouts
            standby, suspend, off = struct.unpack('<HHH', body[:6])
            if ((suspend and standby > suspend) or (off and standby > off)
                    or (off and suspend > off)):
                return error(seq, BAD_VALUE, minor, DPMS_MAJOR)
            state['timeouts'] = (standby, suspend, off)
            return None
        if minor == 4:  # Enable
            state['enabled'] = True
            return None
        if minor == 5:  # Disable
            state['enabled'] = False
            state['level'] = 0
            return None
        if minor == 6:  # ForceLevel
            level, = struct.unpack('<H', body[:2])
            if not state['enabled']:
                return error(seq, BAD_MATCH, minor, DPMS_MAJOR)
            if level > 3:
                return error(seq, BAD_VALUE, minor, DPMS_MAJOR)
            state['level'] = level
            return None
        if minor == 7:  # Info
            return reply(seq, 'HB', state['level'], state['enabled'])
    return error(seq, BAD_REQUEST, minor, DPMS_MAJOR)


def handle(seq, opcode, data, body):
    if opcode == 98:  # QueryExtension
        length, = struct.unpack('<H', body[:2])
        present = body[4:4 + length] == b'DPMS'
        return reply(seq, 'BBBB', present, DPMS_MAJOR if present else 0, 0, 0)
    if opcode == 43:  # GetInputFocus, which clients send to sync
        return struct.pack('<BBHII20x', 1, 0, seq, 0, 0)
    if opcode == DPMS_MAJOR:
        return dpms(seq, data, body)
    return error(seq, BAD_REQUEST, 0, opcode)


def read(conn, size):
    data = b''
    while len(data) < size:
        chunk = conn.recv(size - len(data))
        if not chunk:
            raise EOFError
        data += chunk
    return data


def serve(conn):
    try:
        order, _, _, name, data = struct.unpack('<BxHHHH2x', read(conn, 12))
        if order != ord('l'):
            return
        read(conn, name + (-name % 4) + data + (-data % 4))
        conn.sendall(setup_reply())
        seq = 0
        while True:
            opcode, data, length = struct.unpack('<BBH', read(conn, 4))
            body = read(conn, max(length * 4 - 4, 0))
            seq = (seq + 1) & 0xffff
            answer = handle(seq, opcode, data, body)
            if answer:
                conn.sendall(answer)
    except (EOFError, OSError):
        pass
    finally:
        conn.close()


def main():
    server = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    for number in range(500, 600):
        try:
            server.bind('\0/tmp/.X11-unix/X%d' % number)
            break
        except OSError:
            continue
    else:
        sys.exit('no free display number')
    server.listen(8)
    print(number, flush=True)
    while True:
        conn, _ = server.accept()
        threading.Thread(target=serve, args=(conn,), daemon=True).start()


main()
