#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into fuzz/corpus/<name>/.

The seeds are committed; run this again only to change them. Each is a small example
of what its target reads, so that fuzzing starts from the interesting paths.
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


def provided_int32(value):
    """A signed 32-bit value as FuzzedDataProvider::ConsumeIntegral<int32_t> takes it
    from the end of the input: the last four bytes, little-endian, offset by 2^31."""
    return le32(value + 2**31)


def firmware(size, seed):
    """An image with its length at offset 4 and a first word balancing the word sum."""
    body = bytearray((seed + i * 7) & 0xFF for i in range(size))
    body[4:8] = le32(size)
    body[0:4] = le32(0)
    total = sum(struct.unpack_from("<I", body, at)[0] for at in range(0, size - size % 4, 4))
    body[0:4] = le32(-total)
    return bytes(body)


def settings(text, values=(65536, 384, 8, 45, 0)):
    """A settings file, then the five new [LOGO] values, SIZE last since the target
    takes the values from the end of its input."""
    return text + b"".join(provided_int32(v) for v in reversed(values))


def picture(file, size=65536, width=384):
    """A picture file, then [LOGO] SIZE and WIDTH (WIDTH last)."""
    return file + provided_int32(size) + provided_int32(width)


def bmp(width, height, bits, rows, palette=b"", compression=0):
    """A bitmap with a version 3 header; `rows` are the stored rows, bottom row first."""
    pixels = b"".join(rows)
    offset = 14 + 40 + len(palette)
    header = b"BM" + le32(offset + len(pixels)) + le32(0) + le32(offset)
    info = (le32(40) + le32(width) + le32(height) + struct.pack("<HH", 1, bits) +
            le32(compression) + le32(len(pixels)) + le32(2835) + le32(2835) +
            le32(len(palette) // 4) + le32(0))
    return header + info + palette + pixels


def png(width, height, rgba_rows):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    raw = b"".join(b"\x00" + row for row in rgba_rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


MONO = b"\xff\xff\xff\x00\x00\x00\x00\x00"  # palette: white, black


class Provided:
    """Builds an input for a target that reads it through FuzzedDataProvider: integral
    values from the end (each the fewest bytes its range needs, the last byte the most
    significant), byte strings from the front, the rest left in the middle."""

    def __init__(self):
        self.front = b""
        self.taken = []  # bytes in the order the target consumes them from the end

    def integral(self, value, low, high):
        span, count = high - low, 0
        while count < 8 and span >> (8 * count) > 0:
            count += 1
        rest = value - low
        self.taken += [(rest >> (8 * i)) & 0xFF for i in reversed(range(count))]
        return self

    def boolean(self, value):
        return self.integral(1 if value else 0, 0, 255)

    def data(self, blob):
        self.front += blob
        return self

    def build(self, middle=b""):
        return self.front + middle + bytes(reversed(self.taken))


def reply_packet(command, argument, data, stray_start=False):
    header = bytearray(b"\x03\xfe" + struct.pack("<HIH", command, argument, len(data)) + b"\x00\x00")
    for b in header[:10]:
        header[10] ^= b
    for b in data:
        header[11] ^= b
    return (b"\x03" if stray_start else b"") + bytes(header) + data


def receiver_input(capacity, required, command, argument, others, planted, noise,
                   fail_at_end=False, traced=True):
    """The reply receiver target's input: its parameters, the planted packets
    (command, argument, stray start byte, data) and the noise."""
    p = Provided().integral(capacity, -2, 2100).boolean(required)
    p.integral(command, 0, 3).integral(argument, 0, 1).integral(len(others), 0, 2)
    for other in others:
        p.integral(other, 0, 3)
    p.boolean(fail_at_end).boolean(traced).integral(len(planted), 0, 2)
    for packet_command, packet_argument, stray, data in planted:
        p.integral(packet_command, 0, 3).integral(packet_argument, 0, 1).boolean(stray)
        p.integral(len(data), 0, 400).data(data)
    return p.build(noise)


def logo_set(*logos, count=None, tail=b""):
    """A packed logo set: each logo (bytes per row, rows as bytes), the count byte given
    or the number of logos, and `tail` after the last."""
    body = b""
    for row_bytes, rows in logos:
        body += struct.pack("<HH", row_bytes, len(rows) // row_bytes // 8) + rows
    return b"\xaa\xdd" + bytes([len(logos) if count is None else count]) + body + tail


def logo_set_seeds():
    # Sets as logo pack writes them, and sets logo show refuses.
    ring = bytes([0x3C, 0x42, 0x81, 0x81, 0x81, 0x81, 0x42, 0x3C])
    write("logo_set", "empty", logo_set())
    write("logo_set", "one_8x8", logo_set((1, ring)))
    write("logo_set", "blank_and_16x16", logo_set((1, bytes(8)), (2, bytes(range(32)))))
    write("logo_set", "left_over", logo_set((1, ring), tail=b"\x00"))
    write("logo_set", "count_past_end", logo_set((1, ring), count=2))
    write("logo_set", "rows_cut_short", logo_set((1, ring))[:-3])


def main():
    write("firmware_image", "valid_256", firmware(256, 1))
    write("firmware_image", "valid_259_tail", firmware(259, 2))
    broken = bytearray(firmware(300, 3))
    broken[100] ^= 0x10
    write("firmware_image", "bad_sum_300", bytes(broken))

    write("settings_file", "logo_crlf",
          settings(b"[LOGO]\r\nSIZE=0x8000\r\nWIDTH=384\r\nQUANTITY=8\r\nCOMMAND=45\r\nPARA=0\r\n"))
    write("settings_file", "codepage_ports_lf",
          settings(b"; comment\n[CODEPAGE]\nPC437=0\nKatakana=1\n[PORTS]\nCOM1=/dev/ttyUSB0\n"
                   b"[NETWORK]\nHOST=192.168.1.50\nPORT=9100\n", (-1, 0x7FFFFFFF, -2**31, 1, 2)))
    write("settings_file", "bom_duplicates",
          settings(b"\xEF\xBB\xBF [ logo ] \n  size = 12 \nOTHER=x\nsize=13\n[LOGO]\nWIDTH=9\n"))
    write("settings_file", "empty", settings(b""))

    write("picture_logo", "bmp_1bit_10x3",
          picture(bmp(10, 3, 1, [b"\xaa\x40\x00\x00", b"\x55\x80\x00\x00", b"\xff\xc0\x00\x00"], MONO)))
    write("picture_logo", "bmp_24bit_5x2",
          picture(bmp(5, 2, 24, [b"\x00\x00\x00\xff\xff\xff\x7f\x7f\x7f\x80\x80\x80\x00\x00\xff\x00",
                                 b"\xff\x00\x00\x00\xff\x00\x10\x20\x30\x00\x00\x00\xff\xff\xff\x00"])))
    write("picture_logo", "bmp_rle8_4x2",
          picture(bmp(4, 2, 8, [b"\x04\x01\x00\x00", b"\x02\x00\x02\x01\x00\x01"], MONO, compression=1),
                  size=10, width=4))
    write("picture_logo", "png_rgba_3x3",
          picture(png(3, 3, [bytes([0, 0, 0, 255] * 3), bytes([255, 255, 255, 0] * 3),
                             bytes([10, 200, 90, 128] * 3)]), width=2))
    write("picture_logo", "pbm_9x2", picture(b"P1\n9 2\n1 0 1 0 1 0 1 0 1\n0 1 0 1 0 1 0 1 0\n"))
    # Beside these stays bmp_8bit_16m_wide_top_down, which the fuzzer found: a bitmap 16 Mi
    # dots wide and -1 high, whose size the reader cannot announce before it decodes it.
    # 66 bytes announcing a 4096 x 4096 picture: run-length data that ends at once.
    write("picture_logo", "bmp_rle8_4096_blank", picture(bmp(4096, 4096, 8, [b"\x00\x01"], MONO, compression=1)))

    # Download-list arguments (the target reads each both as text and as parts).
    for name, text in [("plain", b"logo.bin"), ("both_numbers", b"logo.bin:45:0x10000"),
                       ("colons_in_path", b"c:/a:b.bin:0X2d:4294967295"), ("digit_after_colon", b"log:1:45:0"),
                       ("typo", b"a.bin:4x5"), ("empty_field", b"a.bin:"), ("no_file", b":45")]:
        write("download_spec", name, text)

    # Reply receiver: a good reply amid noise; a newer start byte; a reply to another
    # request before the awaited one; data longer than the capacity.
    write("reply_receiver", "reply_in_noise",
          receiver_input(255, False, 0, 0, [], [], b"\x55\xfe\x03" + reply_packet(0x20, 0, b"\x01\x02\x03") + b"\x00"))
    write("reply_receiver", "newer_start_empty",
          receiver_input(0, True, 1, 1, [], [], b"\x03" + reply_packet(1, 1, b"")))
    write("reply_receiver", "skip_other_then_take",
          receiver_input(16, True, 2, 0, [], [(3, 0, False, b"\x03\xfe\x00"), (2, 0, True, b"\x10\x20")], b"ab"))
    write("reply_receiver", "echo_skipped_too_long",
          receiver_input(4, False, 0, 0, [1], [(1, 0, False, b""), (0, 1, False, b"12345")], b"", fail_at_end=True))

    logo_set_seeds()


if __name__ == "__main__":
    main()
