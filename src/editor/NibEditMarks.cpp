#include "editor/NibEditMarks.h"

#include <stdexcept>

TNibEditMarkOwner* TNibEditMark::Edit() const
{
    if (fEdit) {
        const TNibEditMarkList* list = fEdit->GetMarkList();
        if (!list || list->IndexOf(this) < 0) fEdit = nullptr;
    }
    return fEdit;
}

void TNibEditMark::InvalidateLine(int ALine) const
{
    if (TNibEditMarkOwner* edit = Edit()) edit->InvalidateGutterLine(ALine);
}

void TNibEditMark::SetLine(int Value)
{
    if (fVisible && Edit()) {
        if (fLine > 0) InvalidateLine(fLine);
        fLine = Value;
        InvalidateLine(fLine);
    } else {
        fLine = Value;
    }
}

void TNibEditMark::SetImageIndex(int Value)
{
    fImage = Value;
    if (fVisible) InvalidateLine(fLine);
}

void TNibEditMark::SetInternalImage(bool Value)
{
    fInternalImage = Value;
    if (fVisible) InvalidateLine(fLine);
}

void TNibEditMark::SetVisible(bool Value)
{
    if (fVisible == Value) return;
    fVisible = Value;
    InvalidateLine(fLine);
}

int TNibEditMarkList::IndexOf(const TNibEditMark* Item) const
{
    for (int i = 0; i < Count(); ++i)
        if (fItems[std::size_t(i)].get() == Item) return i;
    return -1;
}

int TNibEditMarkList::Add(std::unique_ptr<TNibEditMark> Item)
{
    fItems.push_back(std::move(Item));
    Fire(OnChange, this);
    return Count() - 1;
}

void TNibEditMarkList::Delete(int Index)
{
    if (Index < 0 || Index >= Count()) throw std::out_of_range("Mark index out of range");
    fItems.erase(fItems.begin() + Index);
    Fire(OnChange, this);
}

void TNibEditMarkList::Clear()
{
    while (Count() > 0) Delete(Count() - 1);
}

std::unique_ptr<TNibEditMark> TNibEditMarkList::Extract(TNibEditMark* Item)
{
    const int index = IndexOf(Item);
    if (index < 0) return nullptr;
    std::unique_ptr<TNibEditMark> mark = std::move(fItems[std::size_t(index)]);
    fItems.erase(fItems.begin() + index);
    Fire(OnChange, this);
    return mark;
}

void TNibEditMarkList::Place(std::unique_ptr<TNibEditMark> Mark)
{
    if (fEdit) fEdit->PlaceBookmark(Mark);
    if (Mark) Add(std::move(Mark));
}

void TNibEditMarkList::ClearLine(int Line)
{
    for (int i = Count() - 1; i >= 0; --i) {
        const TNibEditMark& mark = *fItems[std::size_t(i)];
        if (!mark.IsBookmark() && mark.Line() == Line) Delete(i);
    }
}

void TNibEditMarkList::GetMarksForLine(int Line, TNibEditMarks& Marks) const
{
    Marks.fill(nullptr);
    std::size_t found = 0;
    for (const auto& mark : fItems) {
        if (mark->Line() != Line) continue;
        Marks[found++] = mark.get();
        if (found == Marks.size()) break;
    }
}

bool TNibEditMarkList::GetBookMark(int BookMark, int& X, int& Y) const
{
    for (const auto& mark : fItems)
        if (mark->IsBookmark() && mark->BookmarkNumber() == BookMark) {
            X = mark->Char();
            Y = mark->Line();
            return true;
        }
    return false;
}

bool TNibEditMarkList::IsBookmark(int BookMark) const
{
    int x = 0, y = 0;
    return GetBookMark(BookMark, x, y);
}

void TNibEditMarkList::LinesDeleted(int FirstLine, int Count)
{
    for (const auto& mark : fItems) {
        if (mark->Line() >= FirstLine + Count)
            mark->SetLine(mark->Line() - Count);
        else if (mark->Line() > FirstLine)
            mark->SetLine(FirstLine);
    }
}

void TNibEditMarkList::LinesInserted(int FirstLine, int Count)
{
    for (const auto& mark : fItems)
        if (mark->Line() >= FirstLine) mark->SetLine(mark->Line() + Count);
}
