#include "platform/Actions.h"

#include <gtest/gtest.h>

namespace {

TEST(Actions, ExecuteAsksTheUpdateHandlerFirstAndRunsOnlyWhenEnabled)
{
    bool canRun = false;
    int runs = 0;
    TActionList list(u"Terminal");
    TAction& action = list.Add({});
    action.Name = u"ConnectAct";
    action.OnExecute = [&](TObject* sender) {
        EXPECT_EQ(sender, &action);
        ++runs;
    };
    action.OnUpdate = [&](TObject* sender) { static_cast<TAction*>(sender)->Enabled = canRun; };

    EXPECT_FALSE(action.Execute());
    EXPECT_EQ(runs, 0);
    canRun = true;
    EXPECT_TRUE(action.Execute());
    EXPECT_EQ(runs, 1);
    canRun = false;
    list.UpdateActions();
    EXPECT_FALSE(action.Enabled);
}

TEST(Actions, AnActionWithoutUpdateHandlerIsAlwaysEnabledAndOneWithoutExecuteDoesNothing)
{
    TAction plain;
    EXPECT_TRUE(plain.Enabled);
    plain.Update();
    EXPECT_TRUE(plain.Enabled);
    EXPECT_FALSE(plain.Execute());
}

TEST(Actions, FindLooksThroughEveryListByExactName)
{
    TActionList first(u"Terminal"), second(u"CodeEditor");
    TAction a;
    a.Name = u"OpenAct";
    TAction& inFirst = first.Add(a);
    a.Name = u"SaveAct";
    TAction& inSecond = second.Add(a);

    EXPECT_EQ(first.Find(u"OpenAct"), &inFirst);
    EXPECT_EQ(first.Find(u"SaveAct"), nullptr);
    EXPECT_EQ(FindAction({&first, &second}, u"SaveAct"), &inSecond);
    EXPECT_EQ(FindAction({&first, &second}, u"openact"), nullptr);
    EXPECT_EQ(first.Actions().size(), 1u);
}

} // namespace
