// The first argument of the command tail that WinMain is given, read by the
// rules of the Windows C runtime: spaces and tabs part arguments, double
// quotes hold spaces in, and backslashes escape a quote.
#include "pidview.h"

#ifdef _WIN32
// The second byte of a double-byte character may be a backslash.
#define IsLeadByte(c) IsDBCSLeadByte((BYTE)(c))
#else
// The tail holds the file system's bytes, where no character hides a backslash.
#define IsLeadByte(c) FALSE
#endif

// Appends n copies of c as far as the buffer holds them; *pcch counts them all.
static void PutChars(LPSTR lpszArg, int cchArg, int* pcch, CHAR c, int n)
{
    for (; n > 0; n--) {
        if (*pcch < cchArg - 1)
            lpszArg[*pcch] = c;
        (*pcch)++;
    }
}

int GetFirstArgument(LPCSTR lpCmdLine, LPSTR lpszArg, int cchArg)
{
    LPCSTR p = lpCmdLine;
    BOOL bQuoted = FALSE;
    int cch = 0;
    int nSlashes;

    if (p == NULL)
        return -1;
    while (*p == ' ' || *p == '\t')
        p++;
    if (*p == '\0')
        return -1;
    for (;;) {
        for (nSlashes = 0; *p == '\\'; p++)
            nSlashes++;
        if (*p == '"') {
            // 2n backslashes and a quote: n backslashes, and the quote opens
            // or closes; 2n + 1: n backslashes and a quote that stays.
            PutChars(lpszArg, cchArg, &cch, '\\', nSlashes / 2);
            if (nSlashes % 2 == 1 || (bQuoted && p[1] == '"')) {
                PutChars(lpszArg, cchArg, &cch, '"', 1);
                p += nSlashes % 2 == 1 ? 1 : 2; // "" inside quotes is one quote
            } else {
                bQuoted = !bQuoted;
                p++;
            }
            continue;
        }
        PutChars(lpszArg, cchArg, &cch, '\\', nSlashes);
        if (*p == '\0' || (!bQuoted && (*p == ' ' || *p == '\t')))
            break;
        if (IsLeadByte(*p) && p[1] != '\0')
            PutChars(lpszArg, cchArg, &cch, *p++, 1);
        PutChars(lpszArg, cchArg, &cch, *p++, 1);
    }
    if (cchArg > 0)
        lpszArg[cch < cchArg ? cch : cchArg - 1] = '\0';
    return cch;
}
