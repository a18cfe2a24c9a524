#include "import/FontFaces.h"

#include <QFontDatabase>
#include <QHash>

namespace celvane {

namespace {
const QString kSans = QStringLiteral("Liberation Sans");
const QString kSerif = QStringLiteral("Liberation Serif");
const QString kMono = QStringLiteral("Liberation Mono");

// Whether a family is installed. The font database answers through fontconfig's substitutions,
// slow enough to show in a picture of many texts, so the answers are kept; a picture names few
// faces, and the store starts afresh past a few hundred.
bool installed(const QString& family)
{
    thread_local QHash<QString, bool> known;
    if (const auto it = known.constFind(family); it != known.cend())
        return *it;
    if (known.size() >= 256)
        known.clear();
    return *known.insert(family, QFontDatabase::hasFamily(family));
}

} // namespace

QString familyForFace(const QString& face, int pitchAndFamily)
{
    static const QHash<QString, QString> standIns = {
        {"arial", kSans},         {"helvetica", kSans},      {"ms sans serif", kSans}, {"tahoma", kSans},
        {"verdana", kSans},       {"segoe ui", kSans},       {"calibri", kSans},       {"swiss", kSans},
        {"system", kSans},        {"times new roman", kSerif}, {"times", kSerif},      {"ms serif", kSerif},
        {"georgia", kSerif},      {"cambria", kSerif},       {"roman", kSerif},        {"courier new", kMono},
        {"courier", kMono},       {"fixedsys", kMono},       {"lucida console", kMono}, {"consolas", kMono},
        {"terminal", kMono},      {"modern", kMono},
    };
    const QString key = face.trimmed().toLower();
    if (const auto it = standIns.find(key); it != standIns.end())
        return *it;
    if (!key.isEmpty() && installed(face.trimmed()))
        return face.trimmed();
    const int family = pitchAndFamily & 0xF0;
    if ((pitchAndFamily & 3) == 1 || family == 0x30)
        return kMono;
    return family == 0x10 ? kSerif : kSans;
}

} // namespace celvane
