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

#include "editor/NibEditResources.h"
#include "support/RecordingCanvas.h"

namespace {
constexpr TColor clLime = 0x00FF00;
}

TEST(NibGlyph, DrawsTheBuiltInPictureCentredOrCropped)
{
    RecordingGraphicsFactory factory;
    TNibGlyph glyph(u"NibEditWrapped", clLime);
    EXPECT_EQ(glyph.Width(), 15);
    EXPECT_EQ(glyph.Height(), 14);
    RecordingCanvas canvas;
    glyph.Draw(canvas, 5, 20, 16);
    glyph.Draw(canvas, 5, 20, 10);
    auto copies = canvas.Of(CanvasCall::Kind::CopyRect);
    ASSERT_EQ(copies.size(), 2u);
    EXPECT_EQ(copies[0].Rect, (TRect{5, 21, 20, 35}));
    EXPECT_EQ(copies[0].SourceRect, (TRect{0, 0, 15, 14}));
    EXPECT_EQ(copies[0].Color, clLime);
    EXPECT_EQ(copies[1].Rect, (TRect{5, 20, 20, 30}));
    EXPECT_EQ(copies[1].SourceRect, (TRect{0, 2, 15, 12}));

    TNibGlyph none(u"", clLime);
    EXPECT_EQ(none.Width(), 0);
    none.Draw(canvas, 0, 0, 16);
    EXPECT_EQ(canvas.Of(CanvasCall::Kind::CopyRect).size(), 2u);
    EXPECT_THROW(TNibGlyph(u"NoSuchBitmap", clLime), std::invalid_argument);
}

TEST(NibGlyph, UserPictureWinsAndAssignCopiesBoth)
{
    RecordingGraphicsFactory factory;
    TNibGlyph glyph(u"NibEditWrapped", clLime);
    int changes = 0;
    glyph.OnChange = [&](TObject*) { ++changes; };
    RecordingBitmap mine(8, 20);
    glyph.SetGlyph(mine);
    glyph.SetMaskColor(clWhite);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(glyph.Width(), 8);
    RecordingCanvas canvas;
    glyph.Draw(canvas, 0, 0, 16);
    EXPECT_EQ(canvas.Calls.back().SourceRect, (TRect{0, 2, 8, 18}));
    EXPECT_EQ(canvas.Calls.back().Color, clWhite);

    TNibGlyph copy(u"", clNone);
    copy.SetVisible(false);
    copy.Assign(glyph);
    EXPECT_TRUE(copy.Visible());
    EXPECT_EQ(copy.Width(), 8);
    EXPECT_EQ(copy.MaskColor(), clWhite);
    TNibGlyph plain(u"", clNone);
    copy.Assign(plain);
    EXPECT_EQ(copy.Width(), 0) << "the source has no built-in picture either";
}

TEST(NibInternalImage, StripsOfOneNameShareTheirBitmap)
{
    RecordingGraphicsFactory factory;
    const int before = TNibInternalImage::SharedBitmapCount();
    {
        TNibInternalImage a(u"NibEditInternalImages", 10);
        TNibInternalImage b(u"nibeditinternalimages", 10);
        EXPECT_EQ(&a.Images(), &b.Images());
        EXPECT_EQ(TNibInternalImage::SharedBitmapCount(), before + 1);
        EXPECT_EQ(a.Width(), 11);
        EXPECT_EQ(a.Height(), 14);

        RecordingCanvas canvas;
        a.Draw(canvas, 3, 2, 16, 16);
        a.DrawTransparent(canvas, 9, 2, 0, 14, clWhite);
        a.Draw(canvas, 10, 2, 0, 14);
        a.Draw(canvas, -1, 2, 0, 14);
        auto copies = canvas.Of(CanvasCall::Kind::CopyRect);
        ASSERT_EQ(copies.size(), 2u);
        EXPECT_EQ(copies[0].SourceRect, (TRect{33, 0, 44, 14}));
        EXPECT_EQ(copies[0].Rect, (TRect{2, 17, 13, 31}));
        EXPECT_EQ(copies[0].Color, clNone);
        EXPECT_EQ(copies[1].SourceRect, (TRect{99, 0, 110, 14}));
        EXPECT_EQ(copies[1].Color, clWhite);
    }
    EXPECT_EQ(TNibInternalImage::SharedBitmapCount(), before);
}
