// A PDF document of whole pages, each holding pictures placed at exact
// positions: the printer pages as they go to the spooler.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace winspool {

class PdfDocument {
public:
    // Starts a new page of the given size in points (1/72 inch).
    void beginPage(double widthPoints, double heightPoints);
    // Places a picture of width x height RGB pixels (3 bytes each, rows from
    // the top) on the current page, its top-left corner at (x, y) points from
    // the page's top-left, stretched to w x h points. Shown without smoothing.
    void placeImage(int width, int height, std::vector<std::uint8_t> rgb, double x, double y, double w, double h);
    int pageCount() const { return static_cast<int>(pages_.size()); }
    // The whole file, or nothing when it cannot be made whole (zlib or memory
    // failed): a sheet with a broken picture is worse than a failed print.
    std::optional<std::string> finish() const;

private:
    struct Image {
        int width;
        int height;
        std::vector<std::uint8_t> rgb;
        double x, y, w, h;
    };
    struct Page {
        double width;
        double height;
        std::vector<Image> images;
    };
    std::optional<std::string> write() const;

    std::vector<Page> pages_;
};

} // namespace winspool
