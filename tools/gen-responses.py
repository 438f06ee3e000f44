#!/usr/bin/env python3
"""Generates the models' tabulated impulse responses and their time grid.

The chip's equaliser and output-driver responses were characterised at a
few points only: the first three samples, every 32nd sample, the peak and
the trough (k and value), and the area under the curve (sum of the samples
times the grid step, the low-frequency gain). This program turns those
points into full 1537-entry tables on the common time grid and writes them
as C++ sources:

    models/ResponseGrid.cpp             ResponseGrid (shared by both models)
    models/corvin_rx1/EqResponse0.cpp   EqResponse0
    models/corvin_rx1/EqResponse1.cpp   EqResponse1
    models/corvin_rx1/EqResponse2.cpp   EqResponse2
    models/corvin_tx1/TxOutputResponse.cpp

Usage: tools/gen-responses.py [project-root]   (default: this file's ../)

How a table is built:

1. The characterised points become interpolation nodes. The first and the
   last sample of each table carry half weight (the response was sampled
   with trapezoidal end weights), so the nodes at k = 0 and k = 512 use
   twice the stored value; the stored entries themselves keep the
   characterised values, which makes entry 512 about half of entry 511.
2. A monotone piecewise-cubic Hermite interpolant (Fritsch-Carlson slopes
   with Fritsch-Butland weights, as in PCHIP) runs through the nodes. It
   is monotone between neighbouring nodes, so every local extremum sits on
   a node, and the characterised peak and trough stay the global extremes.
3. The interpolant's area differs from the characterised one by up to a
   few percent. Each interval between nodes gets a bump s^2 (1-s)^2 (zero
   value and zero slope at both nodes) whose height is a common factor
   times that interval's own safe height: the largest height that keeps
   the interval monotone, halved. The common factor is solved so that the
   area matches. Nodes, slopes at nodes, extremum positions and the zeros
   are untouched, and the curve stays C1.
4. Entries 513 to 1536 are exactly 0.0.

The program checks every one of these properties before writing and stops
with an error if any fails. Python 3 standard library only.
"""

import math
import os
import sys

POINTS = 1537          # entries per table
SPAN = 512             # last non-zero entry
STEP = 2.0e-9 / 1536   # grid step in seconds (exact value, for the area)

# The grid is t[k] = k x step, written to 16 significant digits. The product
# is taken in double arithmetic with the step as its 17-digit decimal, which
# is what reproduces the reference entries t[3] = 3.906249999999999e-12,
# t[512] = 6.666666666666666e-10 and t[1536] = 2e-09.
GRID_STEP_LITERAL = 1.3020833333333333e-12

