#include "base/Errors.h"

#include <cstring>

#include "base/StringTable.h"

namespace celvane {

namespace {
int standardMessage(ErrorKind kind)
{
    switch (kind) {
    case ErrorKind::Memory: return IDS_OUT_OF_MEMORY;
    case ErrorKind::NotSupported: return IDS_NOT_SUPPORTED;
    case ErrorKind::Archive: return IDS_ARCHIVE_ERROR;
    case ErrorKind::File: return IDS_FILE_ERROR;
    case ErrorKind::Resource: return IDS_RESOURCE_ERROR;
    case ErrorKind::UserCancel: return 0;
    }
    return 0;
}
} // namespace

Error::Error(ErrorKind kind, int messageId, const std::string& detail)
    : std::runtime_error(detail), kind_(kind), messageId_(messageId)
{
}

void Error::setFile(const std::string& file, const std::string& reason)
{
    file_ = file;
    reason_ = reason;
}

FileError FileError::system(const std::string& file, int error)
{
    const std::string reason = std::strerror(error);
    FileError e(file + ": " + reason);
    e.setFile(file, reason);
    return e;
}

std::string Error::userMessage() const
{
    const int id = messageId_ ? messageId_ : standardMessage(kind_);
    return id ? loadString(id) : std::string();
}

} // namespace celvane
