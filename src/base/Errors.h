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

    // The file the failure concerns, and why in the system's words ("Permission denied"); the
    // user sees them under the message.
    const std::string& file() const { return file_; }
    const std::string& reason() const { return reason_; }
    void setFile(const std::string& file, const std::string& reason = {});

private:
    ErrorKind kind_;
    int messageId_;
    std::string file_;
    std::string reason_;
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
    // A failed system call on a file, with the system's reason for `error` (an errno value).
    static FileError system(const std::string& file, int error);
};
struct ResourceError : Error {
    explicit ResourceError(const std::string& detail = {}) : Error(ErrorKind::Resource, 0, detail) {}
};
struct UserCancel : Error {
    UserCancel() : Error(ErrorKind::UserCancel, 0, "cancelled") {}
};

} // namespace celvane
