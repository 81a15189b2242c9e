"""Monotone C1 interpolants through knots: Steffen's method, and PCHIP on a
logit-transformed y (which bulges less between knots and saturates towards
its bounds the way a valve stage does)."""
import numpy as np
from scipy.interpolate import PchipInterpolator


def _hermite(xk, yk, dk, x):
    """Cubic Hermite through (xk, yk) with slopes dk, xk increasing."""
    i = np.clip(np.searchsorted(xk, x, side="right") - 1, 0, len(xk) - 2)
    h = xk[i + 1] - xk[i]
    t = (x - xk[i]) / h
    t2, t3 = t * t, t * t * t
    return ((2 * t3 - 3 * t2 + 1) * yk[i] + (t3 - 2 * t2 + t) * h * dk[i]
            + (-2 * t3 + 3 * t2) * yk[i + 1] + (t3 - t2) * h * dk[i + 1])


def steffen(xk, yk):
    """Steffen (1990): monotone, C1, no overshoot; xk increasing."""
    xk, yk = np.asarray(xk, float), np.asarray(yk, float)
    h = np.diff(xk)
    s = np.diff(yk) / h
    n = len(xk)
    d = np.zeros(n)
    for i in range(1, n - 1):
        p = (s[i - 1] * h[i] + s[i] * h[i - 1]) / (h[i - 1] + h[i])
        d[i] = (np.sign(s[i - 1]) + np.sign(s[i])) * min(abs(s[i - 1]), abs(s[i]), 0.5 * abs(p))

    def end(s0, s1, h0, h1):
        if len(h) == 1:
            return s0
        p = s0 * (1 + h0 / (h0 + h1)) - s1 * h0 / (h0 + h1)
        if p * s0 <= 0:
            return 0.0
        if abs(p) > 2 * abs(s0):
            return 2 * s0
        return p

    d[0] = end(s[0], s[1] if n > 2 else s[0], h[0], h[1] if n > 2 else h[0])
    d[-1] = end(s[-1], s[-2] if n > 2 else s[-1], h[-1], h[-2] if n > 2 else h[-1])
    return lambda x: _hermite(xk, yk, d, np.asarray(x, float))


def pchip(xk, yk):
    f = PchipInterpolator(np.asarray(xk, float), np.asarray(yk, float), extrapolate=True)
    return lambda x: f(np.asarray(x, float))


def logit_pchip(xk, yk, margin):
    """PCHIP of z = ln((y - lo) / (hi - y)); lo and hi lie `margin` (a fraction
    of the knots' range) outside the knot values."""
    yk = np.asarray(yk, float)
    span = yk.max() - yk.min()
    lo, hi = yk.min() - margin * span, yk.max() + margin * span
    z = np.log((yk - lo) / (hi - yk))
    f = PchipInterpolator(np.asarray(xk, float), z, extrapolate=True)

    def ev(x):
        zz = f(np.asarray(x, float))
        return lo + (hi - lo) / (1.0 + np.exp(-zz))
    return ev


def make(method, knots, **kw):
    """Interpolant through knots given in order of falling x."""
    xs = np.array([p[0] for p in knots])[::-1]
    ys = np.array([p[1] for p in knots])[::-1]
    if method == "steffen":
        return steffen(xs, ys)
    if method == "pchip":
        return pchip(xs, ys)
    if method == "logit":
        return logit_pchip(xs, ys, kw.get("margin", 0.02))
    raise ValueError(method)
