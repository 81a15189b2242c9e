#!/usr/bin/env python3
"""Generates the factory presets in presets/ from table.py, with amprender.

For every preset: sets its knobs on a fresh plug-in, turns its output knob
until the built-in riff through its cabinet peaks at TARGET_PEAK_DBFS, saves
the state as a .fxp (Vortan: also into the ten-program bank), then measures
the saved file: peak and RMS on the riff with the cabinet, and THD of the
amplifier alone on the reference tone. Writes presets/README.md.

  tools/presets/make_presets.py [--amprender build/host/amprender/amprender]

Run it again after a change to a cabinet or the amplifiers: every level is
re-tuned. Needs nothing beyond Python 3 and the built amprender.
"""

import argparse
import array
import math
import os
import re
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import table  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
RATE = 44100
# The reference tone for THD: A2 (the open A string), at the riff's peak
# level, 2 s; the second second is analysed (a whole number of cycles).
TONE_HZ = 110.0
TONE_PEAK_DBFS = -6.0
HARMONICS = 20
LEVEL_LIMITS = (-12.0, -3.0)

SUMMARY = re.compile(r"peak ([-+]?[\d.]+|-inf) dBFS, RMS ([-+]?[\d.]+|-inf) dBFS")


class Tool:
    def __init__(self, exe, scratch):
        self.exe = exe
        self.scratch = scratch

    def run(self, args):
        r = subprocess.run([self.exe] + args, capture_output=True, text=True)
        if r.returncode != 0:
            sys.exit("amprender %s failed:\n%s" % (" ".join(args), r.stderr))
        return r.stdout

    def level(self, args):
        """(peak, RMS) in dBFS of a render of the riff."""
        out = self.run(args + ["--out", os.path.join(self.scratch, "level.wav")])
        m = SUMMARY.search(out)
        return float(m.group(1)), float(m.group(2))


def sets(knobs):
    args = []
    for k in knobs:
        args += ["--set", k]
    return args


def tune(tool, base, knob, cab):
    """The knob value (0..1) where the riff peaks at the target; the peak
    rises with the knob, so bisection."""
    lo, hi = 0.0, 1.0
    value = 0.5
    for _ in range(20):
        value = (lo + hi) / 2
        peak, _ = tool.level(base + ["--set", "%s=%.6f" % (knob, value), "--cab", cab])
        if abs(peak - table.TARGET_PEAK_DBFS) <= 0.05:
            break
        if peak > table.TARGET_PEAK_DBFS:
            hi = value
        else:
            lo = value
    return "%s=%.6f" % (knob, value)


def write_tone(path):
    n = int(2 * RATE)
    a = 10 ** (TONE_PEAK_DBFS / 20)
    data = array.array("f", (a * math.sin(2 * math.pi * TONE_HZ * t / RATE) for t in range(n)))
    body = data.tobytes()
    fmt = struct.pack("<HHIIHH", 3, 1, RATE, RATE * 4, 4, 32)
    with open(path, "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", 4 + 8 + len(fmt) + 8 + len(body)) + b"WAVE")
        f.write(b"fmt " + struct.pack("<I", len(fmt)) + fmt)
        f.write(b"data" + struct.pack("<I", len(body)) + body)


def read_wav_channel0(path):
    with open(path, "rb") as f:
        raw = f.read()
    pos, fmt, data = 12, None, None
    while pos + 8 <= len(raw):
        cid, size = raw[pos:pos + 4], struct.unpack("<I", raw[pos + 4:pos + 8])[0]
        if cid == b"fmt ":
            fmt = struct.unpack("<HHIIHH", raw[pos + 8:pos + 24])
        elif cid == b"data":
            data = raw[pos + 8:pos + 8 + size]
        pos += 8 + size + (size & 1)
    channels, bits = fmt[1], fmt[5]
    assert bits == 32, "amprender writes float WAV"
    samples = array.array("f")
    samples.frombytes(data)
    return samples[0::channels]


def thd_percent(samples):
    """THD from harmonics 2..HARMONICS of TONE_HZ over the second second."""
    x = samples[RATE:2 * RATE]

    def amplitude(f):
        w = 2 * math.pi * f / RATE
        re_ = sum(v * math.cos(w * t) for t, v in enumerate(x))
        im = sum(v * math.sin(w * t) for t, v in enumerate(x))
        return math.hypot(re_, im)

    amps = [amplitude(TONE_HZ * k) for k in range(1, HARMONICS + 1) if TONE_HZ * k < RATE / 2]
    return 100 * math.sqrt(sum(a * a for a in amps[1:])) / amps[0]


