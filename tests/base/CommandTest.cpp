#include <gtest/gtest.h>

#include <map>

#include "base/Command.h"

using namespace celvane;

namespace {
struct Target : CommandTarget {
    std::map<int, CommandState> answers;
    std::vector<int> ran;
    bool onCommand(int id) override
    {
        if (!answers.count(id))
            return false;
        ran.push_back(id);
        return true;
    }
    bool onUpdate(int id, CommandState& s) override
    {
        const auto it = answers.find(id);
        if (it == answers.end())
            return false;
        s = it->second;
        return true;
    }
};
} // namespace

TEST(CommandRouter, FirstTargetThatKnowsACommandAnswersAndDisabledCommandsDoNotRun)
{
    Target view, doc, app;
    view.answers[1] = {true, true, ""};
    doc.answers[1] = {false, false, ""};
    doc.answers[2] = {true, false, "Second"};
    app.answers[3] = {false, false, ""};
    CommandRouter router;
    router.setChain({&view, nullptr, &doc, &app});

    EXPECT_TRUE(router.state(1).checked);
    EXPECT_TRUE(router.execute(1));
    EXPECT_EQ(view.ran, std::vector<int>{1});
    EXPECT_TRUE(doc.ran.empty());
    EXPECT_EQ(router.state(2).text, "Second");
    EXPECT_TRUE(router.execute(2));
    EXPECT_FALSE(router.execute(3)); // disabled
    EXPECT_FALSE(router.state(99).enabled);
    EXPECT_FALSE(router.execute(99));
    EXPECT_TRUE(app.ran.empty());
}
