#include "app/picker/PickerFolders.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <sstream>

#include "app/picker/PickerItems.h"
#include "base/ByteIO.h"
#include "base/Reporter.h"
#include "base/Settings.h"
#include "film/FileType.h"
#include "stamps/StampFolder.h"
#include "view/ActionSoundHook.h"

namespace celvane {

namespace {
bool sameName(const std::string& a, const std::string& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

int iconOf(StampSet& icons, const PickerLink& link)
{
    const std::string folder = std::filesystem::path(link.target).filename().string();
    for (const std::string& wanted : {link.kind == PickerLink::Back ? std::string("Back") : folder, link.name})
        for (int n = 0; n < icons.count(); ++n)
            if (!wanted.empty() && sameName(icons.name(n), wanted))
                return n;
    return -1;
}
} // namespace

PickerFolders::PickerFolders(PickerItems& items) : items_(items) {}

PickerFolders::~PickerFolders() = default;

std::vector<PickerLink> parseLinks(const std::string& text)
{
    std::vector<PickerLink> links;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        size_t at = line.find_first_not_of(' ');
        if (at == std::string::npos || static_cast<unsigned char>(line[at]) < 32 || line[at] == '#')
            continue;
        const size_t targetEnd = std::find_if(line.begin() + long(at), line.end(),
                                              [](char c) { return static_cast<unsigned char>(c) < 33; })
            - line.begin();
        PickerLink link;
        link.target = line.substr(at, targetEnd - at);
        // Files written on other systems name folders with backslashes.
        std::replace(link.target.begin(), link.target.end(), '\\', '/');
        at = line.find_first_not_of(' ', targetEnd);
        if (at != std::string::npos) {
            const size_t nameEnd = std::find_if(line.begin() + long(at), line.end(),
                                                [](char c) { return static_cast<unsigned char>(c) < 32; })
                - line.begin();
            link.name = line.substr(at, nameEnd - at);
        }
        if (link.name.empty())
            link.name = link.target;
        const bool absolute = link.target[0] == '/' || (link.target.size() > 1 && link.target[1] == ':');
        link.kind = absolute ? PickerLink::Absolute : PickerLink::Relative;
        links.push_back(std::move(link));
    }
    return links;
}

bool PickerFolders::start(const std::string& folder)
{
    history_.clear();
    const bool opened = open(folder, false);
    if (!opened) {
        // Even a folder without items offers its links, so that a person can get somewhere.
        folder_ = folder;
        readLinksAndIcons();
    }
    return opened;
}

bool PickerFolders::follow(int k)
{
    if (k < 0 || k >= int(links_.size()))
        return false;
    const PickerLink link = links_[size_t(k)];
    if (link.kind == PickerLink::Back) {
        ActionSounds::play("Leave Dir");
        const std::string previous = history_.back();
        history_.pop_back();
        if (open(previous, false))
            return true;
        history_.push_back(previous);
        return false;
    }
    ActionSounds::play("Enter Dir");
    return open(targetOf(link), true);
}

std::string PickerFolders::targetOf(const PickerLink& link) const
{
    if (link.kind == PickerLink::Back)
        return history_.empty() ? folder_ : history_.back();
    if (link.kind == PickerLink::Absolute)
        return link.target;
    return (std::filesystem::path(folder_) / link.target).lexically_normal().string();
}

bool PickerFolders::open(const std::string& folder, bool forward)
{
    if (!items_.openFolder(folder))
        return false;
    if (forward && !folder_.empty())
        history_.push_back(folder_);
    folder_ = folder;
    readLinksAndIcons();
    return true;
}

void PickerFolders::readLinksAndIcons()
{
    links_.clear();
    if (!history_.empty())
        links_.push_back({PickerLink::Back, "Back", {}});
    const auto file = findFileWithDefaultExtensions((std::filesystem::path(folder_) / "links").string(),
                                                    FileType::Text, Settings::instance());
    if (file) {
        try {
            const Bytes data = readFile(file->path);
            for (auto& link : parseLinks(std::string(data.begin(), data.end())))
                links_.push_back(std::move(link));
        } catch (const std::exception&) {
            // An unreadable links file offers no links; the items still show.
        }
    }
    readIcons();
}

void PickerFolders::readIcons()
{
    icons_.reset();
    try {
        icons_ = loadFolderIcons(folder_, Settings::instance());
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception& e) {
        // The links keep their drawn folders.
        Reporter::reportException(e, true, (std::filesystem::path(folder_) / "icons").string());
    }
    if (icons_)
        for (PickerLink& link : links_)
            link.icon = iconOf(*icons_, link);
}

} // namespace celvane
