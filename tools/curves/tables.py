"""Tabulates every fixed curve on its grid and mirrors the model's
Catmull-Rom lookup and push-pull construction for checking."""
import numpy as np

import curve_knots as K
import monotone


def grid(n, x0, xmin, count=None):
    count = n if count is None else count
    return x0 - np.arange(count) / (n / (x0 - xmin))


def tabulate(curve_def, method, hold_after=None, **kw):
    """Values on the grid; past the last knot (x below hold_after) the last
    knot's value is held so that the table stays monotonic."""
    x = grid(curve_def["n"], curve_def["x0"], curve_def["xmin"], curve_def.get("stored"))
    f = monotone.make(method, curve_def["knots"], **kw)
    y = f(x)
    if hold_after is not None:
        y = np.where(x < hold_after, curve_def["knots"][-1][1], y)
    return x, y


class Cubic:
    """The model's clamped Catmull-Rom lookup on a table."""

    def __init__(self, table, n, x0, xmin):
        self.t, self.n, self.x0, self.xmin = np.asarray(table), n, x0, xmin
        self.scale = n / (x0 - xmin)
        self.up = x0 - 3.0 / self.scale
        self.lo = xmin + 3.0 / self.scale

    def __call__(self, x):
        x = x + 1e-15
        if x >= self.up:
            return self.t[3]
        if x <= self.lo:
            return self.t[self.n - 4]
        p = (self.x0 - x) * self.scale
        i = int(p)
        f = p - i
        ym, y0, y1, y2 = self.t[i - 1], self.t[i], self.t[i + 1], self.t[i + 2]
        return ((1.5 * y0 - 1.5 * y1 - 0.5 * ym + 0.5 * y2) * f * f * f
                + (ym - 2.5 * y0 + 2.0 * y1 - 0.5 * y2) * f * f + 0.5 * (y1 - ym) * f + y0)


def push_pull(split_a, split_b, valve, bias):
    a = Cubic(split_a, 6001, 6.0, -10.0)
    b = Cubic(split_b, 6001, 6.0, -10.0)
    v = Cubic(valve, 1801, 30.0, -150.0)
    a0, b0 = a(0.0), b(0.0)
    pp = np.empty(3000)
    x = 11.0
    for i in range(3000):
        ga = a(x) - a0 + bias
        gb = b(x) - b0 + bias
        pp[i] = -(v(ga) - v(gb)) / np.sqrt(529.375)
        x -= 0.007333333333333333
    c = Cubic(pp, 3000, 11.0, -11.0)
    k = (c(1.0) - c(-1.0)) * 0.5
    return pp, k
