// The chart windows' pointer and keys: each message becomes a change of the
// window's view (its range, its cursor) through the chart's geometry, and
// an invalidation; WM_PAINT draws the view.
#include "chart_window.h"
#include "resource.h"

#define PAN_PARTS 8 // Shift+arrow pans an eighth of the range

static void Redraw(COMPAREWINDOW* pWindow)
{
    InvalidateRect(pWindow->hwnd, NULL, FALSE);
}

void ResetWindowView(COMPAREWINDOW* pWindow)
{
    BOOL bDragging = pWindow->xDragFrom >= 0;

    ResetChartView(&pWindow->view, &pWindow->set);
    pWindow->xDragFrom = -1;
    pWindow->iWheelRest = 0;
    if (pWindow->hwnd == NULL)
        return;
    if (bDragging && GetCapture() == pWindow->hwnd)
        ReleaseCapture();
    Redraw(pWindow);
}

// The cursor at a time of the range (shown), or none.
static void PlaceCursor(COMPAREWINDOW* pWindow, BOOL bShown, LONGLONG llMs)
{
    CHARTVIEW* pView = &pWindow->view;

    if (pView->bCursor == bShown && (!bShown || pView->llCursorMs == llMs))
        return;
    pView->bCursor = bShown;
    pView->llCursorMs = llMs;
    Redraw(pWindow);
}

// WM_MOUSELEAVE once the pointer leaves the client area.
static void TrackLeave(COMPAREWINDOW* pWindow)
{
    TRACKMOUSEEVENT tme;

    if (pWindow->bTracking)
        return;
    tme.cbSize = sizeof(tme);
    tme.dwFlags = TME_LEAVE;
    tme.hwndTrack = pWindow->hwnd;
    tme.dwHoverTime = 0;
    pWindow->bTracking = TrackMouseEvent(&tme);
}

void ChartMouseMove(COMPAREWINDOW* pWindow, int x, int y)
{
    COMPAREAXES* pAxes = &pWindow->view.axes;

    TrackLeave(pWindow);
    if (pWindow->xDragFrom >= 0) {
        // The time under the pointer when the drag began stays under it.
        LONGLONG llShift = (LONGLONG)(x - pWindow->xDragFrom) * (pAxes->llEndMs - pAxes->llStartMs)
                           / (CMP_RIGHT - CMP_LEFT);
        PanTime(pAxes, pWindow->llDragStartMs - llShift - pAxes->llStartMs);
        pWindow->view.llCursorMs = CursorAtX(pAxes, x);
        Redraw(pWindow);
        return;
    }
    PlaceCursor(pWindow, IsOnPlot(pAxes, x, y), CursorAtX(pAxes, x));
}

void ChartMouseLeave(COMPAREWINDOW* pWindow)
{
    pWindow->bTracking = FALSE;
    if (pWindow->xDragFrom < 0)
        PlaceCursor(pWindow, FALSE, 0);
}

void ChartButtonDown(COMPAREWINDOW* pWindow, int x, int y)
{
    if (!IsOnPlot(&pWindow->view.axes, x, y))
        return;
    SetCapture(pWindow->hwnd);
    pWindow->xDragFrom = x;
    pWindow->llDragStartMs = pWindow->view.axes.llStartMs;
}

void ChartButtonUp(COMPAREWINDOW* pWindow)
{
    if (pWindow->xDragFrom < 0)
        return;
    pWindow->xDragFrom = -1;
    if (GetCapture() == pWindow->hwnd)
        ReleaseCapture();
}

void ChartDoubleClick(COMPAREWINDOW* pWindow, int x, int y)
{
    COMPAREAXES* pAxes = &pWindow->view.axes;

    if (!IsOnPlot(pAxes, x, y))
        return;
    ResetTimeRange(pAxes);
    pWindow->view.llCursorMs = CursorAtX(pAxes, x);
    Redraw(pWindow);
}

// Zooms around the cursor where one is shown, else around the range's
// middle; the cursor stays in the range.
static void ZoomAround(COMPAREWINDOW* pWindow, int iSteps)
{
    CHARTVIEW* pView = &pWindow->view;
    COMPAREAXES* pAxes = &pView->axes;

    ZoomTime(pAxes, pView->bCursor ? pView->llCursorMs : (pAxes->llStartMs + pAxes->llEndMs) / 2, iSteps);
    if (pView->bCursor)
        pView->llCursorMs = CursorAtX(pAxes, TimeToX(pAxes, pView->llCursorMs));
    Redraw(pWindow);
}

