#!/usr/bin/env python3
"""Writes astr.wav, the saver's background sound: a quiet ambient loop.

    make_astr_wav.py OUT.wav

A slowly breathing chord in A (just intonation), every voice a pair of
oscillators a fraction of a hertz apart so that it beats gently. Every
frequency and every swell completes a whole number of cycles in the loop, so
the sound is periodic: the last sample leads into the first like any two
neighbours, and the loop joins without a click. The detunings and phases come
from a fixed seed, so the file is the same byte for byte on every run.
"""
import math
import random
import struct
import sys
import wave

RATE = 11025       # samples a second: the chord lies well below 2 kHz
SECONDS = 8        # one pass of the loop
SAMPLES = RATE * SECONDS
SEED = 1357
PEAK = 0.12        # of full scale, about -18 dBFS: music to work by, not to hear

# The chord's voices: frequency (Hz) and loudness. Frequencies are whole
# multiples of 1 / SECONDS, which makes them periodic over the loop.
VOICES = [
    (110.0, 1.00),  # A2
    (165.0, 0.70),  # E3
    (220.0, 0.60),  # A3
    (275.0, 0.45),  # C#4
    (330.0, 0.35),  # E4
    (495.0, 0.20),  # B4
    (660.0, 0.12),  # E5
]

# One period of a sine over the whole loop: an oscillator of k cycles a loop
# reads entry (k * n + phase) mod SAMPLES at sample n, so its phase never
# drifts and sample SAMPLES is sample 0 again.
SINE = [math.sin(2 * math.pi * i / SAMPLES) for i in range(SAMPLES)]


def cycles_per_loop(frequency):
    cycles = frequency * SECONDS
    assert cycles == int(cycles), f"{frequency} Hz does not fit the loop"
    return int(cycles)


def add_oscillator(samples, amplitude, cycles, phase, swell_cycles, swell_phase):
    """A sine of `cycles` a loop whose loudness rises and falls `swell_cycles`
    times a loop, between 10 % and 100 % of `amplitude`."""
    for n in range(SAMPLES):
        swell = 0.55 + 0.45 * SINE[(swell_cycles * n + swell_phase) % SAMPLES]
        samples[n] += amplitude * swell * SINE[(cycles * n + phase) % SAMPLES]


def loop():
    chance = random.Random(SEED)
    samples = [0.0] * SAMPLES
    for frequency, loudness in VOICES:
        # Two oscillators 2, 4 or 6 eighths of a hertz apart: a beat every
        # 4, 2 or 1.3 s, and both still periodic over the loop.
        spread = chance.choice([1, 2, 3])
        swell_cycles = chance.choice([1, 2, 3])
        swell_phase = chance.randrange(SAMPLES)
        for side in (-1, 1):
            cycles = cycles_per_loop(frequency) + side * spread
            add_oscillator(samples, loudness * chance.uniform(0.8, 1.0), cycles,
                           chance.randrange(SAMPLES), swell_cycles, swell_phase)
    scale = PEAK * 32767 / max(abs(s) for s in samples)
    return [round(s * scale) for s in samples]


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    samples = loop()
    with wave.open(sys.argv[1], "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(struct.pack(f"<{len(samples)}h", *samples))


if __name__ == "__main__":
    main()
