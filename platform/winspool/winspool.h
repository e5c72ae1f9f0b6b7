// WINSPOOL: finding the default printer over CUPS.
#pragma once

#include "../wintypes.h"

#ifndef ERROR_INVALID_LEVEL
#define ERROR_INVALID_LEVEL 124L
#endif

#define PRINTER_ENUM_DEFAULT 0x00000001
#define PRINTER_ENUM_LOCAL 0x00000002
#define PRINTER_ENUM_CONNECTIONS 0x00000004
#define PRINTER_ENUM_NAME 0x00000008

#define PRINTER_ATTRIBUTE_DEFAULT 0x00000004
#define PRINTER_ATTRIBUTE_NETWORK 0x00000010
#define PRINTER_ATTRIBUTE_SHARED 0x00000008
#define PRINTER_ATTRIBUTE_LOCAL 0x00000040

struct PRINTER_INFO_5A {
    LPSTR pPrinterName;
    LPSTR pPortName;
    DWORD Attributes;
    DWORD DeviceNotSelectedTimeout;
    DWORD TransmissionRetryTimeout;
};
typedef PRINTER_INFO_5A* PPRINTER_INFO_5A;
typedef PRINTER_INFO_5A* LPPRINTER_INFO_5A;

// Only PRINTER_ENUM_DEFAULT is served: the CUPS default destination, as one
// level-5 record whose strings follow it in pPrinterEnum. Without a default
// destination or a reachable server the call succeeds with no record.
BOOL WINAPI EnumPrintersA(DWORD Flags, LPSTR Name, DWORD Level, LPBYTE pPrinterEnum, DWORD cbBuf,
                          LPDWORD pcbNeeded, LPDWORD pcReturned);

// The same default destination's name. *pcchBuffer gives the buffer's size
// and gets the name's size with its terminating zero; a buffer too small
// fails with ERROR_INSUFFICIENT_BUFFER, no default with ERROR_FILE_NOT_FOUND.
BOOL WINAPI GetDefaultPrinterA(LPSTR pszBuffer, LPDWORD pcchBuffer);
