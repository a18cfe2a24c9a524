"""Stamps and text: a stamp folder whose stamps come from a RISC OS sprite file, a stamp dragged
from the picker onto the film and the set saved as the folder's default; a caption typed with the
text tool, with Delete and Backspace editing the text rather than the film."""

import os
import shutil

from desktop import Failure, Program, require_file, run, wait_for

CORPUS = os.path.join(os.path.dirname(__file__), "..", "..", "..", "shared", "corpus")


def scenario(desktop, binary):
    stamps = os.path.join(desktop.folder, "stamps")
    os.makedirs(stamps)
    shutil.copy(require_file(os.path.join(CORPUS, "sprite", "desklib", "me_bw.ff9")), os.path.join(stamps, "data.ff9"))
    with Program(desktop, binary, settings={"Stamp Picker": {"Dir": stamps}}) as program:
        x, y, width, height = program.extents(program.find("AFilm1 - Celvane", "frame"))
        film_centre = (x + width // 2, y + height // 3)

        program.press("Stamp", "push button")
        picker = program.find("Stamp Picker", "frame")
        grid = picker.getChildAtIndex(0).getChildAtIndex(0)
        gx, gy, _, _ = program.extents(grid)
        first_stamp = (gx + 32, gy + 32)
        # Pressed and dragged out of the picker onto the film.
        program.drag([first_stamp] + [(first_stamp[0] + (film_centre[0] - first_stamp[0]) * i // 10,
                                       first_stamp[1] + (film_centre[1] - first_stamp[1]) * i // 10)
                                      for i in range(1, 11)])
        # A stamp dropped on the film is merged in, as a file dropped there is.
        program.press("OK", "push button", within=program.find("Import Options", "dialog"))
        program.live_for(1)
        program.press("Save As Default", "menu item", within=picker)
        wait_for("the stamp set saved as the folder's default",
                 lambda: os.path.exists(os.path.join(stamps, "data.stp")))
        program.check_alive()

        program.press("Text", "push button")
        # The text panel opens beside the toolbox, over the film's left side when the screen has no
        # room beside the window: the caption goes on the right.
        program.drag([(x + width * 3 // 4, film_centre[1])])
        program.type("abc")
        program.key("Delete")
        program.live_for(1)
        if program.boxes():
            raise Failure(f'Delete while typing opened "{program.boxes()[0].name}"')
        program.type("Hello")
        program.key("BackSpace", "Return")
        program.live_for(1)
        if program.boxes():
            raise Failure(f'typing opened "{program.boxes()[0].name}"')

        program.key("alt+F4")
        program.answer("No")
        program.wait_exit()


if __name__ == "__main__":
    run(scenario)
