#pragma once
// File names that come from Qt: a chooser's answer and the files a drag carries.
#include <QByteArray>
#include <QString>
#include <vector>
#include "platform/Text.h"

/// The file that a path from a Qt chooser names. Qt reads every byte of a name that is not UTF-8
/// as U+FFFD, which names no file: the folder is looked through for the one entry that Qt reads the
/// same, whose own bytes are taken (FileNameFromBytes). Empty, with refusal set to a message naming
/// the file, when more than one entry reads the same.
UnicodeString FileNameOfQtPath(const QString& path, UnicodeString& refusal);

/// The local files of a drag's "text/uri-list", by the bytes of their names (FileNameFromBytes):
/// the list carries them exactly, percent-encoded.
std::vector<UnicodeString> FileNamesOfUriList(const QByteArray& list);
