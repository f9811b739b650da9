"""Writes the cabinet extractor's own test cabinets into the folder given.

A cabinet writer of our own rather than a packing tool: the broken and hostile cases need
headers, names, checksums and block boundaries no tool would write. Only the standard library
is used. What each cabinet must extract to is stated in test_cabinet_extractor.cpp; the member
contents follow the same rules there (fill, pattern).
"""

import shutil
import struct
import sys
import zlib
from pathlib import Path

STORED, MSZIP = 0, 1
BLOCK = 32768
# File entries' folder index for a member that goes on in the next part, comes from the
# previous one, or both.
TO_NEXT, FROM_PREV, PREV_AND_NEXT = 0xFFFE, 0xFFFD, 0xFFFF
UTF_NAME = 0x80


def fill(head, size):
    return (head * (size // len(head) + 1))[:size]


def pattern(size, salt):
    # Repeats every 5003 bytes, so deflate refers back across block boundaries.
    return bytes((((i % 5003) * 40503 + salt) >> 7) & 0xFF for i in range(size))


def dos(y, mo, d, h, mi, s):
    return ((y - 1980) << 9) | (mo << 5) | d, (h << 11) | (mi << 5) | (s // 2)


def checksum(data, seed=0):
    words = len(data) // 4
    for i in range(words):
        seed ^= struct.unpack_from("<I", data, 4 * i)[0]
    tail = 0
    for byte in data[4 * words:]:  # the last one to three bytes, first byte highest
        tail = (tail << 8) | byte
    return seed ^ tail


def blocks(data, method):
    """(payload, uncompressed size) of each data block; MSZIP blocks share their history."""
    out = []
    for start in range(0, len(data), BLOCK):
        chunk = data[start:start + BLOCK]
        if method == MSZIP:
            history = data[max(0, start - BLOCK):start]
            z = zlib.compressobj(9, zlib.DEFLATED, -15, **({"zdict": history} if history else {}))
            out.append((b"CK" + z.compress(chunk) + z.flush(), len(chunk)))
        else:
            out.append((chunk, len(chunk)))
    return out


def cabinet(folders, files, prev=None, nxt=None, index=0, reserve=b"", csum=True):
    """folders: [(method, [(payload, usize)])]; files: [(name, size, offset, folder, date,
    time, attribs)]. prev/nxt name the neighbouring parts of a set."""
    flags = (1 if prev else 0) | (2 if nxt else 0) | (4 if reserve else 0)
    head = struct.pack("<HBB", len(reserve), 0, 0) + reserve if reserve else b""
    for name in (prev, nxt):
        if name:
            head += name + b"\0" + b"disk\0"
    folder_table_at = 36 + len(head)
    files_at = folder_table_at + 8 * len(folders)
    file_table = b"".join(
        struct.pack("<IIHHHH", size, offset, folder, date, time, attribs) + name + b"\0"
        for name, size, offset, folder, date, time, attribs in files)
    data_at = files_at + len(file_table)
    folder_table, data = b"", b""
    for method, folder_blocks in folders:
        folder_table += struct.pack("<IHH", data_at + len(data), len(folder_blocks), method)
        for payload, usize in folder_blocks:
            sizes = struct.pack("<HH", len(payload), usize)
            data += struct.pack("<I", checksum(sizes, checksum(payload)) if csum else 0)
            data += sizes + payload
    total = data_at + len(data)
    header = b"MSCF" + struct.pack("<IIIIIBBHHHHH", 0, total, 0, files_at, 0, 3, 1,
                                   len(folders), len(files), flags, 0x2203, index)
    return header + head + folder_table + file_table + data


def simple(members, method=MSZIP, **options):
    """One folder holding members (name, data, (y, mo, d, h, mi, s), attribs) in order."""
    files, offset = [], 0
    for name, data, when, attribs in members:
        files.append((name, len(data), offset, 0, *dos(*when), attribs))
        offset += len(data)
    stream = b"".join(m[1] for m in members)
    return cabinet([(method, blocks(stream, method))], files, **options)


WHEN = (2024, 3, 1, 12, 0, 0)


def txt(name, size=64):
    return (name, fill(name + b"\n", size), WHEN, 0x20)


def attributes_cabinet():
    rows = [  # name, head of its contents, size, date, attribs
        (b"readonly.txt", None, 100, (1980, 1, 1, 0, 0, 0), 0x21),
        (b"hidden.txt", None, 137, (1999, 12, 31, 23, 59, 58), 0x02),
        (b"system_hidden.txt", None, 174, (2000, 2, 29, 12, 34, 56), 0x06),
        (b"run.sh", b"#!/bin/sh\necho run\n", 211, (2024, 7, 15, 8, 9, 10), 0x60),
        (b"no_attribs.txt", None, 248, (2107, 12, 31, 23, 59, 58), 0x00),
        (b"all_flags.txt", None, 285, (2038, 1, 19, 3, 14, 8), 0x67),
        ("dir_ação.txt".encode(), None, 322, (2010, 6, 30, 18, 0, 2), 0x20 | UTF_NAME),
        ("αβγ.txt".encode("cp1253"), None, 359, (2001, 9, 9, 1, 46, 40), 0x20),
        (b"prog", b"\x7fELF\x02\x01\x01\x00", 396, (2015, 10, 21, 16, 29, 0), 0x20),
        (b"odd_bits.txt", None, 433, (2020, 2, 2, 20, 20, 20), 0x18),  # volume label, folder
    ]
    return simple([(name, fill(head or name + b"\n", size), when, attribs)
                   for name, head, size, when, attribs in rows])


def odd_dates():
    """Date and time fields no calendar has: all zero, and 31:63:62 o'clock."""
    late = (2024 - 1980) << 9 | 3 << 5 | 1, 31 << 11 | 63 << 5 | 31  # 2024-03-01
    return cabinet([(STORED, blocks(b"zero\n" * 10 + b"late\n" * 10, STORED))],
                   [(b"zero.txt", 50, 0, 0, 0, 0, 0x20), (b"late.txt", 50, 50, 0, *late, 0x20)])


def many_small():
    """Enough small members for the writer to start its thread part-way, a large one among
    them (written by the caller once the thread has caught up)."""
    members = [txt(b"s%03d.txt" % i, 100 + 7 * i) for i in range(150)]
    members.insert(100, (b"large.bin", pattern(90000, 7), WHEN, 0x20))
    return simple(members)


def two_folders():
    stored = [(b"empty.txt", b"", WHEN, 0x20), (b"stored.bin", pattern(40000, 1), WHEN, 0x20)]
    deflated = [(b"deflated.bin", pattern(100000, 2), WHEN, 0x20), txt(b"small.txt")]
    files, folders = [], []
    for index, (method, members) in enumerate(((STORED, stored), (MSZIP, deflated))):
        offset = 0
        for name, data, when, attribs in members:
            files.append((name, len(data), offset, index, *dos(*when), attribs))
            offset += len(data)
        folders.append((method, blocks(b"".join(m[1] for m in members), method)))
    return cabinet(folders, files)


def three_part_set():
    """Part-1..3.CAB as the headers name them. span.bin's folder runs through all three parts
    and every part lists it again, as cabinet tools write sets; the data block at each break
    is split, its first piece marked with no uncompressed size. Members that begin in a later
    part go into a folder of their own."""
    date, time = dos(*WHEN)
    span = pattern(70000, 3)
    (b0, s0), (b1, s1), (b2, s2) = blocks(span, MSZIP)
    rest = fill(b"three\n", 5000) + fill(b"tail\n", 1000)
    one = [(b"one.txt", 10000, 0, 0, date, time, 0x20)]
    tail = [(b"three.txt", 5000, 0, 1, date, time, 0x20),
            (b"tail.txt", 1000, 5000, 1, date, time, 0x20)]

    def spanning(folder):
        return [(b"span.bin", len(span), 0, folder, date, time, 0x20)]

    return [
        cabinet([(STORED, blocks(fill(b"one\n", 10000), STORED)),
                 (MSZIP, [(b0, s0), (b1[:len(b1) // 2], 0)])], one + spanning(TO_NEXT),
                nxt=b"Part-2.CAB"),
        cabinet([(MSZIP, [(b1[len(b1) // 2:], s1), (b2[:len(b2) // 2], 0)])],
                spanning(PREV_AND_NEXT), prev=b"Part-1.CAB", nxt=b"Part-3.CAB", index=1),
        cabinet([(MSZIP, [(b2[len(b2) // 2:], s2)]), (MSZIP, blocks(rest, MSZIP))],
                spanning(FROM_PREV) + tail, prev=b"Part-2.CAB", index=2),
    ]


def hostile(name, utf8=False):
    """A good member, then one whose name must be refused before anything is written."""
    return simple([txt(b"first.txt"), (name, b"x", WHEN, 0x20 | (UTF_NAME if utf8 else 0))])


HOSTILE = {  # cabinet: stored name, UTF-8 flag
    "folder": (b"sub\\evil.txt", False), "slash": (b"sub/evil.txt", False),
    "drive": (b"c:evil.txt", False), "drive_root": (b"C:\\evil.txt", False),
    "dotdot": (b"..\\evil.txt", False), "dotdot_alone": (b"..", False),
    "leading_backslash": (b"\\evil.txt", False), "control": (b"evil\x01.txt", False),
    "delete": (b"evil\x7f.txt", False), "stream": (b"evil.txt:hidden", False),
    "wildcard": (b"evil*.txt", False), "blank": (b"  ", False),
    "cp1253_aa": (b"evil\xaa.txt", False), "cp1253_d2": (b"\xd2.txt", False),
    "cp1253_ff": (b"evil\xff", False),
    "utf8_overlong_slash": (b"..\xc0\xafevil.txt", True), "utf8_c1": (b"evil\xc2\x85.txt", True),
    "utf8_surrogate": (b"\xed\xa0\x80.txt", True), "utf8_cut": (b"evil\xe2\x82", True),
    "device_con": (b"CON", False), "device_nul": (b"nul.txt", False),
    "device_com": (b"com1 .log", False),
}


def broken():
    """Cabinets that must fail. first.bin has a folder of its own and comes out whole; the
    damage is in second.bin's folder (four data blocks), unless said otherwise. Damage in
    the last block meets second.bin past its first 64 KB, which the extraction writes
    otherwise than a smaller member's."""
    first = (b"first.bin", pattern(BLOCK, 4), WHEN, 0x20)
    second = (b"second.bin", pattern(4 * BLOCK, 5), WHEN, 0x20)

    def two_folders_with(second_blocks):
        date, time = dos(*WHEN)
        files = [(m[0], len(m[1]), 0, i, date, time, 0x20) for i, m in enumerate((first, second))]
        return cabinet([(MSZIP, blocks(first[1], MSZIP)), (MSZIP, second_blocks)], files)

    good_blocks = blocks(second[1], MSZIP)
    good = two_folders_with(good_blocks)
    (payload, usize), *rest = good_blocks
    last = rest[-1]
    damaged = [(b"CK\xff" + payload[3:], usize), *rest]  # a deflate block of the reserved type
    wrong_sum = bytearray(good)
    wrong_sum[len(good) - 8 - len(last[0])] ^= 0x01  # the last block's checksum
    beyond = simple([(b"short.bin", fill(b"short\n", 100), WHEN, 0x20)], STORED)
    file_size_at = struct.unpack_from("<I", beyond, 16)[0]  # coffFiles: the first entry's cbFile
    huge, long = bytearray(beyond), bytearray(beyond)
    struct.pack_into("<I", huge, file_size_at, 0x7FFF0000)
    struct.pack_into("<I", long, file_size_at, 30000)
    method = bytearray(beyond)
    struct.pack_into("<H", method, 36 + 6, 0x000F)  # the folder's typeCompress
    return {
        "truncated_data": good[:len(good) - len(last[0]) // 2], "truncated_header": good[:60],
        "bad_checksum": bytes(wrong_sum), "damaged_deflate": two_folders_with(damaged),
        "size_far_beyond_data": bytes(huge), "size_beyond_block": bytes(long),
        "unknown_method": bytes(method), "bad_signature": b"MSCE" + good[4:],
        "empty": b"", "tiny": b"MSC",
    }


def main(out):
    shutil.rmtree(out, ignore_errors=True)
    out.mkdir(parents=True)
    cabs = {"attributes": attributes_cabinet(), "two_folders": two_folders(),
            "odd_dates": odd_dates(), "many_small": many_small(),
            "reserve_no_checksums": simple([txt(b"reserved.txt", 5000)], reserve=b"R" * 20,
                                           csum=False)}
    for number, part in enumerate(three_part_set(), 1):
        cabs[f"part-{number}"] = part  # on disk in another letter case than the headers say
    cabs["loop"] = cabinet([(STORED, blocks(b"loop\n", STORED))],
                           [(b"loop.txt", 5, 0, TO_NEXT, *dos(*WHEN), 0x20)], nxt=b"LOOP.CAB")
    # Two-stage package: multi1.cab leaves F0_ice1.cab, which holds the program. file1.cab, the
    # one-stage package, holds a cabinet that must stay a member.
    inner = simple([txt(b"program.txt", 3000), (b"data.bin", pattern(50000, 6), WHEN, 0x20)])
    cabs["multi1"] = simple([txt(b"notes.txt"), (b"F0_ice1.cab", inner, WHEN, 0x20)])
    cabs["file1"] = simple([txt(b"file1.txt"), (b"inner.cab", simple([txt(b"nested.txt")]),
                                                WHEN, 0x20)])
    for case, (name, utf8) in HOSTILE.items():
        cabs["hostile_" + case] = hostile(name, utf8)
    cabs.update(broken())
    for name, data in cabs.items():
        (out / (name + ".cab")).write_bytes(data)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: make_cabinets.py OUTPUT_FOLDER")
    main(Path(sys.argv[1]))
