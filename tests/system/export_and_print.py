"""A teacher's export and print: a film with sounds exported as a GIF, and as an MP4 and an AVI with
its sound track, printed to a PDF through the print dialog twice (the second time over the first file,
which it asks about), and the File Summary and Choices looked at. Every file is checked with
another program's reader."""

import os
import subprocess

from desktop import Failure, Program, run, wait_for
from films import make_film


def other_reader(*command):
    return subprocess.run(command, check=True, capture_output=True, text=True).stdout


def pdf_pages(path):
    """The pages of a whole PDF, or 0 while there is none (or it is still being written)."""
    done = subprocess.run(["pdfinfo", path], capture_output=True, text=True)
    pages = [line.split()[-1] for line in done.stdout.splitlines() if line.startswith("Pages:")]
    return int(pages[0]) if done.returncode == 0 and pages else 0


def export(program, path):
    program.press("Export...", "menu item")
    dialog = program.find("Export", "dialog")
    # Typed over the name offered, as a person does; the name's extension chooses the kind.
    program.key("ctrl+a")
    program.type(path)
    program.press("Save", "push button", within=dialog)
    wait_for(f"the export {os.path.basename(path)}",
             lambda: os.path.exists(path) and not program.boxes() and os.path.getsize(path) > 0, timeout=60)


def print_to_pdf(program, path, replace=False):
    program.key("ctrl+p")
    dialog = program.find("Print", "dialog")
    field = program.find("PDF file:", "text", within=dialog)
    if replace:
        offered = field.queryText().getText(0, -1)
        if offered != path:
            raise Failure(f'Print offered "{offered}", not the PDF chosen last time')
    else:
        field.queryEditableText().setTextContents(path)
    program.press("OK", "push button", within=dialog)
    if replace:
        program.answer("Yes")


def scenario(desktop, binary):
    tool = os.path.join(os.path.dirname(binary), "celvane-tool")
    film = make_film(desktop.folder, tool)
    with Program(desktop, binary, [film]) as program:
        gif = os.path.join(desktop.folder, "film.gif")
        export(program, gif)
        frames = other_reader("identify", gif).strip().splitlines()
        if len(frames) != 8:
            raise Failure(f"the GIF has {len(frames)} frames, not 8")

        for kind in ("mp4", "avi"):
            video = os.path.join(desktop.folder, f"film.{kind}")
            export(program, video)
            streams = other_reader("ffprobe", "-v", "error", "-show_entries", "stream=codec_type", "-of", "csv=p=0",
                                   video)
            if sorted(streams.split()) != ["audio", "video"]:
                raise Failure(f"the {kind.upper()} holds {streams.split()}, not a picture and a sound track")

        pdf = os.path.join(desktop.folder, "sheet.pdf")
        print_to_pdf(program, pdf)
        wait_for("the printed PDF", lambda: pdf_pages(pdf), timeout=60)
        os.truncate(pdf, 10)
        print_to_pdf(program, pdf, replace=True)
        wait_for("the PDF printed again", lambda: pdf_pages(pdf), timeout=60)

        program.press("File Summary...", "menu item")
        program.press("Close", "push button", within=program.find("File Summary", "dialog"))
        program.press("Choices...", "menu item")
        program.press("OK", "push button", within=program.find("Choices", "dialog"))
        program.live_for(1)

        program.key("alt+F4")
        program.wait_exit()


if __name__ == "__main__":
    run(scenario)
