// Zoom arithmetic of image windows: the zoom steps and the mapping of window points to image
// points.  Integer divisions throughout.
#pragma once

inline int ZoomInStep(int zoom) { return (10 * zoom + 4) / 9; }
inline int ZoomOutStep(int zoom) { return (9 * zoom + 5) / 10; }

// A client point to the image point under it at `zoom` percent.  Signed: while the mouse is
// captured, points left of and above the window arrive negative.
inline int ClientToImage(int client, int zoom)
{
    return zoom > 0 ? client * 100 / zoom : 0;
}

// An image point kept inside an image `extent` pixels long (0 to extent - 1): a drag that left
// the window is reported on the image's edge.
inline int KeepInImage(int point, int extent)
{
    return point < 0 || extent <= 0 ? 0 : point >= extent ? extent - 1 : point;
}
