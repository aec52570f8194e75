#include <gtest/gtest.h>

#include <string>

#include "editor/NibEditKbdHandler.h"

namespace {

// A handler object that logs its calls by name and can be told what to do when called.
struct Listener {
    Listener(std::string name, std::string& log) : Name(std::move(name)), Log(log) {}

    void KeyDown(TObject*, std::uint16_t& key, TShiftState)
    {
        Log += Name;
        if (OnKey) OnKey(key);
    }
    void KeyPress(TObject*, char16_t& key)
    {
        Log += Name;
        if (ZeroKey) key = 0;
    }
    void MouseDown(TObject*, TMouseButton, TShiftState, int x, int)
    {
        Log += Name + std::to_string(x);
    }
    void Cursor(TObject*, const TBufferCoord& pos, TCursorShape& cursor)
    {
        Log += Name;
        if (pos.Line == 2) cursor = TCursorShape::crHandPoint;
    }
    TNibKeyHandler Down() { return TNibKeyHandler::Bind<&Listener::KeyDown>(this); }

    std::string Name;
    std::string& Log;
    std::function<void(std::uint16_t&)> OnKey;
    bool ZeroKey = false;
};

struct ChainFixture : ::testing::Test {
    std::uint16_t KeyDown(std::uint16_t key = 65)
    {
        handler.ExecuteKeyDown(nullptr, key, 0);
        return key;
    }
    std::string log;
    Listener a{"A", log}, b{"B", log}, c{"C", log};
    TNibEditKbdHandler handler;
};

TEST_F(ChainFixture, NewestRunsFirstAndAZeroedKeyStopsTheChain)
{
    handler.AddKeyDownHandler(a.Down());
    handler.AddKeyDownHandler(b.Down());
    EXPECT_EQ(KeyDown(), 65);
    EXPECT_EQ(log, "BA");

    log.clear();
    b.OnKey = [](std::uint16_t& key) { key = 0; };
    EXPECT_EQ(KeyDown(), 0);
    EXPECT_EQ(log, "B");

    log.clear();
    b.OnKey = [](std::uint16_t& key) { key = 66; };  // later handlers see the changed key
    a.OnKey = [&](std::uint16_t& key) { log += std::to_string(key); };
    KeyDown();
    EXPECT_EQ(log, "BA66");
}

TEST_F(ChainFixture, KeyPressChainStopsAtACharacterZero)
{
    handler.AddKeyPressHandler(TNibKeyPressHandler::Bind<&Listener::KeyPress>(&a));
    handler.AddKeyPressHandler(TNibKeyPressHandler::Bind<&Listener::KeyPress>(&b));
    b.ZeroKey = true;
    char16_t key = u'x';
    handler.ExecuteKeyPress(nullptr, key);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(log, "B");
}

TEST_F(ChainFixture, AddedTwiceRunsTwiceAndRemoveTakesTheNewestCopy)
{
    handler.AddKeyDownHandler(a.Down());
    handler.AddKeyDownHandler(b.Down());
    handler.AddKeyDownHandler(a.Down());
    KeyDown();
    EXPECT_EQ(log, "ABA");
    log.clear();
    handler.RemoveKeyDownHandler(a.Down());
    handler.RemoveKeyDownHandler(c.Down());  // never added: nothing
    KeyDown();
    EXPECT_EQ(log, "BA");
}

TEST_F(ChainFixture, AChainDoesNotReenterItselfAndRecoversFromAnException)
{
    handler.AddKeyDownHandler(a.Down());
    a.OnKey = [&](std::uint16_t&) { KeyDown(); };
    KeyDown();
    EXPECT_EQ(log, "A");

    log.clear();
    a.OnKey = [](std::uint16_t&) { throw std::runtime_error("boom"); };
    handler.AddKeyDownHandler(b.Down());
    EXPECT_THROW(KeyDown(), std::runtime_error);
    EXPECT_EQ(log, "BA");
    a.OnKey = nullptr;
    log.clear();
    KeyDown();
    EXPECT_EQ(log, "BA");
}

TEST_F(ChainFixture, HandlersRemovedOrAddedWhileTheChainRunsAreSafe)
{
    handler.AddKeyDownHandler(a.Down());
    handler.AddKeyDownHandler(b.Down());
    handler.AddKeyDownHandler(c.Down());
    // C removes itself and B: the run goes on with what is left below it.
    c.OnKey = [&](std::uint16_t&) {
        handler.RemoveKeyDownHandler(c.Down());
        handler.RemoveKeyDownHandler(b.Down());
    };
    KeyDown();
    EXPECT_EQ(log, "CA");

    log.clear();
    a.OnKey = [&](std::uint16_t&) { handler.AddKeyDownHandler(b.Down()); };
    KeyDown();
    EXPECT_EQ(log, "A");
}

TEST_F(ChainFixture, MouseChainsCallEveryHandler)
{
    handler.AddMouseDownHandler(TNibMouseHandler::Bind<&Listener::MouseDown>(&a));
    handler.AddMouseDownHandler(TNibMouseHandler::Bind<&Listener::MouseDown>(&b));
    handler.ExecuteMouseDown(nullptr, TMouseButton::mbLeft, 0, 7, 9);
    handler.ExecuteMouseUp(nullptr, TMouseButton::mbLeft, 0, 7, 9);  // another chain, empty
    EXPECT_EQ(log, "B7A7");

    log.clear();
    handler.AddMouseCursorHandler(TNibMouseCursorHandler::Bind<&Listener::Cursor>(&a));
    handler.AddMouseCursorHandler(TNibMouseCursorHandler::Bind<&Listener::Cursor>(&b));
    TCursorShape cursor = TCursorShape::crIBeam;
    handler.ExecuteMouseCursor(nullptr, BufferCoord(1, 2), cursor);
    EXPECT_EQ(cursor, TCursorShape::crHandPoint);
    EXPECT_EQ(log, "BA");
}

}  // namespace
