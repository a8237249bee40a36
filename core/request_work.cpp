// The work each request code does on the user-program thread; each entry is the operation of
// the subsystem that owns it.
#include "boxes/button_box.h"
#include "boxes/input_box.h"
#include "core/mailbox.h"
#include "core/request_work.h"
#include "image/clipboard.h"
#include "image/image_file.h"
#include "image/image_window.h"
#include "text/text_window.h"

namespace {

void Install(int code, RequestWork work) { RequestWorkTable[code - kFirstRequestCode] = work; }

}  // namespace

void InstallRequestWork()
{
    for (RequestWork& work : RequestWorkTable)
        work = nullptr;
    Install(RequestCreateImage, CreateImageRequest);
    Install(RequestRefreshImage, RefreshImageRequest);
    Install(RequestLoadImage, LoadImageRequest);
    Install(RequestPasteBitmap, PasteBitmapRequest);
    Install(RequestOpenTextWindow, OpenTextWindowRequest);
    Install(RequestOpenInputBox, OpenInputBoxRequest);
    Install(RequestOpenButtonBox, OpenButtonBoxRequest);
}
