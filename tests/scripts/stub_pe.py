#!/usr/bin/env python3
"""Checks, from objdump's listings of a stub, what Windows 95 to 11 and a 386 need of it.

    stub_pe.py STUB [--expect WORD ...]

Every stub (PE32 or PE32+) imports only what tests/data/windows95/DLL.txt lists (a DLL without a
list, msvcrt.dll among them, is refused outright), nothing by ordinal, has no TLS directory (no C
runtime) and a manifest resource 1 asking to run asInvoker. The PE32 (the product) also has a header
for Windows 4.0, no instruction newer than the i386, and at most 32,768 bytes: all taken from disk 1.
Prints one line per problem and exits 1, or one line saying what passed. With --expect, passes only
when each WORD appears in a problem: how the tests show that the check catches a stub built the old way.
"""
import argparse
import collections
import pathlib
import re
import subprocess
import sys

ALLOW_LISTS = pathlib.Path(__file__).resolve().parents[1] / 'data' / 'windows95'
SIZE_BUDGET = 32768
# As objdump -p prints them for a PE32 fit for Windows 4.0.
PE32_HEADER = {'MajorOSystemVersion': '4', 'MinorOSystemVersion': '0', 'MajorSubsystemVersion': '4',
               'MinorSubsystemVersion': '0', 'Subsystem': '00000002', 'SectionAlignment': '00001000',
               'FileAlignment': '00000200'}
# Mnemonics of the 486 and later (AT&T syntax, as objdump prints them), after any prefix.
NEWER_THAN_I386 = re.compile(
    r'^ *[0-9a-f]+:\t(?:(?:lock|rep|repz|repnz|data16) +)?(cmov\w+|fcmov\w+|f(u)?comip?|cmpxchg\w*|bswap|'
    r'xadd\w?|cpuid|rdtscp?|rdmsr|wrmsr|rdpmc|sys(enter|exit|call|ret)|ud2|movbe|popcnt|lzcnt|tzcnt|'
    r'fisttp\w*|prefetch\w*|[lms]fence|pause|emms|invd|wbinvd|invlpg|\S+(?=[^\n]*%[xyz]?mm\d))\b', re.M)


def objdump(flavour, option, stub):
    return subprocess.run([f'{flavour}-w64-mingw32-objdump', option, '--no-show-raw-insn', str(stub)],
                          capture_output=True, text=True, check=True).stdout


def imports(headers):
    """(dll, name or None for an ordinal) for every import."""
    for dll, table in re.findall(r'^\tDLL Name: (\S+)\n.*\n((?:\t[0-9a-f]+\s+[0-9a-f]+\s+\S+.*\n)*)', headers, re.M):
        for name in re.findall(r'^\t[0-9a-f]+\s+[0-9a-f]+\s+(\S+)', table, re.M):
            yield dll, None if name == '<none>' else name


def problems_of(stub, headers):
    problems = set()
    for dll, name in imports(headers):
        listed = ALLOW_LISTS / f'{dll.upper().removesuffix(".DLL")}.txt'
        if not listed.is_file():
            problems.add(f'imports from {dll}, which is not a system DLL of Windows 95 the stub may use')
        elif name is None:
            problems.add(f'imports from {dll} by ordinal, which differ between Windows versions')
        elif name not in {line.strip() for line in listed.read_text().splitlines() if not line.startswith('#')}:
            problems.add(f'imports {name} from {dll}, which is not on {ALLOW_LISTS.name}/{listed.name} '
                         '(the exports of Windows 95 and NT 4.0 checked so far)')
    problems = sorted(problems) if any(imports(headers)) else ['has no imports objdump -p shows (a new format?)']
    if not re.search(r'^Entry 9 0+ 0+ ', headers, re.M):
        problems.append('has a TLS directory (the C runtime\'s thread-local storage support)')
    if not (re.search(r'Entry: ID: 0x000018, .*\n.*Name Table.*\n.*Entry: ID: 0x000001,', headers)
            and b'level="asInvoker"' in stub.read_bytes()):
        problems.append('has no manifest resource 1 asking to run asInvoker')
    if '(PE32)' in headers:
        fields = dict(re.findall(r'^(\w+)\t+(\S+)', headers, re.M))
        problems += [f'{field} is {fields.get(field)}, not {wanted}'
                     for field, wanted in PE32_HEADER.items() if fields.get(field) != wanted]
        found = collections.Counter(m.group(1) for m in NEWER_THAN_I386.finditer(objdump('i686', '-d', stub)))
        problems += [f'holds {count} {mnemonic} instruction(s), which the i386 does not have'
                     for mnemonic, count in sorted(found.items())]
        if stub.stat().st_size > SIZE_BUDGET:
            problems.append(f'is {stub.stat().st_size} bytes, over its budget of {SIZE_BUDGET}')
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('stub', type=pathlib.Path)
    parser.add_argument('--expect', nargs='+', metavar='WORD', default=[])
    args = parser.parse_args()
    headers = objdump('x86_64', '-p', args.stub)  # this objdump reads PE32 and PE32+ alike
    problems = problems_of(args.stub, headers)
    missed = [f'expected a problem naming "{word}", found none'
              for word in args.expect if not any(word in problem for problem in problems)]
    for problem in problems + missed:
        print(f'{args.stub}: {problem}')
    if problems or missed:
        return 1 if missed or not args.expect else 0
    pe32 = '(PE32)' in headers
    print(f'{args.stub}: {"PE32" if pe32 else "PE32+"}, {args.stub.stat().st_size} bytes, '
          f'{sum(1 for _ in imports(headers))} imports, all on the Windows 95 lists'
          + (', i386 instructions only, header for Windows 4.0' if pe32 else ''))
    return 0


if __name__ == '__main__':
    sys.exit(main())
