"""A film with sounds on two frames, played with the sound server recording: each sound is heard
and the program goes on after each has ended by itself; then a frame's sound heard and deleted
while it plays, and taken back with Undo while it plays again."""

import math
import os
import struct
import subprocess
import wave

from desktop import Failure, Program, run


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


def scenario(desktop, binary):
    tool = os.path.join(os.path.dirname(binary), "celvane-tool")
    film = make_film(desktop.folder, tool)
    program = Program(desktop, binary, [film])
    try:
        program.find("Forwards", "push button")
        # Played to the end: both sounds heard, each ending by itself.
        with desktop.listen() as heard:
            program.press("Forwards", "push button")
            program.live_for(3)
        if heard.sounding_ms() < 700:
            raise Failure(f"the frames' sounds were not heard ({heard.sounding_ms()} ms of sound)")

        # Frame 6's sound, heard and deleted while it plays, then brought back by Undo while it
        # plays again.
        program.press("Rewind", "push button")
        for _ in range(5):
            program.press("Go forward a frame", "push button")
        program.press("Hear", "push button")
        program.press("Delete sound", "push button")
        program.live_for(1)
        program.key("ctrl+z")
        program.press("Hear", "push button")
        program.key("ctrl+z")
        program.live_for(1.5)

        # Closed as a person closes a window; the unsaved film asks first.
        program.key("alt+F4")
        program.press("No", "push button")
        program.wait_exit()
    finally:
        program.close()


if __name__ == "__main__":
    run(scenario)