def measure(tool, plugin, preset_args, cab, tone):
    peak, rms = tool.level(["--plugin", plugin] + preset_args + ["--cab", cab])
    if not LEVEL_LIMITS[0] <= peak <= LEVEL_LIMITS[1]:
        sys.exit("%s %s peaks at %.1f dBFS, outside %s" % (plugin, preset_args, peak, LEVEL_LIMITS))
    out = os.path.join(tool.scratch, "tone-out.wav")
    tool.run(["--plugin", plugin] + preset_args + ["--cab", "none", "--in", tone, "--out", out])
    return peak, rms, thd_percent(read_wav_channel0(out))


def save_stable(tool, plugin, args, path):
    """Saves, then loads and saves again until the file no longer changes (a
    plug-in may round a value on the way in)."""
    tool.run(["--plugin", plugin] + args + ["--save-preset", path, "--list-params"])
    for _ in range(3):
        before = open(path, "rb").read()
        tool.run(["--plugin", plugin, "--preset", path, "--save-preset", path, "--list-params"])
        if open(path, "rb").read() == before:
            return
    sys.exit("%s does not settle when loaded and saved again" % path)


def make_ferro(tool, tone, rows):
    folder = os.path.join(ROOT, "presets", "ferro")
    os.makedirs(folder, exist_ok=True)
    for p in table.FERRO:
        base = ["--plugin", "ferro"] + sets(p["set"])
        level = tune(tool, base, p["level"], p["cab"])
        path = os.path.join(folder, p["file"] + ".fxp")
        save_stable(tool, "ferro", sets(p["set"] + [level]) + ["--preset-name", p["name"]], path)
        peak, rms, thd = measure(tool, "ferro", ["--preset", path], p["cab"], tone)
        rows.append(("Ostra_Ferro_B3", "ferro/" + p["file"] + ".fxp", p, p["set"] + [level],
                     peak, rms, thd))
        print("ferro  %-22s peak %+5.1f  RMS %+5.1f  THD %5.1f %%" % (p["name"], peak, rms, thd))


def vortan_mode_knobs(mode, knobs, volume):
    return table.MODES[mode] + knobs + [volume]


def make_vortan(tool, tone, rows):
    folder = os.path.join(ROOT, "presets", "vortan")
    os.makedirs(folder, exist_ok=True)
    # Each companion memory's level, tuned once with its own cabinet.
    companion_volume = {}
    for mode, c in table.COMPANION.items():
        companion_volume[mode] = tune(tool, ["--plugin", "vortan"] + sets(table.MODES[mode] + c["knobs"]),
                                      "Volume", c["cab"])
    bank = os.path.join(folder, "factory-bank.fxb")
    if os.path.exists(bank):
        os.remove(bank)
    for i, p in enumerate(table.VORTAN):
        # The other three memories first, the mode the program plays last.
        sequence = []
        for mode, c in table.COMPANION.items():
            if mode != p["mode"]:
                sequence += vortan_mode_knobs(mode, c["knobs"], companion_volume[mode])
        sequence += table.MODES[p["mode"]] + p["knobs"]
        base = ["--plugin", "vortan", "--program", str(i)] + sets(sequence)
        volume = tune(tool, base, "Volume", p["cab"])
        p["sequence"] = sequence + [volume]
        start = ["--preset", bank] if os.path.exists(bank) else []
        tool.run(["--plugin", "vortan"] + start + ["--program", str(i)] + sets(p["sequence"]) +
                 ["--preset-name", p["name"], "--save-preset", bank, "--list-params"])
    # The bank opens at its first program.
    tool.run(["--plugin", "vortan", "--preset", bank, "--program", "0", "--save-preset", bank,
              "--list-params"])
    for i, p in enumerate(table.VORTAN):
        path = os.path.join(folder, p["file"] + ".fxp")
        tool.run(["--plugin", "vortan", "--preset", bank, "--program", str(i), "--save-preset", path,
                  "--list-params"])
        peak, rms, thd = measure(tool, "vortan", ["--preset", path], p["cab"], tone)
        bank_peak, _ = tool.level(["--plugin", "vortan", "--preset", bank, "--program", str(i),
                                   "--cab", p["cab"]])
        if abs(bank_peak - peak) > 0.05:
            sys.exit("program %d of the bank and %s differ" % (i, path))
        knobs = table.MODES[p["mode"]] + p["knobs"] + [p["sequence"][-1]]
        rows.append(("Vortan_v1_1", "vortan/" + p["file"] + ".fxp", p, knobs, peak, rms, thd))
        print("vortan %-22s peak %+5.1f  RMS %+5.1f  THD %5.1f %%" % (p["name"], peak, rms, thd))


