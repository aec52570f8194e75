#include <gtest/gtest.h>

#include "platform/FileReplacement.h"
#include "platform/Stream.h"
#include "support/SaveCases.h"

namespace {

using namespace savecases;

const std::string kNew(5000, 'n');

TEST(SaveTable, TheWriterKeepsWhatTheFileIs)
{
    RunSaveTable({"the writer, whole", "f", {}, false, [](const UnicodeString& fileName) {
                      return SaveOutcome{SaveFileSafely(fileName, kNew)};
                  }});
}

TEST(SaveTable, TheWriterAsAStreamKeepsWhatTheFileIs)
{
    RunSaveTable({"the writer, as a stream of pieces", "f", {}, false, [](const UnicodeString& fileName) {
                      TFileReplacementStream stream(fileName);
                      for (std::size_t at = 0; at < kNew.size(); at += 1024) {
                          const int piece = int(std::min<std::size_t>(1024, kNew.size() - at));
                          if (stream.Write(kNew.data() + at, piece) != piece) return SaveOutcome{stream.Error()};
                      }
                      return SaveOutcome{stream.Error().empty() ? stream.Commit() : stream.Error()};
                  }});
}

}  // namespace
