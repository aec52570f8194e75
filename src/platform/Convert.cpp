#include "platform/Convert.h"

int StrToInt(std::u16string_view text)
{
    // Two different fallbacks agree only when the text really holds a number.
    const int a = StrToIntDef(text, 0);
    const int b = StrToIntDef(text, 1);
    if (a != b) throw EConvertError("'" + ToUtf8(text) + "' is not a valid integer value");
    return a;
}
