#pragma once
// The lines whose highlighter ranges wait for a rescan while the line store changes.

/// One span of 0-based lines, kept in place as lines come and go before the rescan runs.
struct TNibRescanSpan {
    /// -1 while no line waits.
    int First = -1;
    int Last = -1;

    bool Empty() const { return First < 0; }
    /// Whether lines A..B overlap the span or lie right next to it.
    bool Touches(int A, int B) const { return !Empty() && A <= Last + 1 && B >= First - 1; }
    /// Takes lines A..B in, together with every line between them and the span.
    void Add(int A, int B)
    {
        if (Empty()) {
            First = A;
            Last = B;
            return;
        }
        if (A < First) First = A;
        if (B > Last) Last = B;
    }
    /// Count lines were inserted at Index.
    void Inserted(int Index, int Count)
    {
        if (Empty()) return;
        if (First >= Index) First += Count;
        if (Last >= Index) Last += Count;
    }
    /// Count lines were deleted from Index on.
    void Deleted(int Index, int Count)
    {
        if (Empty()) return;
        const int end = Index + Count;
        First = First >= end ? First - Count : (First >= Index ? Index : First);
        Last = Last >= end ? Last - Count : (Last >= Index ? Index - 1 : Last);
        if (Last < First) *this = {};
    }
};
