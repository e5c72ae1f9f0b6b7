// Drop handles and the names they carry, and the text/uri-list that a file
// manager hands over, decoded byte by byte so that any name survives.
#include "drops.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <unordered_map>

namespace shell32 {
namespace {

// Drop handles count up from a tag of their own, apart from window, menu,
// global memory and GDI handles, and are never reused.
constexpr std::uint64_t kDropHandleTag = 0x8300'0000'0000'0000u;
std::uint64_t lastDrop = kDropHandleTag;
std::unordered_map<HDROP, std::vector<std::string>> liveDrops;

const std::vector<std::string>* findDrop(HDROP drop)
{
    auto found = liveDrops.find(drop);
    return found != liveDrops.end() ? &found->second : nullptr;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] - 'A' + 'a') : text[i];
        if (c != prefix[i])
            return false;
    }
    return true;
}

// The path of a file: URI on this machine (no host or "localhost"),
// percent escapes decoded; empty for any other URI or a broken escape.
std::string localPath(std::string_view uri)
{
    if (!startsWithNoCase(uri, "file:"))
        return {};
    uri.remove_prefix(5);
    if (uri.starts_with("//")) {
        uri.remove_prefix(2);
        std::size_t slash = uri.find('/');
        std::string_view host = uri.substr(0, slash);
        bool local = host.empty() || (host.size() == 9 && startsWithNoCase(host, "localhost"));
        if (slash == std::string_view::npos || !local)
            return {};
        uri.remove_prefix(slash);
    }
    if (!uri.starts_with('/'))
        return {};
    std::string path;
    for (std::size_t i = 0; i < uri.size(); ++i) {
        if (uri[i] != '%') {
            path.push_back(uri[i]);
            continue;
        }
        int high = i + 2 < uri.size() ? hexValue(uri[i + 1]) : -1;
        int low = high >= 0 ? hexValue(uri[i + 2]) : -1;
        if (low < 0 || (high == 0 && low == 0))
            return {}; // no path holds a zero byte
        path.push_back(static_cast<char>(high * 16 + low));
        i += 2;
    }
    return path;
}

} // namespace

std::vector<std::string> LocalPathsOfUriList(std::string_view uriList)
{
    std::vector<std::string> paths;
    while (!uriList.empty()) {
        std::size_t end = uriList.find('\n');
        std::string_view line = uriList.substr(0, end);
        uriList.remove_prefix(end == std::string_view::npos ? uriList.size() : end + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (line.starts_with('#'))
            continue; // a comment
        if (std::string path = localPath(line); !path.empty())
            paths.push_back(std::move(path));
    }
    return paths;
}

HDROP AddDrop(std::vector<std::string> paths)
{
    HDROP drop = reinterpret_cast<HDROP>(static_cast<std::uintptr_t>(++lastDrop));
    liveDrops.emplace(drop, std::move(paths));
    return drop;
}

} // namespace shell32

using namespace shell32;

UINT WINAPI DragQueryFileA(HDROP hDrop, UINT iFile, LPSTR lpszFile, UINT cch)
{
    const std::vector<std::string>* paths = findDrop(hDrop);
    if (paths == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    if (iFile == 0xFFFFFFFF)
        return static_cast<UINT>(paths->size());
    if (iFile >= paths->size())
        return 0;
    const std::string& path = (*paths)[iFile];
    if (lpszFile == nullptr)
        return static_cast<UINT>(path.size());
    if (cch == 0)
        return 0;
    std::size_t length = std::min<std::size_t>(path.size(), cch - 1);
    std::memcpy(lpszFile, path.data(), length);
    lpszFile[length] = '\0';
    return static_cast<UINT>(length);
}

void WINAPI DragFinish(HDROP hDrop)
{
    liveDrops.erase(hDrop);
}
