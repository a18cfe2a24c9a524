"""A film with sounds on two frames, played with the sound server recording: each sound is heard
when its frame comes, within 100 ms, and the program goes on after each has ended by itself; then a frame's sound heard and deleted
while it plays, and taken back with Undo while it plays again."""

import os

from desktop import Failure, Program, run
from films import make_film


def scenario(desktop, binary):
    tool = os.path.join(os.path.dirname(binary), "celvane-tool")
    film = make_film(desktop.folder, tool)
    with Program(desktop, binary, [film]) as program:
        program.find("Forwards", "push button")
        # Played to the end: both sounds heard, each ending by itself.
        with desktop.listen() as heard:
            program.press("Forwards", "push button")
            program.live_for(3)
        if heard.sounding_ms() < 700:
            raise Failure(f"the frames' sounds were not heard ({heard.sounding_ms()} ms of sound)")
        # Each begins with its frame, round after round: the film loops through 8 frames of 100 ms,
        # so frame 2's sound comes every 800 ms and frame 6's 400 ms after it.
        onsets = heard.onsets_ms()
        if len(onsets) < 4 or any(min(t % 400, 400 - t % 400) > 100 for t in onsets):
            raise Failure(f"the sounds began at {onsets} ms from the first, not with their frames "
                          f"(every 400 ms)")

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

        # Changed again, and closed as a person closes a window: the unsaved film asks first.
        program.press("Delete sound", "push button")
        program.find("sounds.qfm * - Celvane", "frame")
        program.key("alt+F4")
        program.answer("No")
        program.wait_exit()


if __name__ == "__main__":
    run(scenario)
