#!/usr/bin/env python3
"""Reference figures of a Touchstone channel from scikit-rf, for ami-sim's
comparison test.

usage: skrf_reference.py FILE PORTS
       skrf_reference.py --terminated FILE PORTS RD CD RT CT LEG...
PORTS: "in,out" (single-ended) or "in+,in-,out+,out-" (differential).
Prints "freq <Hz> <magnitude> <phase in degrees>" for every 50th frequency
of the file, then "final <step response final value>" and
"delay <seconds to half the final value>". Exits 77 when scikit-rf is
missing, so the caller can skip.

--terminated: the through response between a driver (resistance RD, pad
capacitance CD) and a receiver (termination RT, pad capacitance CT), each
leg's package "R,L,C" (series R and L from the pad, C at the pin) given per
port of PORTS in its order, the other ports terminated in 50 ohm. Built by
cascading the package and pad networks onto the file's ports and
renormalising the ends to the driver's and receiver's resistances; printed
as 2 V_pad / V_source (differentially for four ports) for every 50th
frequency.
"""
import sys

try:
    import numpy as np
    import skrf
except ImportError:
    sys.exit(77)

# Older scikit-rf still spells numpy's removed aliases np.bool and
# np.complex.
if "bool" not in np.__dict__:
    np.bool = bool
if "complex" not in np.__dict__:
    np.complex = complex


def through(ntwk, ports):
    if len(ports) == 2:
        return ntwk.s[:, ports[1] - 1, ports[0] - 1]
    # scikit-rf takes ports 1 and 2 as the first pair, 3 and 4 as the second.
    order = [p - 1 for p in ports]
    se = skrf.Network(frequency=ntwk.frequency, s=ntwk.s[:, order][:, :, order], z0=50)
    se.se2gmm(p=2)
    return se.s[:, 1, 0]


def leg(media, r, l, c, pad, driver):
    """The package and pad of one leg: port 0 at the pad for a driver, at
    the pin for a receiver."""
    series = media.resistor(r) ** media.inductor(l)
    if driver:
        return media.shunt_capacitor(pad) ** series ** media.shunt_capacitor(c)
    return media.shunt_capacitor(c) ** series ** media.shunt_capacitor(pad)


def terminated(args):
    ntwk = skrf.Network(args[0])
    ports = [int(p) - 1 for p in args[1].split(",")]
    rd, cd, rt, ct = (float(v) for v in args[2:6])
    legs = [[float(v) for v in text.split(",")] for text in args[6:]]
    media = skrf.media.DefinedGammaZ0(frequency=ntwk.frequency, z0=50)
    half = len(ports) // 2
    z_end = [50.0] * ntwk.nports
    # Connecting the leg first puts its far end at index 0; it is moved back
    # to the place of the port it replaced.
    for i, p in enumerate(ports):
        driver = i < half
        r, l, c = legs[i]
        two = leg(media, r, l, c, cd if driver else ct, driver)
        ntwk = skrf.connect(two, 1 if driver else 0, ntwk, p)
        ntwk.renumber(list(range(p + 1)), [p] + list(range(p)))
        z_end[p] = rd if driver else rt
    ntwk.renormalize(np.array(z_end))
    emf = [1.0] if half == 1 else [0.5, -0.5]
    a = np.zeros((ntwk.nports,), dtype=complex)
    for i in range(half):
        a[ports[i]] = emf[i] / (2 * np.sqrt(rd))
    b = ntwk.s @ a
    sign = [1.0, -1.0]
    h = 2 * sum(sign[i] * np.sqrt(rt) * b[:, ports[half + i]] for i in range(half))
    f = ntwk.frequency.f
    for k in range(0, len(f), 50):
        print("freq %.10g %.10g %.10g" % (f[k], abs(h[k]), np.degrees(np.angle(h[k]))))


def main():
    if sys.argv[1] == "--terminated":
        terminated(sys.argv[2:])
        return
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
