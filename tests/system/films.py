"""Films and sounds the scenarios start from, made with the batch tool and Python's own wave
writer, and what a saved film holds, read back through the batch tool's bitmaps."""

import json
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


def film_info(tool, film):
    return json.loads(subprocess.run([tool, "info", "--json", film], check=True, capture_output=True).stdout)


def frame_pictures(tool, film):
    """Every frame of a saved film as grey levels, a byte a pixel: the batch tool writes each as a
    bitmap and ImageMagick reads it."""
    pictures = []
    for frame in range(film_info(tool, film)["frames"]):
        bitmap = f"{film}-{frame}.bmp"
        subprocess.run([tool, "frame", film, str(frame), "-o", bitmap], check=True, capture_output=True)
        pictures.append(subprocess.run(["convert", bitmap, "-colorspace", "Gray", "-depth", "8", "gray:-"],
                                       check=True, capture_output=True).stdout)
        os.remove(bitmap)
    return pictures


def inked(picture):
    """How many pixels of a frame are drawn on (darker than mid grey)."""
    return sum(1 for level in picture if level < 128)