# Characterised points, as decimal text: the tables must hold the nearest
# double of each. "every32" lists k = 0, 32, ..., 512.
TABLES = {
    "EqResponse0": {
        "file": "corvin_rx1/EqResponse0.cpp",
        "header": "models/corvin_rx1/EqResponses.h",
        "what": "impulse response of the receiver equaliser, setting 0 (weakest)",
        "first": ["6144388.290225997", "12030634.00126524", "11396591.76085288"],
        "max": (105, "10243651967.63225"),
        "min": (225, "-937575318.7026072"),
        "area": "0.99737",
        "every32": [
            "6144388.290225997", "81655939.10834895", "3630419503.210349",
            "9866504565.308443", "8197738043.941463", "3436583060.10438",
            "213119393.485342", "-936179711.3380157", "-428657563.7663818",
            "30635659.89949133", "-33209673.22960999", "-92840205.51525843",
            "-36647744.307456", "-3207636.636144352", "-1384686.934266223",
            "3534380.395310971", "4084850.255608438",
        ],
    },
    "EqResponse1": {
        "file": "corvin_rx1/EqResponse1.cpp",
        "header": "models/corvin_rx1/EqResponses.h",
        "what": "impulse response of the receiver equaliser, setting 1 (default)",
        "first": ["3728472.20771294", "6994935.227009891", "5924503.170193052"],
        "max": (93, "23168381095.65586"),
        "min": (186, "-8428512734.090394"),
        "area": "0.99789",
        "every32": [
            "3728472.20771294", "247566478.8477702", "11043309215.68641",
            "23036498761.59478", "7768843654.397676", "-5965303672.809458",
            "-8331672939.220155", "-4948017007.347902", "-177796480.4764983",
            "1103235726.75066", "162708473.2669002", "-162240901.5530665",
            "35160494.08012841", "72155211.16233432", "21258954.59863508",
            "22463091.56184708", "17650920.98028193",
        ],
    },
    "EqResponse2": {
        "file": "corvin_rx1/EqResponse2.cpp",
        "header": "models/corvin_rx1/EqResponses.h",
        "what": "impulse response of the receiver equaliser, setting 2 (strongest)",
        "first": ["-10431157.16434806", "-20809267.94966542", "-20179326.36018638"],
        "max": (86, "54211716505.42526"),
        "min": (158, "-32211435611.95316"),
        "area": "0.99800",
        "every32": [
            "-10431157.16434806", "932019108.7202771", "31864692163.73983",
            "49193480569.53557", "-8465562086.201796", "-32129082614.31444",
            "-20786454641.39208", "-5037069748.364045", "5582550421.614349",
            "3737695223.053613", "-777319660.4019434", "-782034697.5800346",
            "297912278.9184933", "243204046.8790649", "788772.8012139216",
            "29151964.3339508", "39345607.05341417",
        ],
    },
    "TxOutputResponse": {
        "file": "corvin_tx1/TxOutputResponse.cpp",
        "header": "models/corvin_tx1/TxOutputResponse.h",
        "what": "impulse response of the transmitter output stage",
        "first": ["12753751.86450742", "24998118.88325637", "23655165.16440408"],
        "max": (100, "8755035834.652988"),
        "min": (200, "-487426403.4732108"),
        "area": "0.99935",
        "every32": [
            "12753751.86450742", "617862177.9646188", "4943813267.696141",
            "8698953126.610886", "6489202500.679502", "1806049066.696305",
            "-419087298.2985882", "-67816658.62347348", "600132004.8998826",
            "556113839.1150681", "211169403.5348547", "54327755.53815546",
            "89633618.35114673", "136060247.166542", "125246999.1015638",
            "93621971.89403354", "39814034.05619852",
        ],
    },
}


class GenerationError(Exception):
    pass


def check(cond, what):
    if not cond:
        raise GenerationError(what)


# --------------------------------------------------------------------------
# Time grid


def grid_text():
    """The grid entries as 16-significant-digit decimal text."""
    return ["%.16g" % (k * GRID_STEP_LITERAL) for k in range(POINTS)]


# --------------------------------------------------------------------------
# Monotone cubic Hermite interpolation


def pchip_slopes(x, y):
    n = len(x)
    h = [x[i + 1] - x[i] for i in range(n - 1)]
    d = [(y[i + 1] - y[i]) / h[i] for i in range(n - 1)]
    m = [0.0] * n
    for i in range(1, n - 1):
        if d[i - 1] * d[i] <= 0.0:
            m[i] = 0.0  # local extremum (or flat): horizontal tangent
        else:
            w1 = 2.0 * h[i] + h[i - 1]
            w2 = h[i] + 2.0 * h[i - 1]
            m[i] = (w1 + w2) / (w1 / d[i - 1] + w2 / d[i])

    def end_slope(h0, h1, d0, d1):
        s = ((2.0 * h0 + h1) * d0 - h0 * d1) / (h0 + h1)
        if s * d0 <= 0.0:
            return 0.0
        if d0 * d1 <= 0.0 and abs(s) > abs(3.0 * d0):
            return 3.0 * d0
        return s

    m[0] = end_slope(h[0], h[1], d[0], d[1])
    m[-1] = end_slope(h[-1], h[-2], d[-1], d[-2])
    return m


def hermite_shape(s, mu0, mu1):
    """Normalised Hermite cubic from 0 to 1 with scaled end slopes mu0, mu1:
    value and derivative at s in [0, 1]."""
    s2, s3 = s * s, s * s * s
    value = (-2.0 * s3 + 3.0 * s2) + mu0 * (s3 - 2.0 * s2 + s) + mu1 * (s3 - s2)
    slope = 6.0 * s * (1.0 - s) + mu0 * (3.0 * s2 - 4.0 * s + 1.0) + mu1 * (3.0 * s2 - 2.0 * s)
    return value, slope


