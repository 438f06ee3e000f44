#!/usr/bin/env python3
"""Reference figures of a Touchstone channel from scikit-rf, for ami-sim's
comparison test.

usage: skrf_reference.py FILE PORTS
PORTS: "in,out" (single-ended) or "in+,in-,out+,out-" (differential).
Prints "freq <Hz> <magnitude> <phase in degrees>" for every 50th frequency
of the file, then "final <step response final value>" and
"delay <seconds to half the final value>". Exits 77 when scikit-rf is
missing, so the caller can skip.
"""
import sys

try:
    import numpy as np
    import skrf
except ImportError:
    sys.exit(77)

# Older scikit-rf still spells numpy's removed alias np.bool.
if "bool" not in np.__dict__:
    np.bool = bool


def through(ntwk, ports):
    if len(ports) == 2:
        return ntwk.s[:, ports[1] - 1, ports[0] - 1]
    # scikit-rf takes ports 1 and 2 as the first pair, 3 and 4 as the second.
    order = [p - 1 for p in ports]
    se = skrf.Network(frequency=ntwk.frequency, s=ntwk.s[:, order][:, :, order], z0=50)
    se.se2gmm(p=2)
    return se.s[:, 1, 0]


def main():
    ntwk = skrf.Network(sys.argv[1])
    ports = [int(p) for p in sys.argv[2].split(",")]
    h = through(ntwk, ports)
    f = ntwk.frequency.f
    for k in range(0, len(f), 50):
        print("freq %.10g %.10g %.10g" % (f[k], abs(h[k]), np.degrees(np.angle(h[k]))))
    one = skrf.Network(frequency=ntwk.frequency, s=h.reshape(-1, 1, 1), z0=50)
    one = one.extrapolate_to_dc(kind="linear")
    t, step = one.step_response(window="hamming", pad=0)
    final = float(np.mean(step[(t > 0.5 * t.max()) & (t < 0.75 * t.max())]))
    late = np.nonzero((t >= 0) & (step >= 0.5 * final))[0][0]
    t0, t1, s0, s1 = t[late - 1], t[late], step[late - 1], step[late]
    print("final %.10g" % final)
    print("delay %.10g" % (t0 + (0.5 * final - s0) / (s1 - s0) * (t1 - t0)))


if __name__ == "__main__":
    main()
