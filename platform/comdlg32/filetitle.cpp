// GetFileTitleA: a file's name without its folder, as the user is shown it.
// The path is the file system's bytes; the name comes back as code page 932
// text, ready to be shown with the program's other texts.
#include "comdlg32.h"

#include "../codepage/codepage.h"

#include <algorithm>
#include <cstring>
#include <string_view>

short WINAPI GetFileTitleA(LPCSTR lpszFile, LPSTR Buf, WORD cchSize)
{
    if (lpszFile == nullptr)
        return -1;
    std::string_view path(lpszFile);
    std::string_view name = path.substr(path.rfind('/') + 1); // npos + 1 is 0
    if (name.empty())
        return -1; // a folder, or no name at all
    std::string title = codepage::FileNameToCodePage(name);
    if (Buf == nullptr || title.size() + 1 > cchSize)
        return static_cast<short>(std::min<std::size_t>(title.size() + 1, 0x7FFF)); // the size it needs
    std::memcpy(Buf, title.c_str(), title.size() + 1);
    return 0;
}
