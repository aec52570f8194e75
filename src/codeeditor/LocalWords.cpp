#include "codeeditor/LocalWords.h"

void ScanLocalWords(std::string_view ConvertedText, TStringList& Result)
{
    bool inDefinition = false;
    bool nameExpected = false;
    auto completed = [&](std::string_view word) {
        if (nameExpected) {
            nameExpected = false;
            Result.Add(FromAnsi(word));
        }
        if (word == ":" && !inDefinition) inDefinition = nameExpected = true;
        else if (word == ";") inDefinition = false;
    };
    std::size_t start = 0;
    bool inWord = false;
    for (std::size_t i = 0; i < ConvertedText.size(); ++i) {
        const bool wordChar = static_cast<unsigned char>(ConvertedText[i]) > 32;
        if (wordChar && !inWord) start = i;
        else if (!wordChar && inWord) completed(ConvertedText.substr(start, i - start));
        inWord = wordChar;
    }
    // The last word counts too when nothing follows it.
    if (inWord) completed(ConvertedText.substr(start));
}
