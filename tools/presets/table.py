"""The factory presets, as a guitarist would write them down.

Each entry: the file name, the program name (at most 27 characters), the
cabinet it was voiced with, one line of intent, and the knobs as amprender
--set arguments (normalised 0..1 values, or display texts; Ferro's Input 0.5 is unity gain). The output knob
named by `level` is not given: make_presets.py turns it until the preset peaks
at TARGET_PEAK_DBFS on the built-in riff through its cabinet, so re-running
the tool re-tunes every level when a cabinet changes.
"""

TARGET_PEAK_DBFS = -6.0

# Ferro: 0 6L6GC, 1 EL34, 2 6550, 3 KT88 as PA TubeType = k/3.
TUBE = {"6L6GC": "0", "EL34": "0.334", "6550": "0.667", "KT88": "1"}

FERRO = [
    dict(file="01-clean", name="Clean", cab="2x12-open",
         intent="Glassy clean for chords and arpeggios (a high-gain head: the input is padded "
                "well down to stay clean).",
         level="GREEN:Output",
         set=["Channel=0", "GREEN:Crunch=0", "GREEN:Bright=1", "GREEN:Input=0.02",
              "GREEN:PreGain=0.2", "GREEN:PostGain=0.2", "GREEN:Bass=0.45", "GREEN:Mid=0.5",
              "GREEN:Treble=0.6", "GREEN:Presence=0.55", "GREEN:LowEnd=0.45",
              "PA TubeType=" + TUBE["6L6GC"]]),
    dict(file="02-edge-of-break-up", name="Edge of Break-up", cab="1x12-combo",
         intent="Clean when played softly, hair on the notes when you pick hard.",
         level="GREEN:Output",
         set=["Channel=0", "GREEN:Crunch=0", "GREEN:Bright=0", "GREEN:Input=0.06",
              "GREEN:PreGain=0.4", "GREEN:PostGain=0.3", "GREEN:Bass=0.5", "GREEN:Mid=0.6",
              "GREEN:Treble=0.55", "GREEN:Presence=0.5", "GREEN:LowEnd=0.5",
              "PA TubeType=" + TUBE["EL34"]]),
    dict(file="03-crunch", name="Crunch", cab="4x12-closed",
         intent="Classic rock crunch for open chords and riffs.",
         level="GREEN:Output",
         set=["Channel=0", "GREEN:Crunch=1", "GREEN:Bright=0", "GREEN:Input=0.3",
              "GREEN:PreGain=0.6", "GREEN:PostGain=0.5", "GREEN:Bass=0.5", "GREEN:Mid=0.65",
              "GREEN:Treble=0.55", "GREEN:Presence=0.55", "GREEN:LowEnd=0.5",
              "PA TubeType=" + TUBE["EL34"]]),
    dict(file="04-rhythm", name="Tight Rhythm", cab="4x12-closed",
         intent="Tight, percussive high-gain rhythm for palm-muted riffs.",
         level="RED:Output",
         set=["Channel=1", "RED:Input=0.5", "RED:PreGain=0.55", "RED:PostGain=0.35",
              "RED:Bass=0.55", "RED:Mid=0.45", "RED:Treble=0.55", "RED:Presence=0.55",
              "RED:LowEnd=0.4", "Lead Mod=0", "PA TubeType=" + TUBE["6550"]]),
    dict(file="05-lead", name="Singing Lead", cab="4x12-closed",
         intent="Sustaining, mid-forward lead that sings above a band.",
         level="RED:Output",
         set=["Channel=1", "RED:Input=0.55", "RED:PreGain=0.75", "RED:PostGain=0.4",
              "RED:Bass=0.45", "RED:Mid=0.7", "RED:Treble=0.5", "RED:Presence=0.5",
              "RED:LowEnd=0.45", "Lead Mod=1", "PA TubeType=" + TUBE["EL34"]]),
    dict(file="06-high-gain", name="Modern High Gain", cab="4x10-closed",
         intent="Saturated modern high gain, scooped mids, tight low end.",
         level="RED:Output",
         set=["Channel=1", "RED:Input=0.6", "RED:PreGain=0.9", "RED:PostGain=0.35",
              "RED:Bass=0.6", "RED:Mid=0.35", "RED:Treble=0.6", "RED:Presence=0.6",
              "RED:LowEnd=0.35", "Lead Mod=1", "PA TubeType=" + TUBE["KT88"]]),
]

# Vortan: four channel modes, each with its own memory of the knobs. A
# program plays one mode; the other three memories hold the companion
# settings below, so switching the channel in a program gives a sound worth
# playing at a matching level.
MODES = {
    "A clean": ["Channel=0", "Clean/Crunch=0"],
    "A crunch": ["Channel=0", "Clean/Crunch=1"],
    "B low": ["Channel=1", "Low/High Gain=0"],
    "B high": ["Channel=1", "Low/High Gain=1"],
}

