// CreateDCA for printers and the document calls, over PrinterDevice.
#include "printer_dc.h"

#include "../codepage/codepage.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace winspool {

PrinterDevice::PrinterDevice(std::string printer, cups::PageGeometry page)
    : printer_(std::move(printer)), page_(page)
{
}

namespace {

// Printer pixels across a length in points, within an int: a server may
// report any media size.
int PixelsAcross(double points, int dpi)
{
    double pixels = std::floor(points / 72.0 * dpi + 0.5);
    return static_cast<int>(std::clamp(pixels, 0.0, static_cast<double>(std::numeric_limits<int>::max())));
}

} // namespace

int PrinterDevice::printableWidth() const
{
    return PixelsAcross(page_.widthPoints - page_.leftPoints - page_.rightPoints, page_.dpiX);
}

int PrinterDevice::printableHeight() const
{
    return PixelsAcross(page_.heightPoints - page_.topPoints - page_.bottomPoints, page_.dpiY);
}

int PrinterDevice::startDoc(const std::string& titleUtf8)
{
    if (job_)
        return -1;
    job_ = cups::Job::Create(printer_, titleUtf8);
    if (!job_)
        return -1;
    document_ = PdfDocument();
    inPage_ = false;
    return job_->id();
}

bool PrinterDevice::startPage()
{
    if (!job_ || inPage_)
        return false;
    document_.beginPage(page_.widthPoints, page_.heightPoints);
    inPage_ = true;
    return true;
}

bool PrinterDevice::endPage()
{
    if (!job_ || !inPage_)
        return false;
    inPage_ = false;
    return true;
}

bool PrinterDevice::endDoc()
{
    if (!job_)
        return false;
    std::unique_ptr<cups::Job> job = std::move(job_);
    inPage_ = false;
    if (document_.pageCount() == 0) {
        job->Cancel(); // nothing to print
        return true;
    }
    std::optional<std::string> pdf = document_.finish();
    if (!pdf) {
        job->Cancel();
        return false;
    }
    return job->Submit(*pdf);
}

bool PrinterDevice::stretchFrom(const gdi32::PixelBuffer& src, int sx, int sy, int sw, int sh, int dx, int dy,
                                int dw, int dh)
{
    if (!inPage_ || sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0)
        return false;
    // The page clips what falls outside its printable area.
    int left = std::max(dx, 0);
    int top = std::max(dy, 0);
    int right = static_cast<int>(std::min<long long>(static_cast<long long>(dx) + dw, printableWidth()));
    int bottom = static_cast<int>(std::min<long long>(static_cast<long long>(dy) + dh, printableHeight()));
    if (left >= right || top >= bottom)
        return true;
    int width = right - left;
    int height = bottom - top;
    // The same nearest-neighbour copy as onto a bitmap, into a white patch
    // the size of the visible part: source pixels off the bitmap stay paper.
    gdi32::PixelBuffer patch(width, height, 0xFFFFFF);
    gdi32::StretchCopy(patch, dx - left, dy - top, dw, dh, src, sx, sy, sw, sh);
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
    std::uint8_t* out = rgb.data();
    for (std::uint32_t pixel : patch.pixels) {
        *out++ = static_cast<std::uint8_t>(pixel >> 16);
        *out++ = static_cast<std::uint8_t>(pixel >> 8);
        *out++ = static_cast<std::uint8_t>(pixel);
    }
    double pointsX = 72.0 / page_.dpiX;
    double pointsY = 72.0 / page_.dpiY;
    document_.placeImage(width, height, std::move(rgb), page_.leftPoints + left * pointsX,
                         page_.topPoints + top * pointsY, width * pointsX, height * pointsY);
    return true;
}

int PrinterDevice::capability(int index) const
{
    switch (index) {
    case HORZRES:
        return printableWidth();
    case VERTRES:
        return printableHeight();
    case LOGPIXELSX:
        return dpiX();
    default:
        return dpiY();
    }
}

PrinterDevice* PrinterOf(HDC hdc)
{
    return dynamic_cast<PrinterDevice*>(gdi32::DeviceOf(hdc));
}

} // namespace winspool

using winspool::PrinterOf;

HDC WINAPI CreateDCA(LPCSTR pwszDriver, LPCSTR pwszDevice, LPCSTR pszPort, const DEVMODEA* pdm)
{
    (void)pwszDriver; // the spooler finds the driver from the queue
    (void)pszPort;
    (void)pdm; // the queue's defaults are the page
    if (pwszDevice == nullptr || *pwszDevice == '\0') {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::optional<winspool::cups::PageGeometry> page = winspool::cups::FindPageGeometry(pwszDevice);
    if (!page) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return gdi32::CreateDeviceDC(std::make_unique<winspool::PrinterDevice>(pwszDevice, *page));
}

int WINAPI StartDocA(HDC hdc, const DOCINFOA* lpdi)
{
    winspool::PrinterDevice* printer = PrinterOf(hdc);
    if (printer == nullptr || lpdi == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return -1;
    }
    std::string title = lpdi->lpszDocName != nullptr ? codepage::ToUtf8(lpdi->lpszDocName) : "";
    return printer->startDoc(title);
}

int WINAPI StartPage(HDC hdc)
{
    winspool::PrinterDevice* printer = PrinterOf(hdc);
    return printer != nullptr && printer->startPage() ? 1 : -1;
}

int WINAPI EndPage(HDC hdc)
{
    winspool::PrinterDevice* printer = PrinterOf(hdc);
    return printer != nullptr && printer->endPage() ? 1 : -1;
}

int WINAPI EndDoc(HDC hdc)
{
    winspool::PrinterDevice* printer = PrinterOf(hdc);
    return printer != nullptr && printer->endDoc() ? 1 : -1;
}
