#pragma once
// Marks in the editor's gutter: plain marks with an image and the ten numbered bookmarks.
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "platform/Events.h"

class TNibEditMark;
class TNibEditMarkList;

/// What marks need of the editor that shows them.
class TNibEditMarkOwner {
public:
    virtual ~TNibEditMarkOwner() = default;
    /// The editor's mark list; null when it has none.
    virtual TNibEditMarkList* GetMarkList() const = 0;
    /// Repaints the gutter beside one text line (1-based).
    virtual void InvalidateGutterLine(int ALine) = 0;
    /// Runs the editor's OnPlaceBookmark handler, which may replace the mark or drop it (null).
    virtual void PlaceBookmark(std::unique_ptr<TNibEditMark>& Mark) = 0;
};

/// The editor's OnPlaceBookmark: the handler may replace the mark or drop it.
using TPlaceMarkEvent = std::function<void(TObject* Sender, std::unique_ptr<TNibEditMark>& Mark)>;

class TNibEditMark : public TObject {
public:
    explicit TNibEditMark(TNibEditMarkOwner* AOwner) : fEdit(AOwner) {}

    /// The owning editor; null once the editor no longer lists this mark.
    TNibEditMarkOwner* Edit() const;
    int Line() const { return fLine; }
    /// Repaints the gutter at the old and the new line when the mark is visible and listed.
    virtual void SetLine(int Value);
    int Char() const { return fChar; }
    virtual void SetChar(int Value) { fChar = Value; }
    int ImageIndex() const { return fImage; }
    virtual void SetImageIndex(int Value);
    /// -1 for a plain mark, 0..9 for a bookmark.
    int BookmarkNumber() const { return fBookmarkNum; }
    void SetBookmarkNumber(int Value) { fBookmarkNum = Value; }
    bool IsBookmark() const { return fBookmarkNum >= 0; }
    bool Visible() const { return fVisible; }
    void SetVisible(bool Value);
    /// Drawn with the editor's built-in bookmark glyphs.
    bool InternalImage() const { return fInternalImage; }
    void SetInternalImage(bool Value);

private:
    void InvalidateLine(int ALine) const;

    int fLine = 0;
    int fChar = 0;
    int fImage = 0;
    mutable TNibEditMarkOwner* fEdit;
    bool fVisible = false;
    bool fInternalImage = false;
    int fBookmarkNum = -1;
};

/// Up to 16 marks of one line, in list order; unused entries are null.
using TNibEditMarks = std::array<TNibEditMark*, 16>;

/// The editor's marks, owned by the list. OnChange fires after every add, extract and delete.
class TNibEditMarkList : public TObject {
public:
    explicit TNibEditMarkList(TNibEditMarkOwner* AOwner) : fEdit(AOwner) {}

    int Count() const { return int(fItems.size()); }
    TNibEditMark* Items(int Index) const { return fItems.at(std::size_t(Index)).get(); }
    TNibEditMark* First() const { return Items(0); }
    TNibEditMark* Last() const { return Items(Count() - 1); }
    int IndexOf(const TNibEditMark* Item) const;
    int Add(std::unique_ptr<TNibEditMark> Item);
    void Delete(int Index);
    void Clear();
    /// Removes the mark without freeing it; null when it is not in the list.
    std::unique_ptr<TNibEditMark> Extract(TNibEditMark* Item);
    /// Adds the mark after the editor's OnPlaceBookmark handler has had its say.
    void Place(std::unique_ptr<TNibEditMark> Mark);
    /// Deletes the plain marks of a line; bookmarks stay.
    void ClearLine(int Line);
    /// The first 16 marks of a line, in list order.
    void GetMarksForLine(int Line, TNibEditMarks& Marks) const;
    /// The position of a bookmark; false, leaving X and Y alone, when it is not set.
    bool GetBookMark(int BookMark, int& X, int& Y) const;
    bool IsBookmark(int BookMark) const;

    /// Keeps the marks on their text when lines FirstLine .. FirstLine + Count - 1 (1-based) are
    /// deleted: marks below move up, marks inside go to FirstLine.
    void LinesDeleted(int FirstLine, int Count);
    /// Moves the marks from FirstLine on down by Count.
    void LinesInserted(int FirstLine, int Count);

    TNotifyEvent OnChange;

private:
    TNibEditMarkOwner* fEdit;
    std::vector<std::unique_ptr<TNibEditMark>> fItems;
};
