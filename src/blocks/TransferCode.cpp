#include "blocks/TransferCode.h"

#include <vector>

void PrepareSoftwareLines(TStringList& List)
{
    std::vector<UnicodeString> lines;
    for (int i = 0; i < List.Count(); ++i) {
        UnicodeString rest = TrimRight(List[i]);
        while (rest.size() > std::size_t(TransferCodeLineMax)) {
            const std::size_t blank = rest.find_last_of(u' ', TransferCodeLineMax - 1);
            if (blank == UnicodeString::npos) break;
            lines.push_back(rest.substr(0, blank + 1));
            rest.erase(0, blank + 1);
        }
        lines.push_back(rest);
    }
    List.Clear();
    for (const UnicodeString& line : lines)
        if (!Trim(line).empty()) List.Add(line);
}
