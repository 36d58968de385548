#!/usr/bin/env python3
"""Writes a stand-in installer stub to standard output: the MZ and PE headers
of a PE32 program with one section, SIZE bytes in all (512 at least), which
diskspan-pack takes as a stub.
    fake_stub.py SIZE"""
import struct
import sys

size = max(int(sys.argv[1]), 512)
stub = bytearray(0x200) + b'S' * (size - 0x200)
stub[0:2] = b'MZ'
struct.pack_into('<I', stub, 0x3C, 0x40)                # where the PE header is
# The PE signature, an i386 machine with one section, the optional header's size, and PE32.
struct.pack_into('<4sHH12xHxxH', stub, 0x40, b'PE\0\0', 0x14C, 1, 0xE0, 0x10B)
struct.pack_into('<II', stub, 0x58 + 0xE0 + 16, size - 0x200, 0x200)  # the section's bytes
sys.stdout.buffer.write(stub)
