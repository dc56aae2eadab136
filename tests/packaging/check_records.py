#!/usr/bin/env python3
"""Checks the ctypes records of signaltalvo.py against SignalTalvo.h: the
size of every record and the offset and size of every field, as the C
compiler lays them out, must be those of the Python classes.

    check_records.py <folder of SignalTalvo.h> <folder of signaltalvo.py> [<C compiler>]
"""
import ctypes
import subprocess
import sys
import tempfile
from pathlib import Path


def c_program(records):
    lines = ['#include <stddef.h>', '#include <stdio.h>', '#include "SignalTalvo.h"', "int main(void) {"]
    for record in records:
        name = record.__name__
        lines.append(f'    printf("{name} %zu\\n", sizeof({name}));')
        for field, _ in record._fields_:
            lines.append(f'    printf("{name}.{field} %zu %zu\\n", offsetof({name}, {field}), '
                         f'sizeof((({name} *)0)->{field}));')
    lines += ["    return 0;", "}"]
    return "\n".join(lines) + "\n"


def python_layout(records):
    out = []
    for record in records:
        name = record.__name__
        out.append(f"{name} {ctypes.sizeof(record)}")
        for field, kind in record._fields_:
            out.append(f"{name}.{field} {getattr(record, field).offset} {ctypes.sizeof(kind)}")
    return out


def main(argv):
    header_dir, module_dir = Path(argv[1]), Path(argv[2])
    compiler = argv[3] if len(argv) > 3 else "cc"
    sys.path.insert(0, str(module_dir))
    import signaltalvo

    with tempfile.TemporaryDirectory() as work:
        source, program = Path(work) / "layout.c", Path(work) / "layout"
        source.write_text(c_program(signaltalvo.RECORDS))
        subprocess.run([compiler, "-std=c11", "-I", str(header_dir), "-o", str(program), str(source)], check=True)
        c_layout = subprocess.run([str(program)], check=True, capture_output=True, text=True).stdout.splitlines()

    py_layout = python_layout(signaltalvo.RECORDS)
    wrong = [f"C: {c}  Python: {p}" for c, p in zip(c_layout, py_layout) if c != p]
    if len(c_layout) != len(py_layout):
        wrong.append(f"{len(c_layout)} C lines, {len(py_layout)} Python lines")
    for line in wrong:
        print(line)
    print(f"{len(py_layout)} sizes and offsets compared, {len(wrong)} differ")
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
