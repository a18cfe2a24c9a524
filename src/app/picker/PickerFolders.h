#pragma once
// The folder a picker shows, the folders it came through (for "Back"), and the links its folder
// offers, read from the folder's "links" file: one link a line, the target first, then the name
// shown; "#" starts a comment.

#include <string>
#include <vector>

namespace celvane {

class PickerItems;

struct PickerLink {
    enum Kind { Back, Relative, Absolute };
    Kind kind = Relative;
    std::string name;
    std::string target;
    bool operator==(const PickerLink&) const = default;
};

// The links of a links file's text.
std::vector<PickerLink> parseLinks(const std::string& text);

class PickerFolders {
public:
    explicit PickerFolders(PickerItems& items) : items_(items) {}

    const std::string& folder() const { return folder_; }
    // "Back" (when there is a way back) and then the folder's links.
    const std::vector<PickerLink>& links() const { return links_; }

    // Opens a folder as the first one, forgetting the way back; false when it has no items.
    bool start(const std::string& folder);
    // Follows link k; false when its folder has no items (the picker stays).
    bool follow(int k);
    // The folder a link leads to.
    std::string targetOf(const PickerLink& link) const;

private:
    bool open(const std::string& folder, bool forward);
    void readLinks();

    PickerItems& items_;
    std::string folder_;
    std::vector<std::string> history_;
    std::vector<PickerLink> links_;
};

} // namespace celvane
