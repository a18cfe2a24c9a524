#include <gtest/gtest.h>

#include "base/Command.h"

using namespace celvane;

namespace {
struct Target : CommandTarget {
    std::vector<int> ran;
    void answer(int id, CommandState s)
    {
        addCommands({{id, [this, id] { ran.push_back(id); }, [s] { return s; }}});
    }
    void answerWhile(int id, const bool& on)
    {
        addCommands({{id, [this, id] { ran.push_back(id); }, [&on] { return enabledWhen(on); }}});
    }
};
} // namespace

TEST(CommandRouter, FirstTargetThatKnowsACommandAnswersAndDisabledCommandsDoNotRun)
{
    Target view, doc, app;
    view.answer(1, {true, true, ""});
    doc.answer(1, {false, false, ""});
    doc.answer(2, {true, false, "Second"});
    app.answer(3, {false, false, ""});
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

TEST(CommandRouter, ARuleIsAskedEachTimeSoACommandFollowsWhatItReads)
{
    bool ready = false;
    Target target;
    target.answerWhile(7, ready);
    CommandRouter router;
    router.setChain({&target});

    EXPECT_FALSE(router.execute(7));
    ready = true;
    EXPECT_TRUE(router.state(7).enabled);
    EXPECT_TRUE(router.execute(7));
    EXPECT_EQ(target.ran, std::vector<int>{7});
}
