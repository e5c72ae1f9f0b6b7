// The GDI32 calls the page and the print job use, drawing into our own
// 32-bit pixel buffers (see surface.h for the layer's side of it).
#pragma once

#include "../wintypes.h"

#define PS_SOLID 0
#define PS_DASH 1
#define PS_DOT 2
#define PS_DASHDOT 3
#define PS_DASHDOTDOT 4
#define PS_NULL 5
#define PS_INSIDEFRAME 6
#define PS_USERSTYLE 7
#define PS_ALTERNATE 8
#define PS_STYLE_MASK 0x0000000F
#define PS_COSMETIC 0x00000000
#define PS_GEOMETRIC 0x00010000
#define PS_TYPE_MASK 0x000F0000
#define BS_SOLID 0

#define TRANSPARENT 1
#define OPAQUE 2

// GetDeviceCaps indexes
#define HORZRES 8
#define VERTRES 10
#define LOGPIXELSX 88
#define LOGPIXELSY 90

#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8

#define SRCCOPY 0x00CC0020UL
#define HGDI_ERROR ((HGDIOBJ)(std::intptr_t)-1)

struct LOGBRUSH {
    UINT lbStyle;
    COLORREF lbColor;
    ULONG_PTR lbHatch;
};

HPEN WINAPI CreatePen(int iStyle, int cWidth, COLORREF color);
// Cosmetic pens only (width 1, a solid brush); PS_USERSTYLE lengths are style
// units of 3 pixels, as on a screen.
HPEN WINAPI ExtCreatePen(DWORD iPenStyle, DWORD cWidth, const LOGBRUSH* plbrush, DWORD cStyle, const DWORD* pstyle);
HBRUSH WINAPI CreateSolidBrush(COLORREF color);
HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h);
BOOL WINAPI DeleteObject(HGDIOBJ ho);
HGDIOBJ WINAPI GetStockObject(int i);

BOOL WINAPI MoveToEx(HDC hdc, int x, int y, LPPOINT lppt);
BOOL WINAPI LineTo(HDC hdc, int x, int y);
BOOL WINAPI PolylineTo(HDC hdc, const POINT* apt, DWORD cpt);
BOOL WINAPI Rectangle(HDC hdc, int left, int top, int right, int bottom);
BOOL WINAPI TextOutA(HDC hdc, int x, int y, LPCSTR lpString, int c);
// Whether the gaps of styled lines are painted in the background colour
// (OPAQUE, the default) or left alone (TRANSPARENT); text always paints its cells.
int WINAPI SetBkMode(HDC hdc, int mode);
// HORZRES and VERTRES: the drawable size in pixels (a printer's printable
// area); LOGPIXELSX and LOGPIXELSY: pixels per inch.
int WINAPI GetDeviceCaps(HDC hdc, int index);

HDC WINAPI CreateCompatibleDC(HDC hdc);
HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int cx, int cy);
BOOL WINAPI DeleteDC(HDC hdc);
BOOL WINAPI StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc,
                       int xSrc, int ySrc, int wSrc, int hSrc, DWORD rop);

// A bitmap's pixels as a device-independent bitmap: uncompressed rows of
// 24 or 32 bits a pixel (blue, green, red), each padded to 4 bytes, from the
// bottom row up (biHeight > 0) or from the top down (biHeight < 0).
#define BI_RGB 0L
#define DIB_RGB_COLORS 0
struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};
typedef BITMAPINFOHEADER* LPBITMAPINFOHEADER;
struct RGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
};
struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};
typedef BITMAPINFO* LPBITMAPINFO;
// Copies cLines rows from row start (counted as the DIB counts them) into
// lpvBits; returns the rows copied, 0 on failure. With lpvBits NULL it fills
// in the header instead (the bitmap's own format when biBitCount is 0).
int WINAPI GetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT cLines, LPVOID lpvBits, LPBITMAPINFO lpbmi, UINT usage);

// Printer documents; the printer context comes from CreateDCA (winspool/).
struct DOCINFOA {
    int cbSize;
    LPCSTR lpszDocName;
    LPCSTR lpszOutput;
    LPCSTR lpszDatatype;
    DWORD fwType;
};
typedef DOCINFOA* LPDOCINFOA;
struct DEVMODEA;

HDC WINAPI CreateDCA(LPCSTR pwszDriver, LPCSTR pwszDevice, LPCSTR pszPort, const DEVMODEA* pdm);
int WINAPI StartDocA(HDC hdc, const DOCINFOA* lpdi);
int WINAPI StartPage(HDC hdc);
int WINAPI EndPage(HDC hdc);
int WINAPI EndDoc(HDC hdc);
