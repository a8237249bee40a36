#include "core/library_reset.h"

#include "boxes/box_state.h"
#include "image/image_clicks.h"
#include "image/image_file_state.h"
#include "image/image_table.h"
#include "imaging/drawing_state.h"
#include "krtlib.h"
#include "text/input_ring.h"
#include "text/text_window_table.h"

void ResetLibraryTables()
{
    for (ImageRecord& record : ImageTable)
        record.inUse = 0;
    for (int& entry : CurrentImageHistory)
        entry = 0;
    CurrentImage = 0;
    ResetImageFileState();
    mouseTracking = 0;
    MouseState = {};
    ForgetImageClicks();
    ResetDrawingState();
    for (TextWindowRecord& record : TextWindowTable)
        record.inUse = 0;
    currentTextWindow = 0;
    lineInputOwner = 0;
    lineInputRequest = NoLineRequest;
    LastLine[0] = 0;
    ResetInputRing(InputRing);
    ResetBoxes();
}