README_HEAD = """# Factory presets

Standard VST 2 preset files, generated by `tools/presets/make_presets.py` from
the table in `tools/presets/table.py` (do not edit the files by hand: change the
table and run the tool, which re-tunes every level).

- `ferro/*.fxp`: Ostra_Ferro_B3 programs (a list of its 33 parameter values).
- `vortan/*.fxp`: Vortan_v1_1 programs (its 292-byte program chunk, with the
  knobs remembered for each of the four channel modes).
- `vortan/factory-bank.fxb`: the ten Vortan programs as one bank (its 2920-byte
  bank chunk): load it to get the whole set in the plug-in's program list.
  In each program the mode it plays has the settings below; the other three
  mode memories hold companion settings (a clean, a crunch, a low-gain and a
  high-gain sound, each levelled with its cabinet), so switching channels
  inside a program gives a usable sound at a similar level.

`make install` copies them to `~/.vst/presets/<plug-in>/` (beside the modules):
import a `.fxp` with your host's "load preset" (REAPER: the FX window's `+` menu,
"Import VST patch/bank"; Bitwig: the device's preset browser, "Import"; Carla and
Ardour: the plug-in window's preset menu). `amprender --preset FILE` renders with
one; `--preset factory-bank.fxb --program N` picks a program of the bank.

How the figures were measured: output peak and RMS of the built-in DI riff
(44.1 kHz, peak -6 dBFS) through the preset and the cabinet it was voiced with;
the output knob of each preset was turned until that peak reached
%(target).0f dBFS. THD: the amplifier alone (no cabinet) on a %(hz).0f Hz sine
at %(tone).0f dBFS peak, harmonics 2 to %(harm)d over the second second of the
render.

| Plug-in | File | Name | Cabinet | Peak dBFS | RMS dBFS | THD | Intent |
|---|---|---|---|---|---|---|---|
"""


def readable(knob):
    """The knob as written in the table, with the valve's name where a number stands for it."""
    for tube, value in table.TUBE.items():
        if knob == "PA TubeType=" + value:
            return "`%s` (%s)" % (knob, tube)
    return "`%s`" % knob


def write_readme(rows):
    lines = [README_HEAD % dict(target=table.TARGET_PEAK_DBFS, hz=TONE_HZ, tone=TONE_PEAK_DBFS,
                                harm=HARMONICS)]
    for plugin, path, p, _, peak, rms, thd in rows:
        lines.append("| %s | `%s` | %s | %s | %.1f | %.1f | %.1f %% | %s |\n" %
                     (plugin, path, p["name"], p["cab"], peak, rms, thd, p["intent"]))
    lines.append("\n## Settings\n\nAs amprender `--set` arguments (normalised values), in the "
                 "order they are applied.\n")
    for plugin, path, p, knobs, *_ in rows:
        lines.append("\n- **%s %s** (`%s`): %s\n" % (plugin, p["name"], path,
                                                     ", ".join(readable(k) for k in knobs)))
    lines.append("\nCompanion settings of the Vortan mode memories:\n")
    for mode, c in table.COMPANION.items():
        lines.append("\n- **%s** (levelled with %s): %s\n" % (
            mode, c["cab"], ", ".join("`%s`" % k for k in table.MODES[mode] + c["knobs"])))
    with open(os.path.join(ROOT, "presets", "README.md"), "w") as f:
        f.write("".join(lines))


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--amprender", default=os.path.join(ROOT, "build/host/amprender/amprender"))
    args = ap.parse_args()
    with tempfile.TemporaryDirectory() as scratch:
        tool = Tool(args.amprender, scratch)
        tone = os.path.join(scratch, "tone.wav")
        write_tone(tone)
        rows = []
        make_ferro(tool, tone, rows)
        make_vortan(tool, tone, rows)
        write_readme(rows)


if __name__ == "__main__":
    main()
