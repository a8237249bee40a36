// What the image file operations remember for the whole process: the JPEG quality and the
// filter each file dialog used last.  Their folders are taken at start-up (core/process_state.h).
#pragma once

extern int openFilterIndex;  // counted from 1; initially 2 (BMP)
extern int saveFilterIndex;  // likewise

// As a freshly started process has them (jpegQuality 100, both filters BMP).
void ResetImageFileState();
