// Zoom arithmetic of image windows: the zoom steps and the mapping of window points to image
// points.  Integer divisions throughout.
#pragma once

inline int ZoomInStep(int zoom) { return (10 * zoom + 4) / 9; }
inline int ZoomOutStep(int zoom) { return (9 * zoom + 5) / 10; }

// A client point, taken as the unsigned 16-bit halves of a message's position, to the image
// point under it at `zoom` percent.
inline int ClientToImage(unsigned short client, int zoom)
{
    return zoom > 0 ? static_cast<int>(client) * 100 / zoom : 0;
}
