#!/usr/bin/env python3
"""The stub carries its manifest: a resource of type 24 (RT_MANIFEST), id 1,
asking to run asInvoker.  pe_manifest.py STUB"""
import struct
import sys


def sections(data):
    pe = struct.unpack_from('<I', data, 0x3C)[0]
    count, optional_size = struct.unpack_from('<H', data, pe + 6)[0], struct.unpack_from('<H', data, pe + 20)[0]
    table = pe + 24 + optional_size
    for i in range(count):
        name, vsize, vaddr, rsize, raw = struct.unpack_from('<8sIIII', data, table + 40 * i)
        yield name.rstrip(b'\0'), vaddr, raw, rsize


def manifest(data):
    for name, vaddr, raw, size in sections(data):
        if name != b'.rsrc':
            continue

        def entries(offset):
            named, ids = struct.unpack_from('<HH', data, raw + offset + 12)
            for k in range(named + ids):
                key, target = struct.unpack_from('<II', data, raw + offset + 16 + 8 * k)
                yield key, target

        for key, target in entries(0):
            if key != 24 or not target & 0x80000000:
                continue
            for res_id, language_dir in entries(target & 0x7FFFFFFF):
                for _, leaf in entries(language_dir & 0x7FFFFFFF):
                    rva, length = struct.unpack_from('<II', data, raw + leaf)
                    return res_id, data[raw + rva - vaddr: raw + rva - vaddr + length]
    return None, b''


res_id, text = manifest(open(sys.argv[1], 'rb').read())
if res_id != 1 or b'level="asInvoker"' not in text:
    print(f'{sys.argv[1]}: no manifest resource 1 asking for asInvoker')
    sys.exit(1)
print(f'{sys.argv[1]}: manifest resource 1, asInvoker, {text.count(b"supportedOS")} supportedOS entries')
