#pragma once
// The copy of a file's old bytes that a write in place makes first, durable before any old byte
// changes: after a failure or a kill midway the old bytes are still there to take back.
#include <string>
#include <string_view>
#include "platform/FileDescriptor.h"
#include "platform/Text.h"

class TBackupCopy {
public:
    /// Writes bytes, the old contents of the file name in folder, to a new private file: beside it
    /// where folder allows, else in the program's own folder under $XDG_STATE_HOME
    /// (~/.local/state). 0 when the copy is durable, else the errno of the first place tried.
    int Make(int folder, bool folderReadable, const std::string& name, std::string_view bytes);
    /// Where the copy is, to name in a message.
    UnicodeString Path() const;
    /// Removes the copy, now that it is not needed.
    void Remove();

private:
    int MakeIn(int folder, const std::string& name, std::string_view bytes);
    TFd fFolder;
    std::string fName;
};
