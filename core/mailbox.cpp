#include "core/mailbox.h"

MailboxFields RequestMailbox;
RequestWork RequestWorkTable[kRequestCodeCount] = {};

namespace {

void NoPump() {}
bool AlwaysServe() { return true; }

MailboxWaitHooks waitHooks{NoPump, AlwaysServe};

}  // namespace

void SetMailboxWaitHooks(MailboxWaitHooks hooks)
{
    waitHooks.pump = hooks.pump ? hooks.pump : NoPump;
    waitHooks.canServe = hooks.canServe ? hooks.canServe : AlwaysServe;
}

bool PostRequest(int code, const RequestArgs& args)
{
    // 1. Another request is pending: keep our own window live (nested commands run here).
    while (RequestMailbox.code.load() != 0) {
        if (!waitHooks.canServe())
            return false;
        waitHooks.pump();
    }
    // 2. and 3. Fill the slot; done must be 0 before code appears, or a poster could take the
    // previous request's done = 1 for its own.
    RequestMailbox.slot = args.slot;
    RequestMailbox.x = args.x;
    RequestMailbox.y = args.y;
    RequestMailbox.width = args.width;
    RequestMailbox.height = args.height;
    RequestMailbox.zoom = args.zoom;
    RequestMailbox.bitDepth = args.bitDepth;
    RequestMailbox.name = args.name;
    RequestMailbox.path = args.path;
    RequestMailbox.bitmap = args.bitmap;
    RequestMailbox.restorePrevious = args.restorePrevious ? 1 : 0;
    RequestMailbox.done.store(0);
    RequestMailbox.code.store(code);
    // 4. Wait for the user-program thread.
    while (RequestMailbox.done.load() == 0) {
        if (!waitHooks.canServe())
            return false;
        waitHooks.pump();
    }
    return true;
}

void RunPendingRequest()
{
    const int code = RequestMailbox.code.load();
    const int index = code - kFirstRequestCode;
    if (index >= 0 && index < kRequestCodeCount && RequestWorkTable[index])
        RequestWorkTable[index](RequestMailbox);
    // done before code: a poster waiting for the slot sees code = 0 only after done = 1.
    RequestMailbox.done.store(1);
    RequestMailbox.code.store(0);
}

void ResetMailbox()
{
    RequestMailbox.done = 1;
    RequestMailbox.slot = 0;
    RequestMailbox.x = 0;
    RequestMailbox.y = 0;
    RequestMailbox.width = 0;
    RequestMailbox.height = 0;
    RequestMailbox.zoom = 0;
    RequestMailbox.bitDepth = 0;
    RequestMailbox.name = nullptr;
    RequestMailbox.path = nullptr;
    RequestMailbox.bitmap = nullptr;
    RequestMailbox.result = 0;
    RequestMailbox.restorePrevious = 0;
    RequestMailbox.code = 0;
}
