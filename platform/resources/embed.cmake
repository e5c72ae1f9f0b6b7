# Writes a C++ source holding the bytes of a .res file, which hands them to
# the resource layer during static initialisation. -DRES=in.res -DOUT=out.cpp
file(READ ${RES} hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){16})" "\\1\n" bytes "${bytes}")
file(WRITE ${OUT} "// Generated from ${RES}: the program's compiled resources.
#include \"platform/resources/resources.h\"

namespace {
alignas(4) const unsigned char image[] = {
${bytes}
};
[[maybe_unused]] const bool registered = resources::RegisterImage(std::as_bytes(std::span(image)));
} // namespace
")
