"""Two windows and the clipboard: two films open side by side, the frames of one, with their
sounds, copied into the other and heard there after the first has closed; the first closed with
unsaved changes, where Cancel keeps it. On a 1280x1024 screen."""

import os
import subprocess

import pyatspi

from desktop import Failure, Program, run, wait_for
from films import film_info, make_film


def scenario(desktop, binary):
    tool = os.path.join(os.path.dirname(binary), "celvane-tool")
    sounds = make_film(desktop.folder, tool)
    other = os.path.join(desktop.folder, "other.qfm")
    subprocess.run([tool, "new", "--width", "160", "--height", "120", "--depth", "8", "--frames", "4",
                    "--period", "100", other], check=True, capture_output=True)
    with Program(desktop, binary, [sounds], settings={"Settings": {"SingleDoc": 0}}) as program:
        program.press("Open...", "menu item")
        program.choose_file(other)
        program.find("other.qfm", "frame")

        # Every frame of the first film, sounds and all, pasted after the first frame of the other.
        program.press("sounds.qfm", "frame")
        program.press("Select All", "menu item")
        program.press("Copy", "menu item")
        program.press("other.qfm", "frame")
        program.press("Paste", "menu item")
        program.press("OK", "push button", within=program.find("Import Options", "dialog"))
        program.find("other.qfm *", "frame")
        program.key("ctrl+s")
        wait_for("the other film saved", lambda: not program.boxes() and program.find("other.qfm", "frame"))
        info = film_info(tool, other)
        placed = [frame for frame, sound in enumerate(info["frameSounds"]) if sound]
        if info["frames"] != 12 or placed != [2, 6] or len(info["sounds"]) != 2:
            raise Failure(f"the other film holds {info['frames']} frames with sounds on {placed} "
                          f"and {len(info['sounds'])} sounds, not 12 frames with the 2 sounds on frames 3 and 7")

        # The first film changed, and closed: Cancel keeps it, No lets it go unsaved.
        first = program.find("sounds.qfm", "frame")
        program.press("sounds.qfm", "frame")
        x, y, width, height = program.extents(program.find("Film", "filler", within=first))
        program.drag([(x + width // 4 + d, y + height // 2) for d in range(0, width // 2, 8)])
        program.find("sounds.qfm *", "frame")
        program.key("ctrl+w")
        said = program.answer("Cancel")
        if "sounds.qfm" not in said:
            raise Failure(f'closing the changed film asked "{said}"')
        program.find("sounds.qfm *", "frame")
        program.key("ctrl+w")
        program.answer("No")
        wait_for("the first film to close", lambda: not pyatspi.findDescendant(
            program.app, lambda a: a is not None and a.name.startswith("sounds.qfm")))

        # The copied sounds play in the film that is left.
        program.press("other.qfm", "frame")
        with desktop.listen() as heard:
            program.press("Forwards", "push button")
            program.live_for(2)
        program.press("Stop", "menu item")
        if heard.sounding_ms() < 700:
            raise Failure(f"the copied sounds were not heard ({heard.sounding_ms()} ms of sound)")
        program.exit()


if __name__ == "__main__":
    run(scenario, screen=(1280, 1024))
