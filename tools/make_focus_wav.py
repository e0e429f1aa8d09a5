#!/usr/bin/env python3
"""Writes focus.wav, the launcher's hover sound: a short, soft two-tone chime.

0.15 s of 22050 Hz 16-bit mono PCM. The samples depend only on the constants below, so every build
writes the same bytes.
"""
import math
import struct
import sys
import wave

RATE = 22050
DURATION_S = 0.15
# A fifth apart (E6 and B6), the upper partial quieter: bright but not shrill.
PARTIALS = ((1318.51, 0.55), (1975.53, 0.25))
PEAK = 0.35  # of full scale: a hover sound should not startle
ATTACK_S = 0.004  # a short ramp avoids the click of a hard start
DECAY_PER_S = 28.0
RELEASE_S = 0.02  # fades to exact silence at the end


def sample(n: int) -> int:
    t = n / RATE
    tone = sum(level * math.sin(2 * math.pi * freq * t) for freq, level in PARTIALS)
    envelope = min(1.0, t / ATTACK_S) * math.exp(-DECAY_PER_S * t)
    remaining = DURATION_S - t
    if remaining < RELEASE_S:
        envelope *= max(0.0, remaining / RELEASE_S)
    return round(32767 * PEAK * envelope * tone)


def main() -> int:
    if len(sys.argv) != 2:
        print(f"usage: {sys.argv[0]} OUTPUT.wav", file=sys.stderr)
        return 2
    count = round(RATE * DURATION_S)
    frames = b"".join(struct.pack("<h", sample(n)) for n in range(count))
    with wave.open(sys.argv[1], "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(frames)
    return 0


if __name__ == "__main__":
    sys.exit(main())
