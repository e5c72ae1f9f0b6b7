// The records the program hands to the 32-bit API have the sizes that
// version of the API expects; a header change that alters them fails here.
#include <windows.h>
#include <commdlg.h>

#include <cstddef>

// OPENFILENAME_SIZE_VERSION_400A is the record up to and with lpTemplateName.
static_assert(offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR) == 76,
              "the open-file record of the 32-bit API is 76 bytes");
static_assert(sizeof(DOCINFOA) == 20, "the document record of the 32-bit API is 20 bytes");
