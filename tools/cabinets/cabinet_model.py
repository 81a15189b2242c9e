"""A guitar speaker cabinet as a cascade of second-order sections plus the
delayed sound of the other speakers, sampled into an impulse response.

The model, from the low end up:
- Speaker resonance in its box: a second-order high-pass at the system's
  resonance fc with its Q (Qtc). A closed back stiffens the air behind the cone,
  raising fc and Q and adding a box bump; an open back lets the back wave round
  the baffle cancel the front wave below roughly c / (2 pi D) (D the front-to-
  back path), one more order of low cut and no bump.
- Closed backs ring: the standing wave between baffle and back panel (depth d,
  first mode c / 2d) shows as a narrow dip in the low mids.
- Cone break-up: above a few hundred hertz the paper cone stops moving as a
  piston; its bending modes give the peaks and dips of 1.5..5 kHz, and above
  break-up the output falls steeply (a fourth-order low-pass).
- Microphone position: close to the dust cap (x = 0) the mic hears the cone's
  top end; towards the edge (x = 1) the high frequencies beam away (a first-
  order low-pass that moves down with x). A close dynamic mic adds proximity
  bass (a low shelf that grows as the distance shrinks).
- Several speakers: the mic is on one; each other speaker's sound arrives later
  by the path difference sqrt(dist^2 + s^2) - dist, weaker by dist / path and
  off axis (low-passed), which combs the response in the mids.
"""

import math

import numpy as np
from scipy import signal

C_AIR = 343.0  # m/s


def _peak(fs, f0, q, db):
    a = 10 ** (db / 40)
    w = 2 * math.pi * f0 / fs
    al = math.sin(w) / (2 * q)
    b = [1 + al * a, -2 * math.cos(w), 1 - al * a]
    aa = [1 + al / a, -2 * math.cos(w), 1 - al / a]
    return np.array(b) / aa[0], np.array(aa) / aa[0]


def _highpass2(fs, f0, q):
    w = 2 * math.pi * f0 / fs
    al = math.sin(w) / (2 * q)
    cw = math.cos(w)
    b = [(1 + cw) / 2, -(1 + cw), (1 + cw) / 2]
    a = [1 + al, -2 * cw, 1 - al]
    return np.array(b) / a[0], np.array(a) / a[0]


def _lowpass2(fs, f0, q):
    w = 2 * math.pi * f0 / fs
    al = math.sin(w) / (2 * q)
    cw = math.cos(w)
    b = [(1 - cw) / 2, 1 - cw, (1 - cw) / 2]
    a = [1 + al, -2 * cw, 1 - al]
    return np.array(b) / a[0], np.array(a) / a[0]


def _first_order(fs, f0, kind):
    b, a = signal.butter(1, f0, btype=kind, fs=fs)
    return b, a


def _low_shelf(fs, f0, db):
    a = 10 ** (db / 40)
    w = 2 * math.pi * f0 / fs
    cw, sw = math.cos(w), math.sin(w)
    al = sw / 2 * math.sqrt(2)  # shelf slope 1
    sa = 2 * math.sqrt(a) * al
    b = [a * ((a + 1) - (a - 1) * cw + sa), 2 * a * ((a - 1) - (a + 1) * cw),
         a * ((a + 1) - (a - 1) * cw - sa)]
    aa = [(a + 1) + (a - 1) * cw + sa, -2 * ((a - 1) + (a + 1) * cw), (a + 1) + (a - 1) * cw - sa]
    return np.array(b) / aa[0], np.array(aa) / aa[0]


def speaker_sections(fs, cab):
    """The filter sections of one speaker in its cabinet, heard on axis."""
    s = [_highpass2(fs, cab["fc"], cab["qtc"])]
    if cab["back"] == "open":
        s.append(_first_order(fs, C_AIR / (2 * math.pi * cab["baffle_path"]), "highpass"))
    else:
        s.append(_peak(fs, cab["box_bump_hz"], 1.4, cab["box_bump_db"]))
        s.append(_peak(fs, C_AIR / (2 * cab["depth"]), 3.0, -3.5))
    for f0, q, db in cab["breakup"]:
        s.append(_peak(fs, f0, q, db))
    s.append(_lowpass2(fs, cab["breakup_lp_hz"], 0.54))
    s.append(_lowpass2(fs, cab["breakup_lp_hz"], 1.31))
    return s


def mic_sections(fs, x, dist):
    """Off-centre high-frequency loss and proximity bass of a close mic."""
    s = [_first_order(fs, 11000.0 * (1.0 - 0.72 * x), "lowpass")]
    proximity_db = 3.0 * 0.02 / max(dist, 0.005)  # about +3 dB at 2 cm
    s.append(_low_shelf(fs, 160.0, min(proximity_db, 9.0)))
    return s


def _run(sections, x):
    for b, a in sections:
        x = signal.lfilter(b, a, x)
    return x


def impulse_response(fs, cab, length):
    """The cabinet's impulse response: `length` samples at `fs`, faded out over
    its last quarter."""
    delta = np.zeros(length)
    delta[0] = 1.0
    one = _run(speaker_sections(fs, cab), delta)
    ir = one.copy()
    dist = cab["mic_dist"]
    for spacing in cab["others"]:
        path = math.hypot(dist, spacing)
        delay = int(round((path - dist) / C_AIR * fs))
        gain = dist / path
        # Heard from the side: the cone's top end beams away from the mic.
        side = signal.lfilter(*_first_order(fs, 1500.0, "lowpass"), one)
        ir[delay:] += gain * side[:length - delay]
    ir = _run(mic_sections(fs, cab["mic_x"], dist), ir)
    fade = length // 4
    ir[-fade:] *= 0.5 * (1 + np.cos(np.linspace(0, math.pi, fade)))
    return ir


def band_power_gain(ir, fs, lo=200.0, hi=5000.0):
    """Mean |H(f)|^2 over lo..hi on a linear frequency grid (the loudness rule
    the cabinet library applies)."""
    n = 1
    while n < max(len(ir), 8192):
        n *= 2
    h = np.fft.rfft(ir, n)
    f = np.arange(len(h)) * fs / n
    band = (f >= lo) & (f <= hi)
    return float(np.mean(np.abs(h[band]) ** 2))
