// celvane-tool: the film operations of the program, from the command line.

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/Chunks.h"
#include "base/Errors.h"
#include "base/Reporter.h"
#include "cli/Commands.h"
#include "import/ImportKinds.h"

using namespace celvane;

namespace {

const char* kUsage =
    "usage:\n"
    "  celvane-tool info [--json] FILE\n"
    "  celvane-tool frame FILE N -o OUT.bmp\n"
    "  celvane-tool recode IN OUT\n"
    "  celvane-tool new --width W --height H --depth D [--frames N] [--period MS] OUT\n"
    "  celvane-tool convert IN OUT [--selection FIRST-LAST]   (OUT: .qfm .gif .bmp .png .pal .slb .wav .avi .flc .mp4)\n"
    "  celvane-tool print FILM OUT.pdf [--scale P | --frames-per-page N] [--flick-book] [--crop-marks]\n"
    "                     [--paper A4|Letter|A3] [--landscape] [--selection FIRST-LAST]\n"
    "  celvane-tool sound FILM FRAME SOUND.wav -o OUT.qfm [--pitch N] [--volume L,R] [--loops N]\n";

// Warnings the program would show in a box go to standard error, so that what the tool
// prints on standard output stays machine-readable.
class StandardErrorSink : public MessageSink {
public:
    MessageAnswer show(const std::string& text, MessageButtons buttons, MessageIcon) override
    {
        std::fprintf(stderr, "celvane-tool: %s\n", text.c_str());
        return firstButton(buttons);
    }
};

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        std::fputs(kUsage, args.empty() ? stderr : stdout);
        return args.empty() ? 2 : 0;
    }
    registerImportKinds();
    StandardErrorSink sink;
    Reporter::setSink(&sink);
    // Files may hold pictures drawn by Qt (metafiles, Drawfiles), and print draws pages.
    const auto graphics = cli::startGraphics();
    try {
        const std::string command = args[0];
        args.erase(args.begin());
        if (command == "info")
            return cli::info(args);
        if (command == "frame")
            return cli::frame(args);
        if (command == "recode")
            return cli::recode(args);
        if (command == "new")
            return cli::newFilm(args);
        if (command == "convert")
            return cli::convert(args);
        if (command == "print")
            return cli::print(args);
        if (command == "sound")
            return cli::sound(args);
        throw cli::UsageError("unknown command: " + command);
    } catch (const cli::UsageError& e) {
        std::fprintf(stderr, "celvane-tool: %s\n%s", e.what(), kUsage);
        return 2;
    } catch (const Error& e) {
        const std::string message = e.userMessage();
        std::fprintf(stderr, "celvane-tool: %s%s%s\n", message.c_str(), *e.what() ? " (" : "",
                     *e.what() ? (std::string(e.what()) + ")").c_str() : "");
        return 1;
    }
}
