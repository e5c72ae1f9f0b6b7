// A printer context's device: pages at the printer's own resolution, origin
// at the top-left of the printable area, sent to CUPS as one PDF per document.
#pragma once

#include "../gdi32/surface.h"
#include "cups_client.h"
#include "pdf_document.h"

#include <memory>
#include <string>

namespace winspool {

class PrinterDevice final : public gdi32::Device {
public:
    PrinterDevice(std::string printer, cups::PageGeometry page);

    int dpiX() const { return page_.dpiX; }
    int dpiY() const { return page_.dpiY; }
    // The printable area in printer pixels.
    int printableWidth() const;
    int printableHeight() const;

    // The job's id, or -1 when the spooler refuses it or a document is open.
    int startDoc(const std::string& titleUtf8);
    bool startPage();
    bool endPage();
    // Sends the document; false when it did not reach the spooler.
    bool endDoc();
    bool stretchFrom(const gdi32::PixelBuffer& src, int sx, int sy, int sw, int sh, int dx, int dy, int dw,
                     int dh) override;
    int capability(int index) const override;

private:
    std::string printer_;
    cups::PageGeometry page_;
    std::unique_ptr<cups::Job> job_;
    PdfDocument document_;
    bool inPage_ = false;
};

// The printer device behind a context, or nullptr.
PrinterDevice* PrinterOf(HDC hdc);

} // namespace winspool
