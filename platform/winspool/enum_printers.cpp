// EnumPrintersA: the default printer as one PRINTER_INFO_5A record, packed
// into the caller's buffer the way the spooler does it; GetDefaultPrinterA:
// its name.
#include "winspool.h"

#include "cups_client.h"

#include <cstring>

namespace {

// The spooler's defaults for a local printer, in milliseconds.
constexpr DWORD kDeviceNotSelectedTimeout = 15000;
constexpr DWORD kTransmissionRetryTimeout = 45000;

} // namespace

BOOL WINAPI EnumPrintersA(DWORD Flags, LPSTR Name, DWORD Level, LPBYTE pPrinterEnum, DWORD cbBuf,
                          LPDWORD pcbNeeded, LPDWORD pcReturned)
{
    (void)Name; // only this machine's spooler
    if (pcbNeeded == nullptr || pcReturned == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *pcbNeeded = 0;
    *pcReturned = 0;
    if (Level != 5) {
        SetLastError(ERROR_INVALID_LEVEL);
        return FALSE;
    }
    if ((Flags & PRINTER_ENUM_DEFAULT) == 0)
        return TRUE;
    std::optional<winspool::cups::PrinterEntry> printer = winspool::cups::FindDefaultPrinter();
    if (!printer)
        return TRUE;

    // The record comes first; its strings follow it.
    std::size_t nameSize = printer->name.size() + 1;
    std::size_t portSize = printer->port.size() + 1;
    std::size_t needed = sizeof(PRINTER_INFO_5A) + nameSize + portSize;
    *pcbNeeded = static_cast<DWORD>(needed);
    if (pPrinterEnum == nullptr || cbBuf < needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    char* strings = reinterpret_cast<char*>(pPrinterEnum) + sizeof(PRINTER_INFO_5A);
    std::memcpy(strings, printer->name.c_str(), nameSize);
    std::memcpy(strings + nameSize, printer->port.c_str(), portSize);
    PRINTER_INFO_5A info{};
    info.pPrinterName = strings;
    info.pPortName = strings + nameSize;
    info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    info.DeviceNotSelectedTimeout = kDeviceNotSelectedTimeout;
    info.TransmissionRetryTimeout = kTransmissionRetryTimeout;
    std::memcpy(pPrinterEnum, &info, sizeof info); // the caller's buffer need not be aligned
    *pcReturned = 1;
    return TRUE;
}

BOOL WINAPI GetDefaultPrinterA(LPSTR pszBuffer, LPDWORD pcchBuffer)
{
    if (pcchBuffer == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::optional<winspool::cups::PrinterEntry> printer = winspool::cups::FindDefaultPrinter();
    if (!printer) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    std::size_t size = printer->name.size() + 1;
    if (pszBuffer == nullptr || *pcchBuffer < size) {
        *pcchBuffer = static_cast<DWORD>(size);
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    std::memcpy(pszBuffer, printer->name.c_str(), size);
    *pcchBuffer = static_cast<DWORD>(size);
    return TRUE;
}
