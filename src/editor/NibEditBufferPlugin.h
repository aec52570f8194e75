#pragma once
// A plug-in that maps buffer positions to display positions and follows the buffer's line changes.
#include "editor/NibEditTypes.h"

/// The editor holds one while word wrap is on and tells it of every line change.
class INibEditBufferPlugin {
public:
    virtual ~INibEditBufferPlugin() = default;
    /// Positions counted from 1.
    virtual TDisplayCoord BufferToDisplayPos(const TBufferCoord& aPos) = 0;
    virtual TBufferCoord DisplayToBufferPos(const TDisplayCoord& aPos) = 0;
    virtual int RowCount() const = 0;
    /// Length of a row counted from 1.
    virtual int GetRowLength(int aRow) const = 0;
    /// Each returns the number of rows that it added (negative when rows went away) or removed.
    virtual int LinesInserted(int aIndex, int aCount) = 0;
    virtual int LinesDeleted(int aIndex, int aCount) = 0;
    virtual int LinesPutted(int aIndex, int aCount) = 0;
    /// After the visible columns changed: wraps every line again when the column count differs.
    virtual void DisplayChanged() = 0;
    /// Wraps every line again.
    virtual void Reset() = 0;
};
