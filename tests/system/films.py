"""Films and sounds the scenarios start from, made with the batch tool and Python's own wave
writer."""

import math
import os
import struct
import subprocess
import wave


def tone(path, hertz, seconds, rate=22050):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(b"".join(struct.pack("<h", int(12000 * math.sin(2 * math.pi * hertz * i / rate)))
                               for i in range(int(seconds * rate))))


def make_film(folder, tool):
    """Eight frames at 100 ms a frame, a short tone on frame 2 and a longer one on frame 6."""
    film = os.path.join(folder, "sounds.qfm")
    subprocess.run([tool, "new", "--width", "160", "--height", "120", "--depth", "8", "--frames", "8",
                    "--period", "100", film], check=True, capture_output=True)
    for frame, hertz, seconds in ((1, 440, 0.3), (5, 660, 0.6)):
        sound = os.path.join(folder, f"tone{hertz}.wav")
        tone(sound, hertz, seconds)
        subprocess.run([tool, "sound", film, str(frame), sound, "-o", film], check=True, capture_output=True)
    return film
