// How large an image window's client area may be, and the zoom at which an image fits.
// Pure functions of the screen metrics, so that they can be checked for any screen.
#pragma once

struct ScreenMetrics {
    int minTrackWidth;   // SM_CXMIN
    int minTrackHeight;  // SM_CYMIN
    int frameWidth;      // SM_CXFRAME
    int captionHeight;   // SM_CYCAPTION
    int screenWidth;     // SM_CXSCREEN
    int screenHeight;    // SM_CYSCREEN
};

struct SizeLimits {
    int minWidth;
    int minHeight;
    int maxWidth;
    int maxHeight;
};

// ScreenFit: from the smallest window the system allows up to the screen (less a caption);
// FreeLimits: from 1 pixel up to twice the screen.
SizeLimits GetSizeLimits(int sizeLimitMode, const ScreenMetrics& metrics);

struct ZoomFit {
    bool fits;  // false: no zoom satisfies both the minimum and the maximum
    int zoom;   // percent
    int clientWidth;
    int clientHeight;
};

// The requested zoom lowered until the client area fits the maximum (the tighter direction
// wins), then raised, rounded up, until it reaches the minimum.  width and height >= 1.
ZoomFit FitZoom(int width, int height, int zoom, int sizeLimitMode, const ScreenMetrics& metrics);
