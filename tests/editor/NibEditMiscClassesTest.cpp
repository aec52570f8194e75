#include <gtest/gtest.h>

#include <string>
#include <vector>
#include "editor/NibEditMiscClasses.h"

namespace {

/// Counts the OnChange calls of an option object.
struct ChangeCount {
    int n = 0;
    template <typename T>
    explicit ChangeCount(T& object)
    {
        object.OnChange = [this](TObject*) { ++n; };
    }
};

} // namespace

TEST(NibGutter, SettersClampAndNotifyOnlyOnChange)
{
    TNibGutter g;
    ChangeCount changes(g);
    g.SetDigitCount(20);
    EXPECT_EQ(g.DigitCount(), 12);
    EXPECT_EQ(g.AutoSizeDigitCountInUse(), 12);
    g.SetGradientSteps(1);
    EXPECT_EQ(g.GradientSteps(), 2);
    g.SetWidth(-3);
    EXPECT_EQ(g.Width(), 0);
    EXPECT_EQ(changes.n, 3);
    g.SetWidth(-1);
    g.SetGradientSteps(2);
    EXPECT_EQ(changes.n, 3);
    g.SetBorderStyle(g.BorderStyle());
    EXPECT_EQ(changes.n, 4);
    TFont f = g.Font();
    f.Style = std::uint8_t(TFontStyle::fsBold);
    g.SetFont(f);
    EXPECT_EQ(changes.n, 5);
}

TEST(NibGutter, LineNumberStartDrivesZeroStart)
{
    TNibGutter g;
    g.SetLineNumberStart(0);
    EXPECT_TRUE(g.ZeroStart());
    EXPECT_EQ(g.FormatLineNumber(7), u"   6");
    g.SetLineNumberStart(5);
    EXPECT_FALSE(g.ZeroStart());
    EXPECT_EQ(g.FormatLineNumber(1), u"   5");
    g.SetLineNumberStart(-4);
    EXPECT_EQ(g.LineNumberStart(), 0);
}

TEST(NibGutter, FormatsLineNumbers)
{
    TNibGutter g;
    EXPECT_EQ(g.FormatLineNumber(7), u"   7");
    g.SetLeadingZeros(true);
    EXPECT_EQ(g.FormatLineNumber(7), u"0007");
    EXPECT_EQ(g.FormatLineNumber(12345), u"12345");
}

TEST(NibGutter, AutoSizesItsDigitCountToTheLineCount)
{
    TNibGutter g;
    g.SetShowLineNumbers(true);
    g.SetAutoSize(true);
    ChangeCount changes(g);
    g.AutoSizeDigitCount(9);
    EXPECT_EQ(g.AutoSizeDigitCountInUse(), 4);
    g.AutoSizeDigitCount(12345);
    EXPECT_EQ(g.AutoSizeDigitCountInUse(), 5);
    EXPECT_EQ(changes.n, 1);
    EXPECT_EQ(g.RealGutterWidth(8), 16 + 2 + 5 * 8 + 2);
    g.SetAutoSize(false);
    g.AutoSizeDigitCount(12345);
    EXPECT_EQ(g.AutoSizeDigitCountInUse(), 4);
}

TEST(NibGutter, HiddenGutterHasNoWidth)
{
    TNibGutter g;
    g.SetShowLineNumbers(true);
    g.SetVisible(false);
    EXPECT_EQ(g.Width(), 0);
    EXPECT_EQ(g.RealGutterWidth(8), 0);
}

TEST(NibGutter, AssignCopiesAllButCursorAndHandlerAndFiresOnce)
{
    TNibGutter a, b;
    b.SetColor(clBlack);
    b.SetDigitCount(6);
    b.SetCursor(TCursorShape::crHandPoint);
    ChangeCount changes(a);
    a.Assign(b);
    EXPECT_EQ(changes.n, 1);
    EXPECT_EQ(a.Color(), clBlack);
    EXPECT_EQ(a.AutoSizeDigitCountInUse(), 6);
    EXPECT_EQ(a.Cursor(), TCursorShape::crDefault);
    a.SetColor(clWhite);
    EXPECT_EQ(changes.n, 2);

    TNibSelectedColor other;
    EXPECT_THROW(a.Assign(other), std::invalid_argument);
}

