#!/usr/bin/env python3
"""Synthesises the frogs' jump sounds: bud.wav, a short low croak for the
green frog, and wizer.wav, a higher buzzing one for the red frog.

Both are 16-bit mono PCM at 22050 Hz. The synthesis is deterministic, so a
rerun writes the same bytes; the results are committed in sounds/.

Usage: tools/make_sounds.py [OUTPUT_FOLDER]   (default: sounds/ of the repository)
"""

import math
import pathlib
import struct
import sys
import wave

RATE = 22050


class Resonator:
    """Two-pole band-pass filter: a formant of the frog's throat."""

    def __init__(self, centre, bandwidth):
        r = math.exp(-math.pi * bandwidth / RATE)
        self.a1 = 2 * r * math.cos(2 * math.pi * centre / RATE)
        self.a2 = -r * r
        self.gain = 1 - r
        self.y1 = self.y2 = 0.0

    def __call__(self, x):
        y = self.gain * x + self.a1 * self.y1 + self.a2 * self.y2
        self.y2, self.y1 = self.y1, y
        return y


def pulse_train(pitch, seconds, sharpness):
    """A glottal source: one narrow pulse per period, pitch(t) in Hz."""
    phase = 0.0
    for n in range(int(seconds * RATE)):
        t = n / RATE
        phase = (phase + pitch(t) / RATE) % 1.0
        yield t, math.exp(-sharpness * phase) - 0.5 / sharpness


def envelope(t, length, attack, release):
    """Linear attack, exponential body, linear release: no clicks at the ends."""
    rise = min(1.0, t / attack)
    fall = min(1.0, (length - t) / release)
    return max(0.0, min(rise, fall))


def croak():
    """Two quick throaty syllables around 95 Hz, rough from a 28 Hz flutter."""
    length = 0.30
    formants = [Resonator(380, 120), Resonator(950, 200), Resonator(2200, 400)]
    out = []
    for t, x in pulse_train(lambda t: 110 - 50 * t, length, 14):
        flutter = 0.55 + 0.45 * math.sin(2 * math.pi * 28 * t) ** 2
        # A short dip splits the croak into "kr" and "ook".
        syllables = 1.0 - 0.85 * math.exp(-((t - 0.095) / 0.018) ** 2)
        y = formants[0](x) * 1.0 + formants[1](x) * 0.6 + formants[2](x) * 0.15
        out.append(y * flutter * syllables * envelope(t, length, 0.012, 0.08))
    return out


def buzz():
    """A nasal buzz around 420 Hz that rises and falls, with a 70 Hz rattle."""
    length = 0.22
    formants = [Resonator(1300, 250), Resonator(2600, 350), Resonator(4100, 600)]
    out = []
    pitch = lambda t: 380 + 120 * math.sin(math.pi * t / length)
    for t, x in pulse_train(pitch, length, 9):
        rattle = 0.35 + 0.65 * (0.5 + 0.5 * math.copysign(1, math.sin(2 * math.pi * 70 * t)))
        y = formants[0](x) * 1.0 + formants[1](x) * 0.8 + formants[2](x) * 0.35
        out.append(y * rattle * envelope(t, length, 0.008, 0.05))
    return out


def write_wav(path, samples, peak=0.7):
    """Normalises to the peak (of full scale) and writes 16-bit mono PCM."""
    scale = peak * 32767 / max(abs(s) for s in samples)
    frames = b"".join(struct.pack("<h", round(s * scale)) for s in samples)
    with wave.open(str(path), "wb") as file:
        file.setnchannels(1)
        file.setsampwidth(2)
        file.setframerate(RATE)
        file.writeframes(frames)


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    folder = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else root / "sounds"
    folder.mkdir(parents=True, exist_ok=True)
    write_wav(folder / "bud.wav", croak())
    write_wav(folder / "wizer.wav", buzz())


if __name__ == "__main__":
    main()
