// A minimal PDF 1.4 writer: one content stream per page and one lossless
// (Flate) image object per picture.
#include "pdf_document.h"

#include <zlib.h>

#include <charconv>
#include <cstdio>
#include <new>

namespace winspool {

namespace {

// A PDF number has a decimal point, whatever the user's locale writes (Qt
// sets the C library's locale from the environment: "%f" writes "595,2800"
// under de_DE, which a printer's filter reads as two numbers).
std::string Number(double value)
{
    char text[64];
    auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 4);
    return result.ec == std::errc() ? std::string(text, result.ptr) : std::string("0");
}

std::optional<std::string> Deflate(const std::vector<std::uint8_t>& data)
{
    uLongf size = compressBound(data.size());
    std::string out(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &size, data.data(), data.size(), Z_BEST_SPEED) != Z_OK)
        return std::nullopt;
    out.resize(size);
    return out;
}

class Writer {
public:
    Writer() { out_ = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n"; }
    // Objects may come in any order: a page names its children before they are written.
    void object(int number, const std::string& body)
    {
        if (offsets_.size() < static_cast<std::size_t>(number))
            offsets_.resize(number, 0);
        offsets_[number - 1] = out_.size();
        out_ += std::to_string(number) + " 0 obj\n" + body + "\nendobj\n";
    }
    void stream(int number, const std::string& dictionary, const std::string& data)
    {
        object(number, "<< " + dictionary + " /Length " + std::to_string(data.size()) + " >>\nstream\n" + data
                           + "\nendstream");
    }
    std::string finish(int root)
    {
        std::size_t xref = out_.size();
        out_ += "xref\n0 " + std::to_string(offsets_.size() + 1) + "\n0000000000 65535 f \n";
        for (std::size_t offset : offsets_) {
            char line[24];
            std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
            out_ += line;
        }
        out_ += "trailer\n<< /Size " + std::to_string(offsets_.size() + 1) + " /Root " + std::to_string(root)
                + " 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
        return std::move(out_);
    }

private:
    std::string out_;
    std::vector<std::size_t> offsets_;
};

} // namespace

void PdfDocument::beginPage(double widthPoints, double heightPoints)
{
    pages_.push_back(Page{widthPoints, heightPoints, {}});
}

void PdfDocument::placeImage(int width, int height, std::vector<std::uint8_t> rgb, double x, double y, double w,
                             double h)
{
    if (pages_.empty())
        return;
    pages_.back().images.push_back(Image{width, height, std::move(rgb), x, y, w, h});
}

std::optional<std::string> PdfDocument::finish() const
{
    try {
        return write();
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

std::optional<std::string> PdfDocument::write() const
{
    Writer writer;
    int catalog = 1;
    int pagesTree = 2;
    int next = 3;
    std::string kids;
    std::vector<int> pageNumbers;
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        pageNumbers.push_back(next);
        kids += std::to_string(next) + " 0 R ";
        next += 2 + static_cast<int>(pages_[i].images.size());
    }
    writer.object(catalog, "<< /Type /Catalog /Pages 2 0 R >>");
    writer.object(pagesTree, "<< /Type /Pages /Kids [ " + kids + "] /Count " + std::to_string(pages_.size()) + " >>");
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        const Page& page = pages_[i];
        int number = pageNumbers[i];
        std::string resources;
        std::string content;
        for (std::size_t k = 0; k < page.images.size(); ++k) {
            const Image& image = page.images[k];
            int imageNumber = number + 2 + static_cast<int>(k);
            std::string name = "/Im" + std::to_string(k);
            resources += name + " " + std::to_string(imageNumber) + " 0 R ";
            // PDF puts the origin at the bottom-left; the image fills the unit square.
            content += "q " + Number(image.w) + " 0 0 " + Number(image.h) + " " + Number(image.x) + " "
                       + Number(page.height - image.y - image.h) + " cm " + name + " Do Q\n";
            std::optional<std::string> pixels = Deflate(image.rgb);
            if (!pixels)
                return std::nullopt;
            writer.stream(imageNumber,
                          "/Type /XObject /Subtype /Image /Width " + std::to_string(image.width) + " /Height "
                              + std::to_string(image.height)
                              + " /ColorSpace /DeviceRGB /BitsPerComponent 8 /Interpolate false /Filter /FlateDecode",
                          *pixels);
        }
        writer.object(number, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + Number(page.width) + " "
                                  + Number(page.height) + "] /Resources << /XObject << " + resources
                                  + ">> >> /Contents " + std::to_string(number + 1) + " 0 R >>");
        writer.stream(number + 1, "", content);
    }
    return writer.finish(catalog);
}

} // namespace winspool
