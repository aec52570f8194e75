#include "link/ComOkBuffer.h"

void TComOkBuffer::AddChar(std::uint8_t c)
{
    fLastChar = c;
    CharList[std::size_t(Head)] = c;
    Head = (Head + 1) % 4;
}

bool TComOkBuffer::IsOk() const
{
    static constexpr char prompt[] = "  OK";
    int slot = Head;
    for (int i = 3; i >= 0; --i) {
        slot = (slot + 3) % 4;
        if (CharList[std::size_t(slot)] != std::uint8_t(prompt[i])) return false;
    }
    return true;
}

void TComOkBuffer::Reset()
{
    CharList.fill(0);
    fLastChar = 0;
    Head = 0;
}