def bump(s):
    return s * s * (1.0 - s) * (1.0 - s)


def bump_slope(s):
    return 2.0 * s * (1.0 - s) * (1.0 - 2.0 * s)


def safe_bump_height(mu0, mu1, sign):
    """Largest c >= 0 for which phi + sign * c * bump stays non-decreasing on
    [0, 1], phi being the normalised Hermite shape; c = 0 when none is."""
    samples = [i / 2000.0 for i in range(1, 2000)]

    def monotone(c):
        for s in samples:
            if hermite_shape(s, mu0, mu1)[1] + sign * c * bump_slope(s) < 0.0:
                return False
        return True

    if not monotone(0.0):
        return 0.0
    lo, hi = 0.0, 64.0
    if monotone(hi):
        return hi
    for _ in range(60):
        mid = 0.5 * (lo + hi)
        if monotone(mid):
            lo = mid
        else:
            hi = mid
    return lo


# --------------------------------------------------------------------------
# Response tables


def build_response(spec):
    first = [float(v) for v in spec["first"]]
    every = [float(v) for v in spec["every32"]]
    kmax, vmax = spec["max"][0], float(spec["max"][1])
    kmin, vmin = spec["min"][0], float(spec["min"][1])
    area = float(spec["area"])
    check(len(every) == SPAN // 32 + 1, "every32 must list k = 0 to 512")
    check(first[0] == every[0], "k = 0 is listed twice with different values")

    # Stored entries at the characterised points.
    fixed = {0: first[0], 1: first[1], 2: first[2], kmax: vmax, kmin: vmin}
    for j, v in enumerate(every):
        check(fixed.get(32 * j, v) == v, "conflicting values at k = %d" % (32 * j))
        fixed[32 * j] = v

    # Interpolation nodes: the half-weight end samples count double.
    nodes = dict(fixed)
    nodes[0] = 2.0 * fixed[0]
    nodes[SPAN] = 2.0 * fixed[SPAN]
    xs = sorted(nodes)
    ys = [nodes[k] for k in xs]
    ms = pchip_slopes(xs, ys)

    # Bump direction: the sign of the area still missing.
    h = [0.0] * POINTS
    intervals = []
    for i in range(len(xs) - 1):
        a, b = xs[i], xs[i + 1]
        length = b - a
        dy = ys[i + 1] - ys[i]
        mu0 = ms[i] * length / dy if dy != 0.0 else 0.0
        mu1 = ms[i + 1] * length / dy if dy != 0.0 else 0.0
        for k in range(a, b):
            s = (k - a) / length
            if dy != 0.0:
                h[k] = ys[i] + dy * hermite_shape(s, mu0, mu1)[0]
            else:
                h[k] = ys[i]
        intervals.append((a, b, dy, mu0, mu1))
    for k, v in fixed.items():
        h[k] = v

    target = area / STEP
    missing = target - math.fsum(h)
    direction = 1.0 if missing > 0.0 else -1.0

    # Safe bump per interval, then the common factor that fixes the area.
    shapes = []
    gain = 0.0
    for a, b, dy, mu0, mu1 in intervals:
        if b - a < 4 or dy == 0.0:
            continue
        sign = direction * (1.0 if dy > 0.0 else -1.0)
        height = 0.5 * safe_bump_height(mu0, mu1, sign) * abs(dy)
        if height == 0.0:
            continue
        weights = [(k, bump((k - a) / (b - a))) for k in range(a + 1, b)]
        shapes.append((height, weights))
        gain += height * math.fsum(w for _, w in weights)
    check(gain > 0.0, "no interval can take an area correction")
    factor = missing / (direction * gain)
    check(0.0 <= factor <= 1.0,
          "area correction %.3g exceeds the safe bump heights" % factor)
    for height, weights in shapes:
        for k, w in weights:
            h[k] += direction * factor * height * w

    # Last ulps of the area: spread the remainder over the largest entries
    # that are not characterised points.
    free = sorted((k for k in range(1, SPAN) if k not in fixed),
                  key=lambda k: -abs(h[k]))[:64]
    for _ in range(4):
        rest = target - math.fsum(h)
        for k in free:
            h[k] += rest / len(free)

    verify(h, fixed, kmax, kmin, area, nodes)
    return h


def local_extrema(h, lo, hi):
    """k in [lo, hi] where the first difference changes sign strictly."""
    found = []
    for k in range(lo, hi + 1):
        left, right = h[k] - h[k - 1], h[k + 1] - h[k]
        if left * right < 0.0 or (left == 0.0) != (right == 0.0):
            found.append(k)
    return found


def verify(h, fixed, kmax, kmin, area, nodes):
    check(len(h) == POINTS, "wrong length")
    for k, v in fixed.items():
        check(h[k] == v, "characterised point k = %d moved" % k)
    check(all(v == 0.0 for v in h[SPAN + 1:]), "non-zero entry after k = 512")
    check(all(math.isfinite(v) for v in h), "non-finite entry")
    check(max(h) == h[kmax] and h.index(max(h)) == kmax, "maximum not at k = %d" % kmax)
    check(min(h) == h[kmin] and h.index(min(h)) == kmin, "minimum not at k = %d" % kmin)
    check(h.count(h[kmax]) == 1 and h.count(h[kmin]) == 1, "extremum not unique")
    got = math.fsum(h) * STEP
    check(abs(got - area) <= 1e-12, "area %.15g instead of %.15g" % (got, area))
    ratio = h[SPAN] / h[SPAN - 1]
    check(0.45 <= ratio <= 0.55, "entry 512 / entry 511 = %.4f" % ratio)
    # Every local extremum sits on a characterised point; 511 is allowed as
    # the last full-weight sample before the half-weight end.
    allowed = set(nodes) | {SPAN - 1}
    stray = [k for k in local_extrema(h, 1, SPAN - 1) if k not in allowed]
    check(not stray, "local extrema between characterised points at %s" % stray)


# --------------------------------------------------------------------------
# Output


def format_array(values):
    lines = []
    for i in range(0, len(values), 4):
        lines.append("    " + ", ".join(values[i:i + 4]) + ",")
    return "\n".join(lines)


def write_table(path, header, name, what, values):
    text = (
        "// %s: %s, in 1/s,\n"
        "// at the times of ResponseGrid. Entries from 513 on are zero.\n"
        "// Generated by tools/gen-responses.py; edit that program, not this file.\n"
        "#include \"%s\"\n"
        "\n"
        "const double %s[ResponsePointCount] = {\n"
        "%s\n"
        "};\n"
    ) % (name, what, header, name, format_array(values))
    with open(path, "w") as f:
        f.write(text)


def write_grid(path, values):
    text = (
        "// ResponseGrid: the time stamps, in seconds, of every tabulated\n"
        "// response: t[k] = k x 2 ns / 1536, to 16 significant digits.\n"
        "// Generated by tools/gen-responses.py; edit that program, not this file.\n"
        "#include \"models/ResponseGrid.h\"\n"
        "\n"
        "const double ResponseGrid[ResponsePointCount] = {\n"
        "%s\n"
        "};\n"
    ) % format_array(values)
    with open(path, "w") as f:
        f.write(text)


def double_text(v):
    text = "%.17g" % v
    if not any(c in text for c in ".en"):
        text += ".0"
    check(float(text) == v, "%r does not round-trip" % v)
    return text


def main(argv):
    root = argv[1] if len(argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    models = os.path.join(root, "models")
    try:
        grid = grid_text()
        check(grid[3] == "3.906249999999999e-12", "grid entry 3")
        check(grid[512] == "6.666666666666666e-10", "grid entry 512")
        check(grid[1536] == "2e-09", "grid entry 1536")
        grid_values = [float(t) for t in grid]
        check(all(a < b for a, b in zip(grid_values, grid_values[1:])), "grid not rising")
        write_grid(os.path.join(models, "ResponseGrid.cpp"), [double_text(v) for v in grid_values])
        for name, spec in TABLES.items():
            h = build_response(spec)
            write_table(os.path.join(models, spec["file"]), spec["header"], name, spec["what"],
                        [double_text(v) for v in h])
    except GenerationError as e:
        sys.stderr.write("gen-responses: %s\n" % e)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
