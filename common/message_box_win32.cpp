#include "common/message_box_win32.h"

#include "common/text_win32.h"

int ShowMessage(const std::string& text, const std::string& caption, UINT flags)
{
    return MessageBoxW(nullptr, Utf8ToWide(text).c_str(), Utf8ToWide(caption).c_str(), flags);
}
