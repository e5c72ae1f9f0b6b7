#!/usr/bin/env python3
"""How soon a window shows its pixels again after an expose: covers a
corner of its client area with a green window of our own, uncovers it, and
times until the screen at that corner is the white the page has there.
Prints one time in milliseconds per probe.
Usage: expose_probe.py WINDOW_ID X Y PROBES INTERVAL_S"""
import ctypes
import sys
import time

x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XCreateSimpleWindow.restype = ctypes.c_ulong
x11.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                    ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_ulong]
x11.XChangeWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_void_p]
x11.XMapRaised.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x11.XUnmapWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
x11.XTranslateCoordinates.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                      ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int),
                                      ctypes.POINTER(ctypes.c_ulong)]
x11.XGetImage.restype = ctypes.c_void_p
x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                          ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
x11.XGetPixel.restype = ctypes.c_ulong
x11.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
x11.XDestroyImage.argtypes = [ctypes.c_void_p]


class SetWindowAttributes(ctypes.Structure):
    _fields_ = [("background_pixmap", ctypes.c_ulong), ("background_pixel", ctypes.c_ulong),
                ("border_pixmap", ctypes.c_ulong), ("border_pixel", ctypes.c_ulong), ("bit_gravity", ctypes.c_int),
                ("win_gravity", ctypes.c_int), ("backing_store", ctypes.c_int), ("backing_planes", ctypes.c_ulong),
                ("backing_pixel", ctypes.c_ulong), ("save_under", ctypes.c_int), ("event_mask", ctypes.c_long),
                ("do_not_propagate_mask", ctypes.c_long), ("override_redirect", ctypes.c_int),
                ("colormap", ctypes.c_ulong), ("cursor", ctypes.c_ulong)]


CW_OVERRIDE_REDIRECT = 1 << 9
Z_PIXMAP = 2
GREEN, WHITE = 0x00FF00, 0xFFFFFF

window, x, y, probes, interval = int(sys.argv[1], 0), int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4]), \
    float(sys.argv[5])
display = x11.XOpenDisplay(None)
if not display:
    sys.exit("expose_probe.py: cannot open the display")
root = x11.XDefaultRootWindow(display)
rx, ry, child = ctypes.c_int(), ctypes.c_int(), ctypes.c_ulong()
x11.XTranslateCoordinates(display, window, root, x, y, ctypes.byref(rx), ctypes.byref(ry), ctypes.byref(child))
cover = x11.XCreateSimpleWindow(display, root, rx.value - 20, ry.value - 20, 60, 60, 0, 0, GREEN)
attributes = SetWindowAttributes(override_redirect=1)
x11.XChangeWindowAttributes(display, cover, CW_OVERRIDE_REDIRECT, ctypes.byref(attributes))


def pixel():
    image = x11.XGetImage(display, root, rx.value, ry.value, 1, 1, 0xFFFFFF, Z_PIXMAP)
    value = x11.XGetPixel(image, 0, 0) & 0xFFFFFF
    x11.XDestroyImage(image)
    return value


for _ in range(probes):
    x11.XMapRaised(display, cover)
    x11.XSync(display, 0)
    while pixel() != GREEN:
        time.sleep(0.001)
    x11.XUnmapWindow(display, cover)
    x11.XSync(display, 0)
    start = time.monotonic()
    while pixel() != WHITE and time.monotonic() - start < 10:
        time.sleep(0.0005)
    print(f"{(time.monotonic() - start) * 1000:.1f}", flush=True)
    time.sleep(interval)
