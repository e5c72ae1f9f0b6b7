// Composing one text item of the page from its label, number and unit.
#include "page.h"

#define TEXT_BUFFER_SIZE 40 // the longest text any value can give is 29 bytes

void Disp_Text(HDC hdc, int x, int y, LPCSTR lpszLabel, LPCSTR lpszField, int iValue, LPCSTR lpszUnit)
{
    char szText[TEXT_BUFFER_SIZE];
    int iLength = 0;

    // Each piece is its own format: labels and units come out unchanged but
    // for a doubled percent sign, which prints as one.
    szText[0] = '\0';
    if (lpszLabel != NULL)
        iLength += wsprintfA(&szText[iLength], lpszLabel);
    if (lpszField != NULL)
        iLength += wsprintfA(&szText[iLength], lpszField, iValue);
    if (lpszUnit != NULL)
        iLength += wsprintfA(&szText[iLength], lpszUnit);
    TextOutA(hdc, x, y, szText, iLength);
}
