#pragma once
// The target's side of the block transfer, spoken by a FakeTarget: the block count, the two
// transfer words (present, or defined by transfer code), frames both ways, and faults on request.
#include <mutex>
#include <string>
#include <vector>
#include "support/FakeTarget.h"

class FakeForthBlocks : public FakeTarget::Responder {
public:
    /// An extra CR after the reply to "blk-count U.": in the same write, or just before the next reply.
    enum class ExtraCr { None, SameWrite, BeforeNextReply };

    /// Answers for `target` from now on, with `blockCount` blocks of spaces and both words present.
    FakeForthBlocks(FakeTarget& target, int blockCount);
    ~FakeForthBlocks() override;
    FakeForthBlocks(const FakeForthBlocks&) = delete;
    FakeForthBlocks& operator=(const FakeForthBlocks&) = delete;

    void SetWordsPresent(bool loadBlocks, bool sendBlocks);
    /// Replaces block `index` (padded or cut to 1024 bytes).
    void SetBlock(int index, const std::string& bytes);
    std::string Block(int index) const;
    /// Frame `frame` of a download (0 = the first of the request) goes out with a wrong checksum.
    void SetBadChecksumFrame(int frame);
    /// After frame `frame` the target says nothing more: no reply to an upload frame, no further
    /// download frame (-1: never silent).
    void SetSilentAfterFrame(int frame);
    /// The reply to upload frame `frame` is "  OK", as if the transfer had ended there.
    void SetOkAfterFrame(int frame);
    /// A line holding `word` is answered with the line and " ?", as Forth does with an unknown word.
    void SetQuestionOn(std::string word);
    /// A line holding `word` gets no reply at all.
    void SetSilentOn(std::string word);
    void SetExtraCr(ExtraCr extra);
    /// The reply to "blk-count U." names this count in place of the number of blocks held.
    void SetReportedBlockCount(std::string count);
    /// Every command line received outside frames, in order.
    std::vector<std::string> Lines() const;

    void Arrived(std::string_view data, std::string& outgoing) override;

private:
    enum class State { Lines, UploadFrames, DownloadFrames };
    void Line(const std::string& line, std::string& outgoing);
    void UploadByte(char byte, std::string& outgoing);
    void SendFrame(std::string& outgoing);
    /// Queues a reply line, with the late CR first when one is pending.
    void Reply(const std::string& text, std::string& outgoing);

    FakeTarget& fTarget;
    mutable std::mutex fLock;
    std::vector<std::string> fBlocks;
    bool fLoadBlocks = true;
    bool fSendBlocks = true;
    int fBadChecksumFrame = -1;
    int fSilentAfterFrame = -1;
    int fOkAfterFrame = -1;
    std::string fQuestionWord;
    std::string fSilentWord;
    ExtraCr fExtraCr = ExtraCr::None;
    std::string fReportedBlockCount;
    bool fLateCrPending = false;

    State fState = State::Lines;
    std::string fLine;
    std::vector<std::string> fLines;
    int fFirst = 0;
    int fFrames = 0;
    int fFrame = 0;
    std::string fFrameBytes;
};
