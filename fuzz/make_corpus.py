#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into fuzz/corpus/<name>/.

The seeds are committed; run this again only to change them. Each is a small, valid
example of what its target reads, so that fuzzing starts from the interesting paths.
"""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as out:
        out.write(data)


def le32(value):
    return struct.pack("<I", value & 0xFFFFFFFF)


# Firmware images: the length at offset 4, the first word balancing the word sum.
def firmware(size, seed, tail_ok=True):
    body = bytearray((seed + i * 7) & 0xFF for i in range(size))
    body[4:8] = le32(size)
    body[0:4] = le32(0)
    total = sum(struct.unpack_from("<I", body, at)[0] for at in range(0, size - size % 4, 4))
    body[0:4] = le32(-total)
    return bytes(body)


write("firmware_image", "valid_256", firmware(256, 1))
write("firmware_image", "valid_259_tail", firmware(259, 2))
broken = bytearray(firmware(300, 3))
broken[100] ^= 0x10
write("firmware_image", "bad_sum_300", bytes(broken))


# Settings files: the text, then the five new [LOGO] values (the target takes 4 bytes
# per value from the end of its input).
def settings(text, values=(65536, 384, 8, 45, 0)):
    tail = b"".join(le32(v) for v in reversed(values))
    return text + tail


write("settings_file", "logo_crlf",
      settings(b"[LOGO]\r\nSIZE=0x8000\r\nWIDTH=384\r\nQUANTITY=8\r\nCOMMAND=45\r\nPARA=0\r\n"))
write("settings_file", "codepage_ports_lf",
      settings(b"; comment\n[CODEPAGE]\nPC437=0\nKatakana=1\n[PORTS]\nCOM1=/dev/ttyUSB0\n"
               b"[NETWORK]\nHOST=192.168.1.50\nPORT=9100\n", (-1, 0x7FFFFFFF, -2147483648, 1, 2)))
write("settings_file", "bom_duplicates",
      settings(b"\xEF\xBB\xBF [ logo ] \n  size = 12 \nOTHER=x\nsize=13\n[LOGO]\nWIDTH=9\n"))
write("settings_file", "empty", settings(b""))
