// The few CUPS requests the spooler layer makes: the default destination,
// a queue's page geometry, and one print job. Every request is bounded in
// time, so a server that accepts a connection and never answers cannot hang
// the window, and a server that asks for a password is told no at once:
// there is nobody to ask (libcups would ask on the terminal).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace winspool::cups {

class Session;

struct PrinterEntry {
    std::string name;
    std::string port; // the queue's device URI
};

// The default destination as lpstat -d reports it (LPDEST, PRINTER and the
// lpoptions files first, then the server's default), or nothing.
std::optional<PrinterEntry> FindDefaultPrinter();

// Sizes in points (1/72 inch), resolution in dots per inch.
struct PageGeometry {
    int dpiX = 300;
    int dpiY = 300;
    double widthPoints = 595.28;
    double heightPoints = 841.89;
    double leftPoints = 0;
    double topPoints = 0;
    double rightPoints = 0;
    double bottomPoints = 0;
};

// The default resolution and media of a queue, or nothing when the server
// does not know the queue or does not answer.
std::optional<PageGeometry> FindPageGeometry(const std::string& printer);

// A resolution as a server reports it, per inch or per centimetre, in dots
// per inch; 0 when it is no printer's (not positive, or above kMaxDpi).
constexpr int kMaxDpi = 10000;
int DotsPerInch(int value, bool perCentimetre);

// One job on the server: created at once, its document sent by Submit.
// A job that is never submitted is cancelled.
class Job {
public:
    // Nothing when the server refuses the job or does not answer.
    static std::unique_ptr<Job> Create(const std::string& printer, const std::string& title);
    ~Job();
    Job(const Job&) = delete;
    Job& operator=(const Job&) = delete;

    int id() const { return id_; }
    // Sends pdf as the job's only document and closes the job.
    bool Submit(std::string_view pdf);
    // Withdraws the job.
    void Cancel();

private:
    Job(std::unique_ptr<Session> session, std::string printer, std::string title, int id);
    std::unique_ptr<Session> session_;
    std::string printer_;
    std::string title_;
    int id_;
    bool open_ = true;
};

} // namespace winspool::cups