void ChartWheel(COMPAREWINDOW* pWindow, int iDelta, int xScreen, int yScreen)
{
    POINT pt = {xScreen, yScreen};
    int iSteps;

    pWindow->iWheelRest += iDelta;
    iSteps = pWindow->iWheelRest / WHEEL_DELTA;
    pWindow->iWheelRest -= iSteps * WHEEL_DELTA;
    ScreenToClient(pWindow->hwnd, &pt);
    if (IsOnPlot(&pWindow->view.axes, pt.x, pt.y)) {
        pWindow->view.bCursor = TRUE;
        pWindow->view.llCursorMs = CursorAtX(&pWindow->view.axes, pt.x);
    }
    if (iSteps != 0)
        ZoomAround(pWindow, iSteps);
}

void ChartZoom(COMPAREWINDOW* pWindow, int iSteps)
{
    CHARTVIEW* pView = &pWindow->view;

    if (iSteps != 0) {
        ZoomAround(pWindow, iSteps);
        return;
    }
    ResetTimeRange(&pView->axes);
    if (pView->bCursor && (pView->llCursorMs < pView->axes.llStartMs || pView->llCursorMs > pView->axes.llEndMs))
        pView->bCursor = FALSE;
    Redraw(pWindow);
}

void ChartMarksCommand(COMPAREWINDOW* pWindow)
{
    pWindow->view.bMarks = !pWindow->view.bMarks;
    CheckMenuItem(GetMenu(pWindow->hwnd), IDM_VIEW_MARKS, pWindow->view.bMarks ? MF_CHECKED : MF_UNCHECKED);
    Redraw(pWindow);
}

// The cursor moved to llMs (on the cursor's step, within the runs), the
// range following it.
static void MoveCursor(COMPAREWINDOW* pWindow, LONGLONG llMs)
{
    COMPAREAXES* pAxes = &pWindow->view.axes;
    LONGLONG llTick = pAxes->llTickMs > 0 ? pAxes->llTickMs : 1;
    LONGLONG llLast = pAxes->llWholeEndMs / llTick * llTick;

    llMs = llMs < 0 ? 0 : llMs > llLast ? llLast : llMs;
    ShowTime(pAxes, llMs);
    pWindow->view.bCursor = TRUE;
    pWindow->view.llCursorMs = llMs;
    Redraw(pWindow);
}

BOOL ChartKey(COMPAREWINDOW* pWindow, UINT uKey)
{
    CHARTVIEW* pView = &pWindow->view;
    COMPAREAXES* pAxes = &pView->axes;
    LONGLONG llTick = pAxes->llTickMs > 0 ? pAxes->llTickMs : 1;
    BOOL bShift = GetKeyState(VK_SHIFT) < 0, bControl = GetKeyState(VK_CONTROL) < 0;

    switch (uKey) {
    case VK_ESCAPE:
        if (!pView->bCursor)
            return FALSE;
        PlaceCursor(pWindow, FALSE, 0);
        return TRUE;
    case VK_LEFT:
    case VK_RIGHT:
        if (bShift) {
            PanTime(pAxes, (uKey == VK_LEFT ? -1 : 1) * ((pAxes->llEndMs - pAxes->llStartMs) / PAN_PARTS));
            if (pView->bCursor)
                pView->llCursorMs = CursorAtX(pAxes, TimeToX(pAxes, pView->llCursorMs));
            Redraw(pWindow);
        } else if (!pView->bCursor) {
            // The first press shows the cursor at the range's edge it points from.
            MoveCursor(pWindow, CursorAtX(pAxes, uKey == VK_RIGHT ? CMP_LEFT : CMP_RIGHT));
        } else {
            MoveCursor(pWindow, pView->llCursorMs + (uKey == VK_LEFT ? -llTick : llTick));
        }
        return TRUE;
    case VK_HOME:
        if (bControl)
            ChartZoom(pWindow, 0);
        else
            MoveCursor(pWindow, 0);
        return TRUE;
    case VK_END:
        MoveCursor(pWindow, pAxes->llWholeEndMs);
        return TRUE;
    }
    return TRUE;
}

void ChartCharacter(COMPAREWINDOW* pWindow, CHAR c)
{
    if (c == '+')
        ChartZoom(pWindow, 1);
    else if (c == '-')
        ChartZoom(pWindow, -1);
}
