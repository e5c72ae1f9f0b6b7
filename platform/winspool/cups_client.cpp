// CUPS requests over a connection with bounded waits.
#include "cups_client.h"

#include <cups/cups.h>

#include <sys/socket.h>

namespace winspool::cups {

namespace {

// A look-up gives up after about a second: long enough for a local
// scheduler, short enough that the window does not freeze.
constexpr int kLookupConnectMs = 1000;
constexpr double kLookupReplySeconds = 1.0;
// Sending a job may take the scheduler longer (it spools the document).
constexpr int kJobConnectMs = 1000;
constexpr double kJobReplySeconds = 10.0;

int GiveUp(http_t*, void*)
{
    return 0;
}

std::unique_ptr<_http_s, HttpCloser> Connect(int connectMs, double replySeconds)
{
    http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, connectMs,
                                nullptr);
    if (http != nullptr)
        httpSetTimeout(http, replySeconds, GiveUp, nullptr);
    return std::unique_ptr<_http_s, HttpCloser>(http);
}

std::string PrinterUri(const std::string& printer)
{
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(), "/printers/%s",
                     printer.c_str());
    return uri;
}

constexpr double kPointsPerHundredthMm = 72.0 / 2540.0;

void ReadMedia(ipp_t* response, PageGeometry& page)
{
    ipp_attribute_t* mediaCol = ippFindAttribute(response, "media-col-default", IPP_TAG_BEGIN_COLLECTION);
    if (mediaCol == nullptr)
        return;
    ipp_t* col = ippGetCollection(mediaCol, 0);
    if (ipp_attribute_t* size = ippFindAttribute(col, "media-size", IPP_TAG_BEGIN_COLLECTION)) {
        ipp_t* sizeCol = ippGetCollection(size, 0);
        ipp_attribute_t* x = ippFindAttribute(sizeCol, "x-dimension", IPP_TAG_INTEGER);
        ipp_attribute_t* y = ippFindAttribute(sizeCol, "y-dimension", IPP_TAG_INTEGER);
        if (x != nullptr && y != nullptr && ippGetInteger(x, 0) > 0 && ippGetInteger(y, 0) > 0) {
            page.widthPoints = ippGetInteger(x, 0) * kPointsPerHundredthMm;
            page.heightPoints = ippGetInteger(y, 0) * kPointsPerHundredthMm;
        }
    }
    auto margin = [col](const char* name, double& points) {
        if (ipp_attribute_t* a = ippFindAttribute(col, name, IPP_TAG_INTEGER); a != nullptr && ippGetInteger(a, 0) >= 0)
            points = ippGetInteger(a, 0) * kPointsPerHundredthMm;
    };
    margin("media-left-margin", page.leftPoints);
    margin("media-top-margin", page.topPoints);
    margin("media-right-margin", page.rightPoints);
    margin("media-bottom-margin", page.bottomPoints);
}

} // namespace

void HttpCloser::operator()(_http_s* http) const
{
    httpClose(http);
}

std::optional<PrinterEntry> FindDefaultPrinter()
{
    auto http = Connect(kLookupConnectMs, kLookupReplySeconds);
    if (!http)
        return std::nullopt;
    cups_dest_t* dest = cupsGetNamedDest(http.get(), nullptr, nullptr);
    if (dest == nullptr)
        return std::nullopt;
    PrinterEntry entry;
    entry.name = dest->name;
    if (const char* uri = cupsGetOption("device-uri", dest->num_options, dest->options))
        entry.port = uri;
    cupsFreeDests(1, dest);
    return entry;
}

std::optional<PageGeometry> FindPageGeometry(const std::string& printer)
{
    auto http = Connect(kLookupConnectMs, kLookupReplySeconds);
    if (!http)
        return std::nullopt;
    static const char* const requested[] = {"printer-resolution-default", "media-col-default"};
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, PrinterUri(printer).c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 2, nullptr, requested);
    ipp_t* response = cupsDoRequest(http.get(), request, "/");
    if (response == nullptr)
        return std::nullopt;
    if (ippGetStatusCode(response) > IPP_STATUS_OK_EVENTS_COMPLETE) {
        ippDelete(response);
        return std::nullopt;
    }
    PageGeometry page;
    if (ipp_attribute_t* res = ippFindAttribute(response, "printer-resolution-default", IPP_TAG_RESOLUTION)) {
        int yres = 0;
        ipp_res_t units = IPP_RES_PER_INCH;
        int xres = ippGetResolution(res, 0, &yres, &units);
        if (units == IPP_RES_PER_CM) {
            xres = (xres * 254 + 50) / 100;
            yres = (yres * 254 + 50) / 100;
        }
        if (xres > 0 && yres > 0) {
            page.dpiX = xres;
            page.dpiY = yres;
        }
    }
    ReadMedia(response, page);
    ippDelete(response);
    return page;
}

Job::Job(std::unique_ptr<_http_s, HttpCloser> http, std::string printer, std::string title, int id)
    : http_(std::move(http)), printer_(std::move(printer)), title_(std::move(title)), id_(id)
{
}

std::unique_ptr<Job> Job::Create(const std::string& printer, const std::string& title)
{
    auto http = Connect(kJobConnectMs, kJobReplySeconds);
    if (!http)
        return nullptr;
    int id = cupsCreateJob(http.get(), printer.c_str(), title.c_str(), 0, nullptr);
    if (id <= 0)
        return nullptr;
    return std::unique_ptr<Job>(new Job(std::move(http), printer, title, id));
}

Job::~Job()
{
    Cancel();
}

bool Job::Submit(std::string_view pdf)
{
    if (!open_)
        return false;
    bool sent = false;
    if (cupsStartDocument(http_.get(), printer_.c_str(), id_, title_.c_str(), CUPS_FORMAT_PDF, 1)
        == HTTP_STATUS_CONTINUE) {
        bool written = cupsWriteRequestData(http_.get(), pdf.data(), pdf.size()) == HTTP_STATUS_CONTINUE;
        sent = cupsFinishDocument(http_.get(), printer_.c_str()) <= IPP_STATUS_OK_EVENTS_COMPLETE && written;
    }
    if (sent)
        open_ = false;
    else
        Cancel(); // a job left waiting for its document would hold the queue
    return sent;
}

void Job::Cancel()
{
    if (!open_)
        return;
    open_ = false;
    cupsCancelJob2(http_.get(), printer_.c_str(), id_, 0);
}

} // namespace winspool::cups
