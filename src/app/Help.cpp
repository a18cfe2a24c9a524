#include "app/Help.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

#include "base/Errors.h"
#include "base/Reporter.h"
#include "platform/DataFolder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
#include <libswscale/swscale.h>
}

namespace celvane::Help {

namespace {
QString versionOf(unsigned packed)
{
    return QString("%1.%2.%3").arg(AV_VERSION_MAJOR(packed)).arg(AV_VERSION_MINOR(packed)).arg(AV_VERSION_MICRO(packed));
}
} // namespace

std::filesystem::path guidePage() { return dataFolder() / "help" / "index.html"; }

void openGuide()
{
    try {
        const std::filesystem::path page = guidePage();
        std::error_code error;
        if (!std::filesystem::is_regular_file(page, error))
            throw ResourceError(page.string());
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(page.string()))))
            throw NotSupportedError("no browser to show " + page.string());
    } catch (const std::exception& e) {
        Reporter::reportException(e, true);
    }
}

QString aboutText()
{
    return QString("<h3>Celvane %1</h3>"
                   "<p>Frame-by-frame animation for schools.</p>"
                   "<p>Licence: GNU General Public License, version 3 or any later version.</p>"
                   "<p>Made with these libraries:</p><ul>"
                   "<li>Qt %2 (LGPL 3)</li>"
                   "<li>FFmpeg %3: libavformat %4, libavcodec %5, libavutil %6, libswscale %7 (LGPL 2.1 or later)</li>"
                   "</ul>")
        .arg(CELVANE_VERSION, qVersion(), av_version_info(), versionOf(avformat_version()),
             versionOf(avcodec_version()), versionOf(avutil_version()), versionOf(swscale_version()));
}

void showAbout(QWidget* parent) { QMessageBox::about(parent, "About Celvane", aboutText()); }

} // namespace celvane::Help
