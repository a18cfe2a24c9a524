#include "platform/DataFolder.h"

#include <QCoreApplication>

namespace celvane {

std::filesystem::path dataFolder()
{
    const std::filesystem::path bin = QCoreApplication::applicationDirPath().toStdString();
    return (bin / ".." / "share" / "celvane").lexically_normal();
}

} // namespace celvane
