// Writing the real GDI's drawing of a picture and its text cells.
#include "gdi_picture.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {


constexpr int pageWidth = 800;
constexpr int pageHeight = 540;
constexpr int halfWidthCell = 8;
constexpr int fullWidthCell = 16;
constexpr int cellHeight = 16;

// Writes the top-down 32-bit pixels as a bottom-up 32-bit BMP.
bool WriteBmp(const char* path, const BYTE* bits)
{
    const DWORD rowBytes = pageWidth * 4;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + rowBytes * pageHeight;
    info.biSize = sizeof(info);
    info.biWidth = pageWidth;
    info.biHeight = pageHeight;
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    info.biSizeImage = rowBytes * pageHeight;

    std::FILE* out = std::fopen(path, "wb");
    if (out == nullptr)
        return false;
    bool ok = std::fwrite(&file, sizeof(file), 1, out) == 1 && std::fwrite(&info, sizeof(info), 1, out) == 1;
    for (int y = pageHeight - 1; ok && y >= 0; --y)
        ok = std::fwrite(bits + static_cast<size_t>(y) * rowBytes, rowBytes, 1, out) == 1;
    return std::fclose(out) == 0 && ok;
}

// The width of a code page 932 text in cells of 8 pixels per single-byte and
// 16 per double-byte character.
int FixedCellWidth(const char* text, int length)
{
    int width = 0;
    for (int i = 0; i < length; ++i) {
        if (IsDBCSLeadByteEx(932, static_cast<BYTE>(text[i])) && i + 1 < length) {
            width += fullWidthCell;
            ++i;
        } else {
            width += halfWidthCell;
        }
    }
    return width;
}

// One text the picture drew: where, and its bytes in code page 932.
struct TextCall {
    POINT at;
    std::vector<char> bytes;
};

// Replays the picture into an enhanced metafile and reads back every text
// record: the list of texts the picture drew, from the real GDI itself.
std::vector<TextCall> RecordTexts(HDC hdcReference, DrawPicture draw, const void* picture)
{
    std::vector<TextCall> texts;
    HDC hdcMeta = CreateEnhMetaFileA(hdcReference, nullptr, nullptr, nullptr);
    if (hdcMeta == nullptr)
        return texts;
    draw(hdcMeta, picture);
    HENHMETAFILE hemf = CloseEnhMetaFile(hdcMeta);
    if (hemf == nullptr)
        return texts;
    std::vector<BYTE> data(GetEnhMetaFileBits(hemf, 0, nullptr));
    GetEnhMetaFileBits(hemf, static_cast<UINT>(data.size()), data.data());
    DeleteEnhMetaFile(hemf);

    for (size_t offset = 0; offset + sizeof(EMR) <= data.size();) {
        const EMR* record = reinterpret_cast<const EMR*>(data.data() + offset);
        if (record->nSize < sizeof(EMR) || offset + record->nSize > data.size())
            break;
        if (record->iType == EMR_EXTTEXTOUTA || record->iType == EMR_EXTTEXTOUTW) {
            const EMREXTTEXTOUTA* text = reinterpret_cast<const EMREXTTEXTOUTA*>(record);
            const BYTE* chars = data.data() + offset + text->emrtext.offString;
            TextCall call;
            call.at.x = text->emrtext.ptlReference.x;
            call.at.y = text->emrtext.ptlReference.y;
            if (record->iType == EMR_EXTTEXTOUTA) {
                call.bytes.assign(chars, chars + text->emrtext.nChars);
            } else {
                const wchar_t* wide = reinterpret_cast<const wchar_t*>(chars);
                int wideLength = static_cast<int>(text->emrtext.nChars);
                int length = WideCharToMultiByte(932, 0, wide, wideLength, nullptr, 0, nullptr, nullptr);
                call.bytes.resize(static_cast<size_t>(length));
                WideCharToMultiByte(932, 0, wide, wideLength, call.bytes.data(), length, nullptr, nullptr);
            }
            texts.push_back(call);
        }
        if (record->iType == EMR_EOF)
            break;
        offset += record->nSize;
    }
    return texts;
}

// One line per text and font: left top right bottom (right and bottom
// excluded), then the text's position and byte length as a comment.
bool WriteCells(const char* path, HDC hdc, const std::vector<TextCall>& texts)
{
    std::FILE* out = std::fopen(path, "w");
    if (out == nullptr)
        return false;
    TEXTMETRICA metrics = {};
    GetTextMetricsA(hdc, &metrics);
    char face[LF_FACESIZE] = "";
    GetTextFaceA(hdc, sizeof(face), face);
    std::fprintf(out, "# default font: height %ld, average width %ld, face %s\n", metrics.tmHeight,
                 metrics.tmAveCharWidth, face);
    for (const TextCall& text : texts) {
        int length = static_cast<int>(text.bytes.size());
        SIZE extent = {};
        GetTextExtentPoint32A(hdc, text.bytes.data(), length, &extent);
        std::fprintf(out, "%ld %ld %ld %ld # gdi font, text at (%ld, %ld), %d bytes\n", text.at.x, text.at.y,
                     text.at.x + extent.cx, text.at.y + extent.cy, text.at.x, text.at.y, length);
        std::fprintf(out, "%ld %ld %ld %ld # fixed cells\n", text.at.x, text.at.y,
                     text.at.x + FixedCellWidth(text.bytes.data(), length), text.at.y + cellHeight);
    }
    return std::fclose(out) == 0;
}

} // namespace

int WriteGdiPicture(const char* program, DrawPicture draw, const void* data, const char* output, const char* cells)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = pageWidth;
    info.bmiHeader.biHeight = -pageHeight; // top-down, like the layer's buffer
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC hdcMem = CreateCompatibleDC(nullptr);
    HBITMAP hBitmap = CreateDIBSection(hdcMem, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (hdcMem == nullptr || hBitmap == nullptr || bits == nullptr) {
        std::fprintf(stderr, "%s: cannot make a drawing surface\n", program);
        return 1;
    }
    HGDIOBJ hOldBitmap = SelectObject(hdcMem, hBitmap);
    std::memset(bits, 0xFF, static_cast<size_t>(pageWidth) * pageHeight * 4);

    draw(hdcMem, data);
    GdiFlush();

    bool ok = WriteBmp(output, static_cast<const BYTE*>(bits));
    if (!ok)
        std::fprintf(stderr, "%s: %s: cannot write\n", program, output);
    if (ok && cells != nullptr) {
        ok = WriteCells(cells, hdcMem, RecordTexts(hdcMem, draw, data));
        if (!ok)
            std::fprintf(stderr, "%s: %s: cannot write\n", program, cells);
    }
    SelectObject(hdcMem, hOldBitmap);
    DeleteObject(hBitmap);
    DeleteDC(hdcMem);
    return ok ? 0 : 1;
}
