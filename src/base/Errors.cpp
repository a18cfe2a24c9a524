#include "base/Errors.h"

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

std::string Error::userMessage() const
{
    const int id = messageId_ ? messageId_ : standardMessage(kind_);
    return id ? loadString(id) : std::string();
}

} // namespace celvane
