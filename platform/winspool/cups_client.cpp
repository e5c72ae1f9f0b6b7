// CUPS requests over a connection with bounded waits.
#include "cups_client.h"

#include <cups/cups.h>

#include <sys/socket.h>

#include <chrono>
#include <cmath>
#include <cstdint>

namespace winspool::cups {

using Clock = std::chrono::steady_clock;

// A connection whose every wait ends by a deadline. libcups waits more than
// once per request (and cupsGetNamedDest makes several requests), so a
// per-wait timeout alone would not bound a look-up.
class Session {
public:
    static std::unique_ptr<Session> Open(std::chrono::milliseconds budget)
    {
        // The callback is the calling thread's; set before every connection.
        cupsSetPasswordCB2(DeclinePassword, nullptr);
        auto session = std::unique_ptr<Session>(new Session);
        session->allow(budget);
        session->http_ = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                                      static_cast<int>(budget.count()), nullptr);
        if (session->http_ == nullptr)
            return nullptr;
        httpSetTimeout(session->http_, kPollSeconds, KeepWaiting, &session->deadline_);
        return session;
    }
    ~Session() { httpClose(http_); }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    http_t* http() const { return http_; }
    // Starts a new deadline, budget from now.
    void allow(std::chrono::milliseconds budget) { deadline_ = Clock::now() + budget; }

private:
    Session() = default;
    static constexpr double kPollSeconds = 0.1;
    // No password: the request fails as refused.
    static const char* DeclinePassword(const char*, http_t*, const char*, const char*, void*) { return nullptr; }
    static int KeepWaiting(http_t*, void* deadline)
    {
        return Clock::now() < *static_cast<Clock::time_point*>(deadline) ? 1 : 0;
    }
    http_t* http_ = nullptr;
    Clock::time_point deadline_;
};

namespace {

// A look-up gives up after about a second: long enough for a local
// scheduler, short enough that the window does not freeze.
constexpr std::chrono::milliseconds kLookupBudget{900};
// Creating a job waits on the scheduler's disk; a busy one may take a while.
constexpr std::chrono::milliseconds kJobStartBudget{3000};
// Each step of sending a job may take the scheduler longer (it spools the document).
constexpr std::chrono::milliseconds kJobStepBudget{10000};

std::string PrinterUri(const std::string& printer)
{
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(), "/printers/%s",
                     printer.c_str());
    return uri;
}

constexpr double kPointsPerHundredthMm = 72.0 / 2540.0;

// CUPS reports sizes in hundredths of a millimetre. A queue described in whole
// points (a PPD) loses up to 0.014 pt on the way; taking the whole point back
// gives the page the filters expect, which they would otherwise centre on the
// paper with a shift of a fraction of a printer pixel.
double ToPoints(int hundredthsMm)
{
    double points = hundredthsMm * kPointsPerHundredthMm;
    double whole = std::round(points);
    return std::abs(points - whole) <= 0.5 * kPointsPerHundredthMm ? whole : points;
}

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
            page.widthPoints = ToPoints(ippGetInteger(x, 0));
            page.heightPoints = ToPoints(ippGetInteger(y, 0));
        }
    }
    auto margin = [col](const char* name, double& points) {
        if (ipp_attribute_t* a = ippFindAttribute(col, name, IPP_TAG_INTEGER); a != nullptr && ippGetInteger(a, 0) >= 0)
            points = ToPoints(ippGetInteger(a, 0));
    };
    margin("media-left-margin", page.leftPoints);
    margin("media-top-margin", page.topPoints);
    margin("media-right-margin", page.rightPoints);
    margin("media-bottom-margin", page.bottomPoints);
}

} // namespace

std::optional<PrinterEntry> FindDefaultPrinter()
{
    // A program may ask twice in a row (the enumeration, then the default's
    // name): a server that has just let a look-up run out of time, in its
    // connection or in its reply, is not waited for again at once.
    static Clock::time_point silentUntil;
    const Clock::time_point start = Clock::now();
    if (start < silentUntil)
        return std::nullopt;
    auto session = Session::Open(kLookupBudget);
    cups_dest_t* dest = session ? cupsGetNamedDest(session->http(), nullptr, nullptr) : nullptr;
    if (dest == nullptr) {
        if (Clock::now() - start >= kLookupBudget)
            silentUntil = Clock::now() + kLookupBudget;
        return std::nullopt;
    }
    PrinterEntry entry;
    entry.name = dest->name;
    if (const char* uri = cupsGetOption("device-uri", dest->num_options, dest->options))
        entry.port = uri;
    cupsFreeDests(1, dest);
    return entry;
}

std::optional<PageGeometry> FindPageGeometry(const std::string& printer)
{
    auto session = Session::Open(kLookupBudget);
    if (!session)
        return std::nullopt;
    static const char* const requested[] = {"printer-resolution-default", "media-col-default"};
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, PrinterUri(printer).c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 2, nullptr, requested);
    ipp_t* response = cupsDoRequest(session->http(), request, "/");
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
        xres = DotsPerInch(xres, units == IPP_RES_PER_CM);
        yres = DotsPerInch(yres, units == IPP_RES_PER_CM);
        if (xres > 0 && yres > 0) {
            page.dpiX = xres;
            page.dpiY = yres;
        }
    }
    ReadMedia(response, page);
    ippDelete(response);
    return page;
}

int DotsPerInch(int value, bool perCentimetre)
{
    std::int64_t dpi = perCentimetre ? (std::int64_t{value} * 254 + 50) / 100 : value;
    return dpi > 0 && dpi <= kMaxDpi ? static_cast<int>(dpi) : 0;
}

Job::Job(std::unique_ptr<Session> session, std::string printer, std::string title, int id)
    : session_(std::move(session)), printer_(std::move(printer)), title_(std::move(title)), id_(id)
{
}

std::unique_ptr<Job> Job::Create(const std::string& printer, const std::string& title)
{
    auto session = Session::Open(kJobStartBudget);
    if (!session)
        return nullptr;
    int id = cupsCreateJob(session->http(), printer.c_str(), title.c_str(), 0, nullptr);
    if (id <= 0)
        return nullptr;
    return std::unique_ptr<Job>(new Job(std::move(session), printer, title, id));
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
    session_->allow(kJobStepBudget);
    http_t* http = session_->http();
    if (cupsStartDocument(http, printer_.c_str(), id_, title_.c_str(), CUPS_FORMAT_PDF, 1)
        == HTTP_STATUS_CONTINUE) {
        bool written = cupsWriteRequestData(http, pdf.data(), pdf.size()) == HTTP_STATUS_CONTINUE;
        sent = cupsFinishDocument(http, printer_.c_str()) <= IPP_STATUS_OK_EVENTS_COMPLETE && written;
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
    session_->allow(kLookupBudget);
    cupsCancelJob2(session_->http(), printer_.c_str(), id_, 0);
}

} // namespace winspool::cups