TEST(NibOptionObjects, AssignFiresOnceAndRefusesOtherClasses)
{
    TNibSelectedColor a, b;
    b.SetBackground(clBlack);
    b.SetForeground(clWhite);
    ChangeCount changes(a);
    a.Assign(b);
    EXPECT_EQ(changes.n, 1);
    EXPECT_EQ(a.Background(), clBlack);
    EXPECT_EQ(a.Foreground(), clWhite);

    TNibBookMarkOpt x(nullptr), y(nullptr);
    y.SetXoffset(20);
    y.SetEnableKeys(false);
    ChangeCount xChanges(x);
    x.Assign(y);
    EXPECT_EQ(xChanges.n, 1);
    EXPECT_EQ(x.Xoffset(), 20);
    EXPECT_FALSE(x.EnableKeys());
    EXPECT_THROW(x.Assign(a), std::invalid_argument);
}

namespace {

struct Listener : TObject {
    Listener(std::vector<std::string>* log, std::string name, bool raise = false)
        : log(log), name(std::move(name)), raise(raise) {}
    std::vector<std::string>* log;
    std::string name;
    bool raise;
    void Changed(TObject* sender)
    {
        log->push_back(name);
        if (raise) throw std::runtime_error(name + " failed");
    }
    TNibMethodChain::TMethodEvent Method() { return TNibMethodChain::TMethodEvent::Bind<&Listener::Changed>(this); }
};

} // namespace

TEST(NibMethodChain, FiresInOrderAndRemovesByIdentity)
{
    std::vector<std::string> log;
    Listener a{&log, "A"}, b{&log, "B"};
    TNibNotifyEventChain chain(&a);
    chain.Add(a.Method());
    chain.Add(b.Method());
    chain.Add(a.Method());
    chain.Fire();
    EXPECT_EQ(log, (std::vector<std::string>{"A", "B", "A"}));
    chain.Remove(a.Method());
    EXPECT_EQ(chain.Count(), 1);
    log.clear();
    chain.Fire();
    EXPECT_EQ(log, (std::vector<std::string>{"B"}));
}

TEST(NibMethodChain, RefusesUnassignedHandlers)
{
    TNibNotifyEventChain chain(nullptr);
    try {
        chain.Add({});
        FAIL();
    } catch (const ENibMethodChain& e) {
        EXPECT_STREQ(e.what(), "TNibNotifyEventChain.Entry : the parameter `AEvent' must be specified.");
    }
    try {
        chain.Remove({});
        FAIL();
    } catch (const ENibMethodChain& e) {
        EXPECT_STREQ(e.what(), "TNibNotifyEventChain.Remove: the parameter `AEvent' must be specified.");
    }
}

TEST(NibMethodChain, ExceptionStopsFiringUnlessTheHandlerSaysGoOn)
{
    std::vector<std::string> log;
    Listener a{&log, "A"}, b{&log, "B", true}, c{&log, "C"};
    TNibNotifyEventChain chain(nullptr);
    chain.Add(a.Method());
    chain.Add(b.Method());
    chain.Add(c.Method());
    EXPECT_THROW(chain.Fire(), std::runtime_error);
    EXPECT_EQ(log, (std::vector<std::string>{"A", "B"}));

    log.clear();
    std::string seen;
    chain.OnException = [&](TNibMethodChain*, const std::exception& e, bool&) { seen = e.what(); };
    chain.Fire();
    EXPECT_EQ(seen, "B failed");
    EXPECT_EQ(log, (std::vector<std::string>{"A", "B", "C"}));

    log.clear();
    chain.OnException = [](TNibMethodChain*, const std::exception&, bool& go) { go = false; };
    chain.Fire();
    EXPECT_EQ(log, (std::vector<std::string>{"A", "B"}));
}

TEST(NibMethodChain, HandlersAddedWhileFiringAreCalled)
{
    std::vector<std::string> log;
    Listener late{&log, "late"};
    struct Adder : TObject {
        TNibMethodChain* chain;
        Listener* late;
        void Changed(TObject*) { chain->Add(late->Method()); }
    };
    TNibNotifyEventChain chain(nullptr);
    Adder adder;
    adder.chain = &chain;
    adder.late = &late;
    chain.Add(TNibMethodChain::TMethodEvent::Bind<&Adder::Changed>(&adder));
    chain.Fire();
    EXPECT_EQ(log, (std::vector<std::string>{"late"}));
}
