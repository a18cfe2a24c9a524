#pragma once
// Face names written by other platforms, mapped to the families this system has (fontconfig's
// Liberation and DejaVu fonts).

#include <QString>

namespace celvane {

// The face itself when it is installed, else its metric-compatible stand-in, else a family of
// the kind asked for: `pitchAndFamily` as the platform's font records keep it (pitch in bits
// 0-1, 1 fixed; family in bits 4-7, 1 roman, 3 modern).
QString familyForFace(const QString& face, int pitchAndFamily);

} // namespace celvane
