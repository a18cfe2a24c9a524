#include "base/Settings.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <optional>

#include "base/ByteIO.h"

namespace celvane {

namespace fs = std::filesystem;

namespace {

std::string trim(const std::string& s)
{
    size_t a = 0, b = s.size();
    while (a < b && std::isspace(static_cast<unsigned char>(s[a])))
        ++a;
    while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1])))
        --b;
    return s.substr(a, b - a);
}

bool sameName(const std::string& a, const std::string& b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// "[Name]" gives Name; anything else nullopt.
std::optional<std::string> sectionOf(const std::string& line)
{
    const std::string t = trim(line);
    if (t.size() >= 2 && t.front() == '[') {
        const size_t close = t.find(']');
        if (close != std::string::npos)
            return trim(t.substr(1, close - 1));
    }
    return std::nullopt;
}

bool isComment(const std::string& t) { return t.empty() || t[0] == ';' || t[0] == '#'; }

// Splits "name = value" lines; false for comments and lines without '='.
bool splitValue(const std::string& line, std::string* name, std::string* value)
{
    const std::string t = trim(line);
    if (isComment(t))
        return false;
    const size_t eq = t.find('=');
    if (eq == std::string::npos)
        return false;
    *name = trim(t.substr(0, eq));
    std::string v = trim(t.substr(eq + 1));
    // A value in matching quotes is read without them.
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    *value = v;
    return true;
}

} // namespace

Settings::Settings(fs::path path) : path_(std::move(path)) {}

fs::path Settings::defaultPath()
{
    if (const char* env = std::getenv("CELVANE_SETTINGS"); env && *env)
        return env;
    fs::path config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        config = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        config = fs::path(home) / ".config";
    else
        config = fs::temp_directory_path();
    return config / "celvane" / "celvane.ini";
}

Settings& Settings::instance()
{
    static Settings settings(defaultPath());
    return settings;
}

const Settings& Settings::defaults()
{
    static const Settings none{fs::path()};
    return none;
}

void Settings::useFile(const fs::path& path)
{
    Settings& s = instance();
    s.path_ = path;
    s.lines_.clear();
    s.loaded_ = false;
}

void Settings::refresh() const
{
    std::error_code ec;
    const auto time = fs::last_write_time(path_, ec);
    if (ec) {
        // No file (yet): keep what was written in memory, if anything.
        loaded_ = true;
        return;
    }
    if (loaded_ && time == loadedTime_)
        return;
    lines_.clear();
    std::ifstream in(path_);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines_.push_back(line);
    }
    loadedTime_ = time;
    loaded_ = true;
}

int Settings::findValue(const std::string& section, const std::string& name, int* sectionEnd) const
{
    bool inSection = false;
    int end = -1;
    for (int i = 0; i < int(lines_.size()); ++i) {
        if (auto s = sectionOf(lines_[size_t(i)])) {
            inSection = sameName(*s, section);
            if (inSection)
                end = i + 1;
            continue;
        }
        if (!inSection)
            continue;
        std::string n, v;
        if (splitValue(lines_[size_t(i)], &n, &v)) {
            end = i + 1;
            if (sameName(n, name)) {
                if (sectionEnd)
                    *sectionEnd = end;
                return i;
            }
        }
    }
    if (sectionEnd)
        *sectionEnd = end;
    return -1;
}

std::optional<std::string> Settings::lookup(const std::string& section, const std::string& name) const
{
    refresh();
    const int i = findValue(section, name, nullptr);
    if (i < 0)
        return std::nullopt;
    std::string n, v;
    splitValue(lines_[size_t(i)], &n, &v);
    return v;
}

std::string Settings::getString(const std::string& section, const std::string& name,
                                const std::string& defaultValue) const
{
    return lookup(section, name).value_or(defaultValue);
}

namespace {
// The number the value starts with, as private profiles read it ("8 ; note" is 8); none when
// it starts with no digits or the number is too large for any value.
std::optional<long> leadingNumber(const std::string& text)
{
    const char* start = text.c_str();
    char* end = nullptr;
    errno = 0;
    const long n = std::strtol(start, &end, 10);
    if (end == start || errno == ERANGE)
        return std::nullopt;
    return n;
}
} // namespace

int Settings::getInt(const std::string& section, const std::string& name, int defaultValue, int min, int max) const
{
    const auto value = lookup(section, name);
    const auto n = value ? leadingNumber(*value) : std::nullopt;
    return n && *n >= min && *n <= max ? int(*n) : defaultValue;
}

bool Settings::getFlag(const std::string& section, const std::string& name, bool defaultValue) const
{
    return getInt(section, name, defaultValue ? 1 : 0, INT_MIN, INT_MAX) != 0;
}

int Settings::dragMinDistance() const { return getInt("windows", "DragMinDist", 2, 0, 100); }

bool Settings::writeInt(const std::string& section, const std::string& name, int value)
{
    return writeString(section, name, std::to_string(value));
}

bool Settings::writeString(const std::string& section, const std::string& name, const std::string& value)
{
    refresh();
    int sectionEnd = -1;
    const int i = findValue(section, name, &sectionEnd);
    const std::string line = name + "=" + value;
    if (i >= 0) {
        lines_[size_t(i)] = line;
    } else if (sectionEnd >= 0) {
        lines_.insert(lines_.begin() + sectionEnd, line);
    } else {
        if (!lines_.empty() && !trim(lines_.back()).empty())
            lines_.push_back("");
        lines_.push_back("[" + section + "]");
        lines_.push_back(line);
    }
    return save();
}

bool Settings::save() const
{
    std::string text;
    for (const std::string& l : lines_)
        text += l + "\n";
    try {
        std::error_code ec;
        fs::create_directories(path_.parent_path(), ec);
        writeFileAtomically(path_.string(), ByteSpan(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
        loadedTime_ = fs::last_write_time(path_, ec);
        return true;
    } catch (const Error&) {
        return false;
    }
}

} // namespace celvane
