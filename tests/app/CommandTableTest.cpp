#include <gtest/gtest.h>

#include <QImage>
#include <QKeySequence>
#include <QPainter>
#include <QSvgRenderer>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "base/CommandIds.h"
#include "app/CommandTable.h"

using namespace celvane;

namespace {

const std::filesystem::path kResources = std::filesystem::path(CELVANE_SOURCE_DIR) / "src/resources";

std::string keyOf(const char* menuText)
{
    const std::string text = menuText ? menuText : "";
    const auto tab = text.find('\t');
    return tab == std::string::npos ? std::string() : text.substr(tab + 1);
}

// The mnemonic letter, lower case; 0 when there is none, '?' when there are several.
char mnemonic(const char* text)
{
    char found = 0;
    for (const char* p = text; *p && *p != '\t'; ++p) {
        if (*p != '&')
            continue;
        if (p[1] == '&') {
            ++p;
            continue;
        }
        found = found ? '?' : static_cast<char>(std::tolower(static_cast<unsigned char>(p[1])));
    }
    return found;
}

void walk(std::span<const MenuEntry> menu, const std::function<void(const MenuEntry&)>& visit)
{
    for (const MenuEntry& e : menu) {
        visit(e);
        if (e.id == -1)
            walk(e.items, visit);
    }
}

} // namespace

TEST(CommandTable, IdsAndNamesAreUniqueAndFound)
{
    std::set<int> ids;
    std::set<std::string> names;
    for (const CommandInfo& c : allCommands()) {
        EXPECT_TRUE(ids.insert(c.id).second) << c.name;
        EXPECT_TRUE(names.insert(c.name).second) << c.name;
        EXPECT_EQ(findCommand(c.id), &c) << c.name;
        EXPECT_TRUE(c.prompt && *c.prompt) << c.name;
    }
    EXPECT_EQ(findCommand(0), nullptr);
    EXPECT_EQ(findCommand(-1), nullptr);
    EXPECT_STREQ(findCommand(ID_FRAME_NEW)->name, "ID_FRAME_NEW");
}

TEST(CommandTable, MenuBarReachesEveryMenuCommand)
{
    std::set<int> inMenus;
    walk(menuBar(), [&](const MenuEntry& e) {
        if (e.id == -1) {
            EXPECT_TRUE(e.title && !e.items.empty());
            EXPECT_NE(e.items.front().id, 0) << e.title << " starts with a separator";
            EXPECT_NE(e.items.back().id, 0) << e.title << " ends with a separator";
            for (size_t i = 1; i < e.items.size(); ++i)
                EXPECT_FALSE(e.items[i].id == 0 && e.items[i - 1].id == 0) << e.title;
        } else if (e.id != 0) {
            const CommandInfo* c = findCommand(e.id);
            ASSERT_NE(c, nullptr) << e.id;
            EXPECT_NE(c->menuText, nullptr) << c->name;
            EXPECT_TRUE(inMenus.insert(e.id).second) << c->name << " twice";
        }
    });
    for (const MenuEntry& top : menuBar())
        EXPECT_EQ(top.id, -1);

    for (const CommandInfo& c : allCommands()) {
        // The stamp tool's menu is inserted at run time, not part of the fixed bar.
        const bool toolMenu = std::string(c.name).starts_with("ID_STAMP_");
        if (c.menuText && !toolMenu) {
            EXPECT_TRUE(inMenus.count(c.id)) << c.name << " is in no menu";
        }
        if (!c.menuText) {
            EXPECT_TRUE(c.shortcut || c.toolTip) << c.name << " cannot be reached";
        }
    }
}

TEST(CommandTable, MnemonicsAreUniqueInEachMenu)
{
    const auto check = [](std::span<const MenuEntry> items, std::set<char> taken,
                          const std::string& where) {
        for (const MenuEntry& e : items) {
            if (e.id == 0)
                continue;
            const char* text = e.id == -1 ? e.title : findCommand(e.id)->menuText;
            const char m = mnemonic(text);
            EXPECT_TRUE(m && m != '?') << where << ": " << text;
            EXPECT_TRUE(taken.insert(m).second) << where << ": " << text;
        }
    };
    // The tool menus inserted at run time ("&Stamps", "&Sounds") take 's' on the bar.
    check(menuBar(), {'s'}, "menu bar");
    walk(menuBar(), [&](const MenuEntry& e) {
        if (e.id == -1)
            check(e.items, {}, e.title);
    });
}

TEST(CommandTable, KeysParseAndAreBoundOnce)
{
    std::map<std::string, std::string> owner;
    for (const CommandInfo& c : allCommands()) {
        for (const std::string& key : {keyOf(c.menuText), std::string(c.shortcut ? c.shortcut : "")}) {
            if (key.empty())
                continue;
            const QKeySequence seq = QKeySequence::fromString(QString::fromStdString(key));
            EXPECT_EQ(seq.count(), 1) << c.name << ": " << key;
            EXPECT_EQ(seq.toString().toStdString(), key) << c.name;
            const auto [it, fresh] = owner.emplace(key, c.name);
            EXPECT_TRUE(fresh) << key << " is bound to " << it->second << " and " << c.name;
        }
    }
}

TEST(CommandTable, IconsExistInBothSetsListedAndRender)
{
    std::ifstream qrcFile(kResources / "icons.qrc");
    std::stringstream qrc;
    qrc << qrcFile.rdbuf();

    std::set<std::string> icons;
    for (const CommandInfo& c : allCommands())
        if (c.icon)
            icons.insert(c.icon);
    ASSERT_FALSE(icons.empty());

    for (const char* set : {"colour", "bw"}) {
        size_t files = 0;
        for (const auto& f : std::filesystem::directory_iterator(kResources / "icons" / set)) {
            ++files;
            EXPECT_TRUE(icons.count(f.path().stem().string())) << f.path() << " is unused";
        }
        EXPECT_EQ(files, icons.size()) << set;

        for (const std::string& name : icons) {
            const std::string file = std::string(set) + "/" + name + ".svg";
            EXPECT_NE(qrc.str().find("alias=\"" + file + "\">icons/" + file + "</file>"),
                      std::string::npos)
                << file << " not in icons.qrc";

            QSvgRenderer svg(QString::fromStdString((kResources / "icons" / file).string()));
            ASSERT_TRUE(svg.isValid()) << file;
            QImage image(16, 16, QImage::Format_ARGB32);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            svg.render(&painter);
            painter.end();
            int inked = 0;
            bool grey = true;
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x) {
                    const QColor p = image.pixelColor(x, y);
                    inked += p.alpha() > 128;
                    grey = grey && p.red() == p.green() && p.green() == p.blue();
                }
            EXPECT_GT(inked, 20) << file << " draws almost nothing at 16 x 16";
            if (std::string(set) == "bw") {
                EXPECT_TRUE(grey) << file << " has colour in it";
            }
        }
    }
    size_t listed = 0;
    const std::string text = qrc.str();
    for (auto at = text.find("<file"); at != std::string::npos; at = text.find("<file", at + 1))
        ++listed;
    EXPECT_EQ(listed, 2 * icons.size() + 1); // and the program's own icon
}
