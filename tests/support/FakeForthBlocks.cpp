#include "support/FakeForthBlocks.h"

#include <regex>
#include "blocks/BlockFrame.h"

namespace {

constexpr const char* kExecutionToken = "17364";

}  // namespace

FakeForthBlocks::FakeForthBlocks(FakeTarget& target, int blockCount)
    : fTarget(target), fBlocks(std::size_t(blockCount), std::string(FrameDataSize, ' '))
{
    fTarget.SetResponder(this);
}

FakeForthBlocks::~FakeForthBlocks()
{
    fTarget.SetResponder(nullptr);
}

void FakeForthBlocks::SetWordsPresent(bool loadBlocks, bool sendBlocks)
{
    std::lock_guard<std::mutex> l(fLock);
    fLoadBlocks = loadBlocks;
    fSendBlocks = sendBlocks;
}

void FakeForthBlocks::SetBlock(int index, const std::string& bytes)
{
    std::lock_guard<std::mutex> l(fLock);
    std::string block = bytes.substr(0, FrameDataSize);
    block.resize(FrameDataSize, ' ');
    fBlocks.at(std::size_t(index)) = block;
}

std::string FakeForthBlocks::Block(int index) const
{
    std::lock_guard<std::mutex> l(fLock);
    return fBlocks.at(std::size_t(index));
}

void FakeForthBlocks::SetBadChecksumFrame(int frame)
{
    std::lock_guard<std::mutex> l(fLock);
    fBadChecksumFrame = frame;
}

void FakeForthBlocks::SetSilentAfterFrame(int frame)
{
    std::lock_guard<std::mutex> l(fLock);
    fSilentAfterFrame = frame;
}

void FakeForthBlocks::SetOkAfterFrame(int frame)
{
    std::lock_guard<std::mutex> l(fLock);
    fOkAfterFrame = frame;
}

void FakeForthBlocks::SetQuestionOn(std::string word)
{
    std::lock_guard<std::mutex> l(fLock);
    fQuestionWord = std::move(word);
}

void FakeForthBlocks::SetSilentOn(std::string word)
{
    std::lock_guard<std::mutex> l(fLock);
    fSilentWord = std::move(word);
}

void FakeForthBlocks::SetExtraCr(ExtraCr extra)
{
    std::lock_guard<std::mutex> l(fLock);
    fExtraCr = extra;
}

void FakeForthBlocks::SetReportedBlockCount(std::string count)
{
    std::lock_guard<std::mutex> l(fLock);
    fReportedBlockCount = std::move(count);
}

std::vector<std::string> FakeForthBlocks::Lines() const
{
    std::lock_guard<std::mutex> l(fLock);
    return fLines;
}

void FakeForthBlocks::Arrived(std::string_view data, std::string& outgoing)
{
    std::lock_guard<std::mutex> l(fLock);
    for (char byte : data) {
        if (fState == State::UploadFrames) {
            UploadByte(byte, outgoing);
        } else if (byte == '\r') {
            std::string line;
            line.swap(fLine);
            if (fState == State::DownloadFrames) {
                if (line == ">") SendFrame(outgoing);
            } else {
                fLines.push_back(line);
                Line(line, outgoing);
            }
        } else if (byte != '\n') {
            fLine += byte;
        }
    }
}

void FakeForthBlocks::Reply(const std::string& text, std::string& outgoing)
{
    if (fLateCrPending) outgoing += '\r';
    fLateCrPending = false;
    outgoing += text + "\r\n";
}

void FakeForthBlocks::Line(const std::string& line, std::string& outgoing)
{
    static const std::regex transfer(R"(\s*(-?\d+)\s+(-?\d+)\s+(load|send)-blocks\s*)");
    std::smatch match;
    if (!fSilentWord.empty() && line.find(fSilentWord) != std::string::npos) {
        return;
    } else if (!fQuestionWord.empty() && line.find(fQuestionWord) != std::string::npos) {
        Reply(line + " ?", outgoing);
    } else if (line == "blk-count U.") {
        const std::string count = fReportedBlockCount.empty() ? std::to_string(fBlocks.size()) : fReportedBlockCount;
        Reply(line + " " + count + "  OK", outgoing);
        if (fExtraCr == ExtraCr::SameWrite) outgoing += '\r';
        fLateCrPending = fExtraCr == ExtraCr::BeforeNextReply;
    } else if (line == "' load-blocks ." || line == "' send-blocks .") {
        const bool present = line[2] == 'l' ? fLoadBlocks : fSendBlocks;
        Reply(line + (present ? std::string(" ") + kExecutionToken + "  OK" : " ?"), outgoing);
    } else if (std::regex_match(line, match, transfer)) {
        const bool upload = match[3] == "load";
        const int first = std::stoi(match[1]);
        const int last = std::stoi(match[2]);
        if (!(upload ? fLoadBlocks : fSendBlocks)) {
            Reply(line + " ?", outgoing);
        } else if (first < 0 || last < first || last >= int(fBlocks.size())) {
            Reply(line + " bad block range ?", outgoing);
        } else {
            fFirst = first;
            fFrames = last - first + 1;
            fFrame = 0;
            fFrameBytes.clear();
            fState = upload ? State::UploadFrames : State::DownloadFrames;
            Reply(line + (upload ? " >" : " <"), outgoing);
        }
    } else {
        // Transfer code and anything else compiles; a definition of a transfer word makes it present.
        if (line.find(": load-blocks") != std::string::npos) fLoadBlocks = true;
        if (line.find(": send-blocks") != std::string::npos) fSendBlocks = true;
        Reply(line + "  OK", outgoing);
    }
}

void FakeForthBlocks::UploadByte(char byte, std::string& outgoing)
{
    fFrameBytes += byte;
    if (int(fFrameBytes.size()) < FrameSize) return;
    TTransferFrame frame;
    std::copy(fFrameBytes.begin(), fFrameBytes.end(), frame.begin());
    fFrameBytes.clear();
    const int index = fFrame++;
    const bool last = fFrame == fFrames;
    if (!FrameChecksumValid(frame)) {
        fState = State::Lines;
        Reply("checksum error ?", outgoing);
        return;
    }
    fBlocks[std::size_t(fFirst + index)].assign(frame.begin(), frame.begin() + FrameDataSize);
    if (index == fSilentAfterFrame) {
        fState = State::Lines;
    } else if (last || index == fOkAfterFrame) {
        fState = State::Lines;
        Reply("  OK", outgoing);
    } else {
        Reply(">", outgoing);
    }
}

void FakeForthBlocks::SendFrame(std::string& outgoing)
{
    if (fSilentAfterFrame >= 0 && fFrame > fSilentAfterFrame) return;
    const int index = fFrame++;
    TTransferFrame frame;
    const std::string& block = fBlocks[std::size_t(fFirst + index)];
    std::copy(block.begin(), block.end(), frame.begin());
    StoreFrameChecksum(frame);
    if (index == fBadChecksumFrame) frame[FrameDataSize] ^= 0x5A;
    outgoing.append(frame.begin(), frame.end());
    if (fFrame == fFrames) fState = State::Lines;
}
