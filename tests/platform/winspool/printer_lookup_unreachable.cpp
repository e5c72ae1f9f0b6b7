// The printer look-ups when no scheduler answers: no record, no name and no
// context, after about a second at most, whether nothing listens on the socket or a
// server accepts the connection and never replies.
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// Far beyond the one-second bound, far below a blocked client's two minutes.
constexpr auto kNoHang = std::chrono::seconds(5);

std::filesystem::path SocketPath(const char* name)
{
    return std::filesystem::temp_directory_path() / (name + std::to_string(getpid()));
}

// A server that takes connections and never answers.
class SilentServer {
public:
    SilentServer() : path_(SocketPath("pidview-silent-cups-"))
    {
        fd_ = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        path_.string().copy(address.sun_path, sizeof address.sun_path - 1);
        std::filesystem::remove(path_);
        bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(fd_, 16);
    }
    ~SilentServer()
    {
        close(fd_);
        std::filesystem::remove(path_);
    }
    std::string path() const { return path_.string(); }

private:
    std::filesystem::path path_;
    int fd_;
};

void ExpectNoDefaultPrinter()
{
    DWORD needed = 1;
    DWORD returned = 1;
    BYTE buffer[256];
    auto start = Clock::now();
    BOOL ok = EnumPrintersA(PRINTER_ENUM_DEFAULT, nullptr, 5, buffer, sizeof buffer, &needed, &returned);
    EXPECT_LT(Clock::now() - start, kNoHang);
    EXPECT_TRUE(ok);
    EXPECT_EQ(returned, 0u);
    EXPECT_EQ(needed, 0u);

    // Asked right after the enumeration, as the Print command does: no
    // second wait for the same server.
    start = Clock::now();
    DWORD size = sizeof buffer;
    EXPECT_FALSE(GetDefaultPrinterA(reinterpret_cast<LPSTR>(buffer), &size));
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(300));

    start = Clock::now();
    EXPECT_EQ(CreateDCA(nullptr, "PDF", nullptr, nullptr), nullptr);
    EXPECT_LT(Clock::now() - start, kNoHang);
}

} // namespace

// Each test sets the server before the first CUPS call of its own process.
TEST(PrinterLookupUnreachable, NothingListening)
{
    setenv("CUPS_SERVER", SocketPath("pidview-no-cups-").c_str(), 1);
    ExpectNoDefaultPrinter();
}

TEST(PrinterLookupUnreachable, ServerNeverAnswers)
{
    SilentServer server;
    setenv("CUPS_SERVER", server.path().c_str(), 1);
    ExpectNoDefaultPrinter();
}
