# The defences Debian builds its own packages with (dpkg-buildflags with
# hardening=+all): a stack protector, the C library's checked string and
# memory calls, a relocation table made read-only and bound at start, and
# position-independent executables. A file that ever found a fault meets the
# same defences here as in any other program of the system. The sanitizer and
# fuzzer builds have checks of their own, which the fortified calls would
# hide; the Windows build gets the system's defaults.
option(PIDVIEW_HARDENING "Build with the hardening flags of Debian's packages" ON)
if(PIDVIEW_HARDENING AND NOT WIN32 AND NOT PIDVIEW_SANITIZE AND NOT PIDVIEW_FUZZ)
  include(CheckPIESupported)
  check_pie_supported()
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
  add_compile_options(-fstack-protector-strong -Wformat -Werror=format-security)
  # The checked calls need the optimiser: a Debug build goes without them.
  add_compile_options("$<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")
  add_link_options(-Wl,-z,relro -Wl,-z,now)
endif()
