#pragma once
// The one family of failures. A command that starts work catches these and hands them to the
// reporter; whatever it was working on stays as it was before the command.

#include <stdexcept>
#include <string>

namespace celvane {

enum class ErrorKind { Memory, NotSupported, Archive, File, Resource, UserCancel };

class Error : public std::runtime_error {
public:
    // messageId names a string-table text to show instead of the kind's standard message
    // (0: use the standard one). detail is for logs and the batch tool; it is never the only
    // thing a user sees.
    Error(ErrorKind kind, int messageId, const std::string& detail);

    ErrorKind kind() const { return kind_; }
    int messageId() const { return messageId_; }
    // The text a user should see: the explicit message, else the kind's standard message.
    std::string userMessage() const;

private:
    ErrorKind kind_;
    int messageId_;
};

struct MemoryError : Error {
    explicit MemoryError(const std::string& detail = {}) : Error(ErrorKind::Memory, 0, detail) {}
};
struct NotSupportedError : Error {
    explicit NotSupportedError(const std::string& detail = {}, int messageId = 0)
        : Error(ErrorKind::NotSupported, messageId, detail) {}
};
struct ArchiveError : Error {
    explicit ArchiveError(const std::string& detail = {}, int messageId = 0)
        : Error(ErrorKind::Archive, messageId, detail) {}
};
struct FileError : Error {
    explicit FileError(const std::string& detail = {}, int messageId = 0)
        : Error(ErrorKind::File, messageId, detail) {}
};
struct ResourceError : Error {
    explicit ResourceError(const std::string& detail = {}) : Error(ErrorKind::Resource, 0, detail) {}
};
struct UserCancel : Error {
    UserCancel() : Error(ErrorKind::UserCancel, 0, "cancelled") {}
};

} // namespace celvane
