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
stub[0x40:0x44] = b'PE\0\0'
struct.pack_into('<HH', stub, 0x44, 0x14C, 1)           # i386, one section
struct.pack_into('<H', stub, 0x54, 0xE0)                # the optional header's size
struct.pack_into('<H', stub, 0x58, 0x10B)               # PE32
struct.pack_into('<II', stub, 0x58 + 0xE0 + 16, size - 0x200, 0x200)  # the section's bytes
sys.stdout.buffer.write(stub)
