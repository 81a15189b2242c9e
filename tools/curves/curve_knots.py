"""Knots of the fixed transfer curves of the Ferro amplifier model.

Each curve is a list of (x volts, y volts) points it must pass through, in
order of falling x, plus its table grid: N entries, entry 0 at x0 and entry i
at x0 - i / scale with scale = N / (x0 - xmin).
"""


def grid_x(n, x0, xmin, i):
    """Input voltage of table entry i."""
    return x0 - i / (n / (x0 - xmin))


# Preamp curve A: an inverting stage, rises as x falls.
CURVE_A = dict(n=3001, x0=95.0, xmin=-99.5, knots=[
    (95.0, 158.462), (60.0, 177.646), (20.0, 235.089), (5.0, 260.057),
    (0.0, 268.626), (-5.0, 277.207), (-20.0, 296.471), (-60.0, 313.402),
    (-99.4, 316.976)])

# Preamp curve B: a non-inverting stage, falls as x falls.
CURVE_B = dict(n=7000, x0=41.0, xmin=-55.5, knots=[
    (41.0, 342.441), (20.0, 279.652), (5.0, 234.281), (0.0, 219.699),
    (-5.0, 205.480), (-20.0, 165.821), (-40.0, 126.299), (-55.4, 119.014)])

# Power-amp drive curve: 7000 stored entries on the grid of the 5502 that are
# addressed (x0 = 150, xmin = -15). Flat above 13.5 V; the entries past the
# addressed range rise steeply to 376.128 at the last one.
DRIVE_FLAT = 4.30309
DRIVE_FLAT_EDGE = 13.5
DRIVE = dict(n=5502, stored=7000, x0=150.0, xmin=-15.0, knots=[
    (150.0, DRIVE_FLAT), (DRIVE_FLAT_EDGE, DRIVE_FLAT), (10.0, 4.490), (5.0, 4.796),
    (0.0, 5.174), (-5.0, 5.655), (-10.0, 6.298), (-14.9, 7.194)])
DRIVE_TAIL_END = 376.128

# Phase-splitter curves: the two opposite-phase outputs against the drive.
SPLIT_A = dict(n=6001, x0=6.0, xmin=-10.0, knots=[
    (6.0, 440.519), (2.0, 398.434), (0.0, 357.552), (-2.0, 314.069),
    (-6.0, 236.445), (-10.0, 208.734)])
SPLIT_B = dict(n=6001, x0=6.0, xmin=-10.0, knots=[
    (6.0, 191.134), (2.0, 234.462), (0.0, 276.414), (-2.0, 321.332),
    (-6.0, 398.521), (-10.0, 422.209)])

# Power valves: plate voltage of one valve against its grid voltage. Two kinds
# of knot: rows at stated grid voltages, and table entries (the bias plot's
# samples), which sit at the grid voltage of their entry. The +30 V and
# -150 V rows are entries 0 and 1800.
VALVE_GRID = dict(n=1801, x0=30.0, xmin=-150.0)
VALVE_ROWS_X = [0.0, -20.0, -39.0, -51.0, -60.0, -80.0]
VALVE_ENTRIES = [0, 400, 456, 512, 568, 624, 680, 736, 792, 848, 904, 960, 1016,
                 1072, 1128, 1184, 1800]
VALVE_NAMES = ["6L6GC", "EL34", "6550", "KT88"]
VALVE_ROWS = [  # at VALVE_ROWS_X, per type
    [13.34, 32.44, 182.42, 323.35, 390.39, 457.09],
    [6.92, 18.72, 224.57, 404.97, 455.98, 478.56],
    [7.81, 15.72, 46.30, 143.42, 255.25, 407.80],
    [6.73, 12.59, 38.93, 167.87, 315.32, 458.57],
]
VALVE_ENTRY_VALUES = [  # at VALVE_ENTRIES, per type
    [10.15, 19.23, 25.06, 35.07, 54.99, 97.94, 168.28, 242.31, 305.52, 355.16, 392.40,
     419.44, 438.62, 451.97, 461.13, 467.36, 479.86],
    [5.11, 10.38, 13.95, 20.49, 35.79, 88.05, 202.49, 311.34, 387.08, 432.54, 457.08,
     469.34, 475.15, 477.82, 479.03, 479.57, 480.00],
    [6.04, 10.70, 13.14, 16.54, 21.50, 29.22, 42.66, 69.51, 121.22, 191.33, 259.20,
     315.90, 360.40, 394.10, 419.02, 437.09, 479.29],
    [5.38, 8.87, 10.67, 13.20, 17.02, 23.31, 35.41, 64.77, 136.34, 233.21, 320.10,
     383.64, 425.25, 450.30, 464.43, 472.02, 479.99],
]


def valve_knots(t):
    g = VALVE_GRID
    pts = [(grid_x(g["n"], g["x0"], g["xmin"], e), v)
           for e, v in zip(VALVE_ENTRIES, VALVE_ENTRY_VALUES[t])]
    pts += list(zip(VALVE_ROWS_X, VALVE_ROWS[t]))
    pts.sort(key=lambda p: -p[0])
    return pts
