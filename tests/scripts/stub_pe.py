#!/usr/bin/env python3
"""Reads a stub's PE file and checks what Windows 95 to 11 and a 386 need of it.

    stub_pe.py STUB [--expect WORD ...]

Every stub, PE32 or PE32+:
  - each import is on tests/data/windows95/DLL.txt (a DLL without a list,
    msvcrt.dll among them, is refused outright), and none is by ordinal;
  - no TLS directory (no C runtime);
  - its manifest resource (type 24, id 1) asks to run asInvoker.
The PE32 (the product) also:
  - asks for Windows 4.0 as OS and subsystem version, GUI subsystem,
    sections aligned to 4 KB and the file to 512 bytes;
  - holds no instruction newer than the i386 (objdump -d): no CMOVcc,
    FCMOVcc, FCOMI/FUCOMI, CMPXCHG, BSWAP, XADD, CPUID, RDTSC, MMX or SSE;
  - is at most 32,768 bytes: every byte of it is taken from disk 1.
Prints one line per problem and exits 1, or one line saying what passed.
With --expect, passes only when there are problems and each WORD appears in
one of them: how the tests show that the check catches a stub built the old
way.
"""
import argparse
import pathlib
import re
import struct
import subprocess
import sys

ALLOW_LISTS = pathlib.Path(__file__).resolve().parents[1] / 'data' / 'windows95'
SIZE_BUDGET = 32768
# Mnemonics of the 486 and later (AT&T syntax, as objdump prints them).
NEWER_THAN_I386 = re.compile(
    r'^(cmov\w+|fcmov\w+|f(u)?comip?|cmpxchg\w*|bswap|xadd\w?|cpuid|rdtscp?|rdmsr|wrmsr|rdpmc|'
    r'sys(enter|exit|call|ret)|ud2|movbe|popcnt|lzcnt|tzcnt|fisttp\w*|prefetch\w*|[lms]fence|'
    r'pause|emms|invd|wbinvd|invlpg)$')
VECTOR_REGISTER = re.compile(r'%(x|y|z)?mm\d')


class Pe:
    def __init__(self, data):
        self.data = data
        self.header = struct.unpack_from('<I', data, 0x3C)[0]
        if data[:2] != b'MZ' or data[self.header:self.header + 4] != b'PE\0\0':
            raise ValueError('not a PE file')
        self.sections_count, optional_size = struct.unpack_from('<2xH12xH', data, self.header + 4)
        self.optional = self.header + 24
        self.magic = struct.unpack_from('<H', data, self.optional)[0]
        self.is_pe32 = self.magic == 0x10B
        self.section_table = self.optional + optional_size

    def field(self, fmt, offset):
        return struct.unpack_from(fmt, self.data, self.optional + offset)[0]

    def directory(self, index):
        start = 96 if self.is_pe32 else 112
        return struct.unpack_from('<II', self.data, self.optional + start + 8 * index)

    def sections(self):
        for k in range(self.sections_count):
            name, vsize, vaddr, rsize, raw = struct.unpack_from('<8sIIII', self.data, self.section_table + 40 * k)
            yield name.rstrip(b'\0'), vaddr, max(vsize, rsize), raw

    def offset(self, rva):
        for _, vaddr, size, raw in self.sections():
            if vaddr <= rva < vaddr + size:
                return raw + rva - vaddr
        raise ValueError(f'address {rva:#x} lies in no section')

    def text(self, rva):
        at = self.offset(rva)
        return self.data[at:self.data.index(b'\0', at)].decode('latin-1')

    def imports(self):
        """(dll, name or None for an ordinal) for every import."""
        rva, _ = self.directory(1)
        entry = self.offset(rva) if rva else None
        pointer_size, ordinal_flag = (4, 1 << 31) if self.is_pe32 else (8, 1 << 63)
        while entry is not None:
            lookup, _, _, name, thunks = struct.unpack_from('<IIIII', self.data, entry)
            if name == 0:
                break
            dll = self.text(name)
            at = self.offset(lookup or thunks)
            while True:
                value = int.from_bytes(self.data[at:at + pointer_size], 'little')
                if value == 0:
                    break
                yield dll, None if value & ordinal_flag else self.text((value & 0x7FFFFFFF) + 2)
                at += pointer_size
            entry += 20

    def manifest(self):
        """The manifest resource (type 24) as (id, bytes), or (None, b'')."""
        rva, _ = self.directory(2)
        if not rva:
            return None, b''
        base = self.offset(rva)

        def entries(offset):
            named, ids = struct.unpack_from('<HH', self.data, base + offset + 12)
            for k in range(named + ids):
                yield struct.unpack_from('<II', self.data, base + offset + 16 + 8 * k)

        for key, target in entries(0):
            if key != 24 or not target & 0x80000000:
                continue
            for res_id, languages in entries(target & 0x7FFFFFFF):
                for _, leaf in entries(languages & 0x7FFFFFFF):
                    data_rva, length = struct.unpack_from('<II', self.data, base + leaf)
                    at = self.offset(data_rva)
                    return res_id, self.data[at:at + length]
        return None, b''


