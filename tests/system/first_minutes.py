"""A child's first ten minutes, with the action sounds on as they are by default: zoom in and out
and let each sound end by itself; draw with the pencil (its sound must stop with the button), the
eraser and the fill on three frames added from the play bar and the menu; ghosting on; play and
stop; save, quit, and start again with the film: every frame back as it was drawn."""

import os

import pyatspi

from desktop import Program, Failure, run, wait_for
from films import frame_pictures, inked


def scenario(desktop, binary):
    tool = os.path.join(os.path.dirname(binary), "celvane-tool")
    with Program(desktop, binary) as program:
        # Each zoom plays its sound to the end while the program waits for the child.
        with desktop.listen() as heard:
            for key in ("F7", "F7", "F8", "F8"):
                program.key(key)
                program.live_for(1.5)
        if heard.sounding_ms() < 200:
            raise Failure(f"the zoom sounds were not heard ({heard.sounding_ms()} ms of sound)")

        # Frame 1: a pencil stroke sounds while the button is down, and stops when it comes up.
        x, y, width, height = program.extents(program.find("AFilm1 - Celvane", "frame"))
        middle = (x + width // 2, y + height // 3)
        stroke = [(middle[0] + dx, middle[1] + dx // 3) for dx in range(-100, 101, 8)]
        with desktop.listen() as heard:
            program.drag(stroke)
            program.live_for(3)
        if heard.sounding_ms() < 100:
            raise Failure("the pencil stroke was not heard")
        if heard.sounding_ms(last_seconds=1.5) > 0:
            raise Failure(f"the pencil's sound went on after the stroke "
                          f"({heard.sounding_ms(last_seconds=1.5)} ms in the last 1.5 s)")

        # Frame 2, a copy of the first from the play bar: part of the stroke rubbed out.
        program.press("Duplicate frame", "push button", within=program.find("Play Tools", "tool bar"))
        program.press("Eraser", "push button")
        program.drag([(middle[0] - 10 + dx, middle[1] - 30 + dy) for dy in range(0, 61, 4) for dx in (0, 20)])
        # Frame 3, a blank one from the menu, filled.
        program.press("New frame", "menu item")
        program.press("Flood fill", "push button")
        program.drag([middle])

        program.press("Ghosting", "menu item")
        wait_for("ghosting to be on", lambda: program.find("Ghosting", "menu item").getState().contains(
            pyatspi.STATE_CHECKED))
        program.press("Forwards", "push button")
        program.live_for(1.5)
        program.press("Stop", "menu item")

        film = program.home + "/first.qfm"
        program.key("ctrl+s")
        program.choose_file(film)
        wait_for("the saved film", lambda: os.path.exists(film), timeout=15)
        drawn = frame_pictures(tool, film)
        pencil, rubbed, filled = (inked(p) for p in drawn) if len(drawn) == 3 else (0, 0, 0)
        if not 0 < rubbed < pencil or filled < len(drawn[2]) // 2:
            raise Failure(f"the saved film's {len(drawn)} frames are not the stroke, the stroke rubbed out "
                          f"in part and the fill (pixels drawn on: {[inked(p) for p in drawn]})")
        program.live_for(1)
        program.exit()

    with Program(desktop, binary, [film]) as again:
        again.find("first.qfm - Celvane", "frame")
        copy = again.home + "/again.qfm"
        again.save_as(copy)
        wait_for("the film saved again", lambda: os.path.exists(copy), timeout=15)
        if frame_pictures(tool, copy) != drawn:
            raise Failure("the film opened again does not hold the frames drawn")
        again.exit()


if __name__ == "__main__":
    run(scenario)
