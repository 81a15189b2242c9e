#!/usr/bin/python3
"""Writes the built-in cabinets as impulse responses (48 kHz, mono, 32-bit
float WAV, 4096 samples) into resources/cabinets/, and their magnitude
responses into resources/cabinets/responses.png. Run by hand after changing
the model or a cabinet; the files are committed and embedded in amprender.

    python3 tools/cabinets/make_cabinets.py [--out DIR]
"""

import argparse
import math
import os

import numpy as np
from scipy.io import wavfile

from cabinet_model import band_power_gain, impulse_response
from plot import plot_responses

FS = 48000
LENGTH = 4096

# fc/qtc: the speaker's resonance in its box; back: open or closed; box_bump
# and depth (m) for closed backs, baffle_path (m) for open ones; breakup: the
# cone's peaks and dips (Hz, Q, dB) and the frequency its output falls above;
# mic_x: 0 at the dust cap, 1 at the cone's edge; mic_dist (m); others: the
# distances (m) from the miked speaker to the cabinet's other speakers.
CABINETS = {
    # Closed 4x12 with 25 W ceramic 12" speakers: tight, deep thump, a
    # pronounced upper-mid bark and a hard top-end roll-off.
    "4x12-closed": dict(fc=82.0, qtc=1.15, back="closed", box_bump_hz=105.0, box_bump_db=2.0,
                        depth=0.36,
                        breakup=[(1900.0, 3.0, 3.0), (2900.0, 4.0, 6.5), (3500.0, 6.0, -4.0),
                                 (4200.0, 5.0, 3.5)],
                        breakup_lp_hz=5200.0, mic_x=0.3, mic_dist=0.025,
                        others=[0.33, 0.33, 0.47]),
    # Open 2x12 with alnico speakers: looser low end, airy and chimey.
    "2x12-open": dict(fc=72.0, qtc=0.8, back="open", baffle_path=0.30,
                      breakup=[(1400.0, 2.0, 2.0), (2500.0, 3.0, 5.0), (3800.0, 4.0, 3.0)],
                      breakup_lp_hz=5600.0, mic_x=0.4, mic_dist=0.03, others=[0.32]),
    # Small open-back 1x12 combo: little deep bass, forward mids, bright.
    "1x12-combo": dict(fc=95.0, qtc=0.9, back="open", baffle_path=0.22,
                       breakup=[(220.0, 1.5, 2.0), (1600.0, 2.5, 3.0), (2600.0, 3.5, 5.0),
                                (4400.0, 4.0, 3.0)],
                       breakup_lp_hz=6000.0, mic_x=0.2, mic_dist=0.02, others=[]),
    # Closed 4x10: 10" cones resonate higher and break up later; punchy and
    # bright with a quick low end.
    "4x10-closed": dict(fc=95.0, qtc=1.0, back="closed", box_bump_hz=130.0, box_bump_db=2.5,
                        depth=0.30,
                        breakup=[(2200.0, 3.0, 3.0), (3400.0, 4.0, 6.0), (5000.0, 4.0, 3.0)],
                        breakup_lp_hz=6500.0, mic_x=0.25, mic_dist=0.025,
                        others=[0.27, 0.27, 0.38]),
}


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    default_out = os.path.join(here, "..", "..", "resources", "cabinets")
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--out", default=default_out)
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    curves = []
    for name, cab in CABINETS.items():
        ir = impulse_response(FS, cab, LENGTH)
        # Stored at the library's loudness (the loader normalises again).
        ir /= math.sqrt(band_power_gain(ir, FS))
        wavfile.write(os.path.join(args.out, name + ".wav"), FS, ir.astype(np.float32))
        curves.append((name, ir))
        print(f"{name}: {LENGTH} samples, peak {np.max(np.abs(ir)):.3f}")
    plot_responses(curves, FS, os.path.join(args.out, "responses.png"))


if __name__ == "__main__":
    main()