def listed_name(dll):
    return f'{dll.upper().removesuffix(".DLL")}.txt'


def allowed_names(dll):
    listed = ALLOW_LISTS / listed_name(dll)
    if not listed.is_file():
        return None
    lines = listed.read_text().splitlines()
    return {line.strip() for line in lines if line.strip() and not line.startswith('#')}


def import_problems(pe):
    problems = []
    for dll, name in pe.imports():
        allowed = allowed_names(dll)
        if allowed is None:
            problems.append(f'imports from {dll}, which is not a system DLL of Windows 95 the stub may use')
        elif name is None:
            problems.append(f'imports from {dll} by ordinal, which differ between Windows versions')
        elif name not in allowed:
            problems.append(f'imports {name} from {dll}, which is not on {ALLOW_LISTS.name}/{listed_name(dll)} '
                            '(the exports of Windows 95 and NT 4.0 checked so far)')
    return sorted(set(problems))


def header_problems(pe):
    expected = {'OS version': ((pe.field('<H', 40), pe.field('<H', 42)), (4, 0)),
                'subsystem version': ((pe.field('<H', 48), pe.field('<H', 50)), (4, 0)),
                'subsystem': (pe.field('<H', 68), 2),
                'section alignment': (pe.field('<I', 32), 4096),
                'file alignment': (pe.field('<I', 36), 512)}
    return [f'{what} is {found}, not {wanted}' for what, (found, wanted) in expected.items() if found != wanted]


def instruction_problems(stub):
    listing = subprocess.run(['i686-w64-mingw32-objdump', '-d', '--no-show-raw-insn', str(stub)],
                             capture_output=True, text=True, check=True).stdout
    found = {}
    for line in listing.splitlines():
        parts = line.split('\t')
        if len(parts) < 2 or not parts[0].strip().endswith(':'):
            continue
        words = parts[1].split(None, 1)
        if not words:
            continue
        mnemonic = words[0]
        if mnemonic in ('lock', 'rep', 'repz', 'repnz', 'data16') and len(words) > 1:
            words = words[1].split(None, 1)
            mnemonic = words[0]
        operands = words[1] if len(words) > 1 else ''
        if NEWER_THAN_I386.match(mnemonic) or VECTOR_REGISTER.search(operands):
            found[mnemonic] = found.get(mnemonic, 0) + 1
    return [f'holds {count} {mnemonic} instruction(s), which the i386 does not have'
            for mnemonic, count in sorted(found.items())]


def problems_of(stub):
    data = stub.read_bytes()
    pe = Pe(data)
    problems = import_problems(pe)
    if pe.directory(9) != (0, 0):
        problems.append('has a TLS directory (the C runtime\'s thread-local storage support)')
    res_id, manifest = pe.manifest()
    if res_id != 1 or b'level="asInvoker"' not in manifest:
        problems.append('has no manifest resource 1 asking to run asInvoker')
    if pe.is_pe32:
        problems += header_problems(pe)
        problems += instruction_problems(stub)
        if len(data) > SIZE_BUDGET:
            problems.append(f'is {len(data)} bytes, over its budget of {SIZE_BUDGET}')
    return problems, pe


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('stub', type=pathlib.Path)
    parser.add_argument('--expect', nargs='+', metavar='WORD', default=[])
    args = parser.parse_args()
    problems, pe = problems_of(args.stub)
    for problem in problems:
        print(f'{args.stub}: {problem}')
    if args.expect:
        missed = [word for word in args.expect if not any(word in problem for problem in problems)]
        for word in missed:
            print(f'{args.stub}: expected a problem naming "{word}", found none')
        return 1 if missed else 0
    if problems:
        return 1
    kind = 'PE32' if pe.is_pe32 else 'PE32+'
    imports = sum(1 for _ in pe.imports())
    print(f'{args.stub}: {kind}, {args.stub.stat().st_size} bytes, {imports} imports, all on the '
          f'Windows 95 lists' + (', i386 instructions only, header for Windows 4.0' if pe.is_pe32 else ''))
    return 0


if __name__ == '__main__':
    sys.exit(main())
