#!/usr/bin/env python3
"""Writes an IBIS 4.2 file of model tables for timing ibislint.

usage: gen-model-tables.py OUT.ibs [MEGABYTES]   (default 50)

Each model is an I/O buffer with four I-V tables and two waveforms of 1000
rows each (the version's row limit), so the reader's time is spent where real
memory-device files spend it: in table rows, across hundreds of models.
"""
import os
import sys


def table(out, rows, first, step):
    for i in range(rows):
        v = first + i * step
        out.write("%.4e %.4em %.4em %.4em\n" % (v, v * 1.1, v * 0.9, v * 1.3))


def model(out, n):
    out.write("[Model] m%d\nModel_type I/O\nVinl = 0.8\nVinh = 2.0\n"
              "Vmeas = 1.5\nC_comp 1p 0.9p 1.1p\n"
              "[Voltage Range] 3.3 3.0 3.6\n" % n)
    for name in ("Pulldown", "Pullup", "GND Clamp", "POWER Clamp"):
        out.write("[%s]\n" % name)
        table(out, 1000, -3.3, 0.0066)
    out.write("[Ramp]\ndV/dt_r 1.0/0.5n 0.9/0.6n 1.1/0.4n\n"
              "dV/dt_f 1.0/0.5n 0.9/0.6n 1.1/0.4n\n")
    for name, fix in (("Rising", "0.0"), ("Falling", "3.3")):
        out.write("[%s Waveform]\nR_fixture = 50\nV_fixture = %s\n" % (name, fix))
        for i in range(1000):
            out.write("%.3fp %.4f %.4f %.4f\n" % (i * 10.0, i / 1000.0,
                                                 i / 1100.0, i / 900.0))


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    path = sys.argv[1]
    limit = float(sys.argv[2] if len(sys.argv) > 2 else 50) * 1e6
    name = os.path.basename(path)
    with open(path, "w") as out:
        out.write("[IBIS Ver] 4.2\n[File Name] %s\n[File Rev] 1.0\n" % name)
        n = 0
        while out.tell() < limit:
            model(out, n)
            n += 1
        out.write("[End]\n")


if __name__ == "__main__":
    main()