COMPANION = {
    "A clean": dict(cab="2x12-open", knobs=["Input=0.5", "CHA Drive=0.3", "CHA Low=0.5",
                    "CHA Mid=0.5", "CHA High=0.6", "CHA Contour=0.4", "CHA Open/Focus=0",
                    "CHA Bottom=0", "CHA Bright=1"]),
    "A crunch": dict(cab="2x12-open", knobs=["Input=0.5", "CHA Drive=0.55", "CHA Low=0.5",
                     "CHA Mid=0.6", "CHA High=0.55", "CHA Contour=0.4", "CHA Open/Focus=0",
                     "CHA Bottom=0", "CHA Bright=0"]),
    "B low": dict(cab="4x12-closed", knobs=["Input=0.5", "CHB Drive=0.5", "CHB Low=0.5",
                  "CHB Mid=0.55", "CHB High=0.55", "CHB Contour=0.5", "CHB Open/Focus=0",
                  "CHB Bottom=0", "CHB Bright=0"]),
    "B high": dict(cab="4x12-closed", knobs=["Input=0.5", "CHB Drive=0.7", "CHB Low=0.55",
                   "CHB Mid=0.45", "CHB High=0.55", "CHB Contour=0.55", "CHB Open/Focus=1",
                   "CHB Bottom=0", "CHB Bright=0"]),
}

VORTAN = [
    dict(file="01-clean", name="Clean", mode="A clean", cab="2x12-open",
         intent="Round, full clean with a little sparkle.",
         knobs=["Input=0.5", "CHA Drive=0.25", "CHA Low=0.55", "CHA Mid=0.5", "CHA High=0.55",
                "CHA Contour=0.4", "CHA Open/Focus=0", "CHA Bottom=0", "CHA Bright=1"]),
    dict(file="02-jazz-clean", name="Warm Jazz Clean", mode="A clean", cab="1x12-combo",
         intent="Dark, warm clean for neck-pickup chords and single lines.",
         knobs=["Input=0.4", "CHA Drive=0.2", "CHA Low=0.6", "CHA Mid=0.55", "CHA High=0.35",
                "CHA Contour=0.3", "CHA Open/Focus=0", "CHA Bottom=1", "CHA Bright=0"]),
    dict(file="03-edge-of-break-up", name="Edge of Break-up", mode="A crunch", cab="1x12-combo",
         intent="Just breaking up: follows your picking and the guitar's volume knob.",
         knobs=["Input=0.45", "CHA Drive=0.35", "CHA Low=0.5", "CHA Mid=0.6", "CHA High=0.55",
                "CHA Contour=0.4", "CHA Open/Focus=0", "CHA Bottom=0", "CHA Bright=0"]),
    dict(file="04-crunch", name="Crunch", mode="A crunch", cab="2x12-open",
         intent="Open, chiming crunch for strummed chords and rock riffs.",
         knobs=["Input=0.55", "CHA Drive=0.6", "CHA Low=0.5", "CHA Mid=0.65", "CHA High=0.55",
                "CHA Contour=0.45", "CHA Open/Focus=1", "CHA Bottom=0", "CHA Bright=0"]),
    dict(file="05-blues-drive", name="Blues Drive", mode="B low", cab="1x12-combo",
         intent="Warm overdrive with a soft attack for bluesy lead lines.",
         knobs=["Input=0.45", "CHB Drive=0.4", "CHB Low=0.5", "CHB Mid=0.65", "CHB High=0.45",
                "CHB Contour=0.4", "CHB Open/Focus=0", "CHB Bottom=0", "CHB Bright=0"]),
    dict(file="06-rhythm", name="Rock Rhythm", mode="B low", cab="4x12-closed",
         intent="Thick rhythm drive for power chords.",
         knobs=["Input=0.5", "CHB Drive=0.6", "CHB Low=0.55", "CHB Mid=0.55", "CHB High=0.55",
                "CHB Contour=0.5", "CHB Open/Focus=0", "CHB Bottom=1", "CHB Bright=0"]),
    dict(file="07-lead", name="Singing Lead", mode="B high", cab="4x12-closed",
         intent="Smooth, sustaining lead with a vocal midrange.",
         knobs=["Input=0.5", "CHB Drive=0.65", "CHB Low=0.45", "CHB Mid=0.7", "CHB High=0.5",
                "CHB Contour=0.35", "CHB Open/Focus=0", "CHB Bottom=0", "CHB Bright=0"]),
    dict(file="08-high-gain", name="High Gain", mode="B high", cab="4x12-closed",
         intent="Saturated high gain for heavy riffs.",
         knobs=["Input=0.55", "CHB Drive=0.8", "CHB Low=0.55", "CHB Mid=0.45", "CHB High=0.55",
                "CHB Contour=0.6", "CHB Open/Focus=1", "CHB Bottom=0", "CHB Bright=0"]),
    dict(file="09-modern-metal", name="Modern Metal", mode="B high", cab="4x10-closed",
         intent="Tight, scooped, percussive gain for down-tuned chugs.",
         knobs=["Input=0.6", "CHB Drive=0.9", "CHB Low=0.6", "CHB Mid=0.35", "CHB High=0.6",
                "CHB Contour=0.7", "CHB Open/Focus=1", "CHB Bottom=1", "CHB Bright=1"]),
    dict(file="10-bright-funk", name="Bright Funk Clean", mode="A clean", cab="2x12-open",
         intent="Snappy, bright clean for funk rhythm and muted strums.",
         knobs=["Input=0.45", "CHA Drive=0.2", "CHA Low=0.4", "CHA Mid=0.45", "CHA High=0.7",
                "CHA Contour=0.5", "CHA Open/Focus=1", "CHA Bottom=0", "CHA Bright=1"]),
]
