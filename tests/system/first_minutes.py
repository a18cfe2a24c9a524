"""A child's first minutes, with the action sounds on as they are by default: zoom in and out and
let each sound end by itself, draw a stroke (its sound must stop with the button), save, quit, and
start again with the film."""

import os

from desktop import Program, Failure, run, wait_for


def scenario(desktop, binary):
    program = Program(desktop, binary)
    try:
        # Each zoom plays its sound to the end while the program waits for the child.
        with desktop.listen() as heard:
            for key in ("F7", "F7", "F8", "F8"):
                program.key(key)
                program.live_for(1.5)
        if heard.sounding_ms() < 200:
            raise Failure(f"the zoom sounds were not heard ({heard.sounding_ms()} ms of sound)")

        # A pencil stroke sounds while the button is down, and stops when it comes up.
        x, y, width, height = program.extents(program.find("AFilm1 - Celvane", "frame"))
        stroke = [(x + width // 2 + dx, y + height // 3 + dx // 3) for dx in range(-100, 101, 8)]
        with desktop.listen() as heard:
            program.drag(stroke)
            program.live_for(3)
        if heard.sounding_ms() < 100:
            raise Failure("the pencil stroke was not heard")
        if heard.sounding_ms(last_seconds=1.5) > 0:
            raise Failure(f"the pencil's sound went on after the stroke "
                          f"({heard.sounding_ms(last_seconds=1.5)} ms in the last 1.5 s)")

        film = program.home + "/first.qfm"
        program.key("ctrl+s")
        dialog = program.find("File name:", "text", timeout=15)
        dialog.queryEditableText().setTextContents(film)
        program.key("Return")
        wait_for("the saved film", lambda: os.path.exists(film), timeout=15)
        program.live_for(1)
        program.press("Exit", "menu item")
        program.wait_exit()
    finally:
        program.close()

    again = Program(desktop, binary, [film])
    try:
        again.live_for(1)
        again.press("Exit", "menu item")
        again.wait_exit()
    finally:
        again.close()


if __name__ == "__main__":
    run(scenario)
