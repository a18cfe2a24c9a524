#pragma once
// The folder a picker shows, the folders it came through (for "Back"), and the links its folder
// offers, read from the folder's "links" file: one link a line, the target first, then the name
// shown; "#" starts a comment. The folder's "icons" file may give links their pictures: the
// picture named as the link's folder (or as its shown name; "Back" for the way back).

#include <memory>
#include <string>
#include <vector>

namespace celvane {

class PickerItems;
class StampSet;

struct PickerLink {
    enum Kind { Back, Relative, Absolute };
    Kind kind = Relative;
    std::string name;
    std::string target;
    int icon = -1; // its picture in the folder's icons, or -1 for the drawn folder
    bool operator==(const PickerLink&) const = default;
};

// The links of a links file's text.
std::vector<PickerLink> parseLinks(const std::string& text);

class PickerFolders {
public:
    explicit PickerFolders(PickerItems& items);
    ~PickerFolders();

    const std::string& folder() const { return folder_; }
    // "Back" (when there is a way back) and then the folder's links.
    const std::vector<PickerLink>& links() const { return links_; }
    // The pictures of the folder's icons file; null when it has none (or none that could be read).
    StampSet* icons() const { return icons_.get(); }

    // Opens a folder as the first one, forgetting the way back; false when it has no items.
    bool start(const std::string& folder);
    // Follows link k; false when its folder has no items (the picker stays).
    bool follow(int k);
    // The folder a link leads to.
    std::string targetOf(const PickerLink& link) const;

private:
    bool open(const std::string& folder, bool forward);
    void readLinksAndIcons();
    void readIcons();

    PickerItems& items_;
    std::string folder_;
    std::vector<std::string> history_;
    std::vector<PickerLink> links_;
    std::unique_ptr<StampSet> icons_;
};

} // namespace celvane
