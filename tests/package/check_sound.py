#!/usr/bin/env python3
"""check_sound.py WAV: astr's background sound is a small PCM file of a few
seconds, quiet, whose loop joins without a click: going from its last sample
back to its first is no bigger a step than any two neighbours inside it make.
"""
import struct
import sys
import wave

MAX_BYTES = 200 * 1024
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


path = sys.argv[1]
with open(path, "rb") as file:
    size = len(file.read())
with wave.open(path) as sound:  # reads PCM only
    channels, width, rate, count = (sound.getnchannels(), sound.getsampwidth(), sound.getframerate(),
                                    sound.getnframes())
    frames = sound.readframes(count)

check(size <= MAX_BYTES, f"{size} bytes, more than {MAX_BYTES}")
check(width == 2, f"{8 * width}-bit samples, not 16-bit")
seconds = count / rate
check(2 <= seconds <= 15, f"{seconds:.1f} s long")
if width == 2 and count >= 2:
    samples = struct.unpack(f"<{count * channels}h", frames)
    for channel in range(channels):
        loop = samples[channel::channels]
        peak = max(abs(s) for s in loop)
        check(peak <= 32767 // 4, f"channel {channel}: peak {peak}, louder than a quarter of full scale")
        steepest = max(abs(b - a) for a, b in zip(loop, loop[1:]))
        join = abs(loop[0] - loop[-1])
        check(join <= steepest,
              f"channel {channel}: the join steps {join}, the steepest step inside the loop {steepest}")

for failure in failures:
    print(f"FAIL: {path}: {failure}")
if not failures:
    print(f"{path}: {size} bytes, {seconds:.1f} s, joins without a click")
sys.exit(1 if failures else 0)
