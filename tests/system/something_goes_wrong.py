"""Something goes wrong: a damaged film named on the command line, a full disk on save, and the
program killed while a child draws, with the recovery copy offered at the next start. Nothing
drawn before the last recovery copy is lost."""

import contextlib
import glob
import os
import shutil
import subprocess

from desktop import Failure, Program, run, wait_for
from films import frame_pictures, inked, make_film

# A recovery copy every minute, the shortest the Choices allow.
SETTINGS = {"Settings": {"AutosaveMinutes": 1}}


@contextlib.contextmanager
def full_disk(folder):
    """A small file system of its own, filled up; None where mounting one is not allowed."""
    os.makedirs(folder)
    if subprocess.run(["mount", "-t", "tmpfs", "-o", "size=64k", "tmpfs", folder], capture_output=True).returncode:
        print("A full disk cannot be made here (mounting needs root): the full disk on save is not tried.")
        yield None
        return
    try:
        filler = os.open(os.path.join(folder, "filler"), os.O_WRONLY | os.O_CREAT)
        with contextlib.suppress(OSError):
            while True:
                os.write(filler, bytes(4096))
        os.close(filler)
        yield folder
    finally:
        subprocess.run(["umount", "--lazy", folder], check=True)


def scenario(desktop, binary):
    tool = os.path.join(os.path.dirname(binary), "celvane-tool")
    damaged = make_film(desktop.folder, tool)
    os.truncate(damaged, 1000)
    with Program(desktop, binary, [damaged], settings=SETTINGS) as program:
        # The damaged film is refused by name, and the program goes on with a new film.
        said = program.answer("OK")
        if "corrupt" not in said or "sounds.qfm" not in said:
            raise Failure(f'opening a damaged film said "{said}"')
        x, y, width, height = program.extents(program.find("AFilm1 - Celvane", "frame"))
        middle = (x + width // 2, y + height // 3)
        program.drag([(middle[0] + dx, middle[1]) for dx in range(-100, 101, 8)])

        # Saved on a full disk: the failure is told, the film stays open with what was drawn.
        with full_disk(os.path.join(desktop.folder, "full")) as full:
            if full:
                program.save_as(os.path.join(full, "lost.qfm"))
                said = program.answer("OK", timeout=15)
                if "space" not in said.lower():
                    raise Failure(f'saving on a full disk said "{said}"')
                if os.listdir(full) != ["filler"]:
                    raise Failure(f"saving on a full disk left {os.listdir(full)}")
                program.find("AFilm1 * - Celvane", "frame")
        kept = os.path.join(program.home, "kept.qfm")
        program.save_as(kept)
        wait_for("the film saved where there is room", lambda: os.path.exists(kept), timeout=15)
        [saved] = frame_pictures(tool, kept)
        if not inked(saved):
            raise Failure("the film saved after the full disk lost its drawing")

        # A stroke more, the recovery copy written, and the program killed in the next stroke.
        program.drag([(middle[0], middle[1] - 60 + dy) for dy in range(0, 121, 8)])
        copies = os.path.join(program.home, "state", "celvane", "recovery", "*.qfm")
        [copy] = wait_for("the recovery copy", lambda: glob.glob(copies), timeout=75)
        recovered = frame_pictures(tool, shutil.copy(copy, desktop.folder))
        program.drag([(middle[0] - 50 + d, middle[1] + 40 - d) for d in range(0, 101, 8)], release=False)
        program.process.kill()
        desktop.xdotool("mouseup", "1")

    # The next start offers the copy, which holds both strokes.
    with Program(desktop, binary, home=program.home, settings=SETTINGS) as again:
        said = again.answer("Yes")
        if "recovered copy" not in said:
            raise Failure(f'the next start asked "{said}"')
        back = os.path.join(again.home, "back.qfm")
        again.save_as(back)
        wait_for("the recovered film saved", lambda: os.path.exists(back), timeout=15)
        if frame_pictures(tool, back) != recovered or inked(recovered[0]) <= inked(saved):
            raise Failure("the recovered film is not the film as its recovery copy held it")
        if glob.glob(copies):
            raise Failure(f"the recovery copy stayed after it was taken: {glob.glob(copies)}")
        again.exit()


if __name__ == "__main__":
    run(scenario)
