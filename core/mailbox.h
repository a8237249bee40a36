// The single-slot request mailbox through which the GUI thread gets work done on the
// user-program thread.  Only the GUI thread posts; the user-program thread serves requests
// between runs of UserProgramMain.  The protocol lives here, free of the window system:
// waiting is done through hooks the framework installs (its message pumps and liveness test).
#pragma once
#include <atomic>
#include "core/handles.h"

enum RequestCode {
    RequestCreateImage = 9001,
    RequestRefreshImage = 9002,
    RequestLoadImage = 9003,
    RequestPasteBitmap = 9004,
    RequestOpenTextWindow = 9005,
    RequestOpenInputBox = 9006,
    RequestOpenButtonBox = 9007,
};
constexpr int kFirstRequestCode = RequestCreateImage;
constexpr int kRequestCodeCount = 7;

struct MailboxFields {
    std::atomic<int> code{0};   // 0 empty, else a pending request
    std::atomic<int> done{1};   // set by the server when a request is carried out
    std::atomic<int> slot{0};   // window slot; for 9006 the number of input fields
    std::atomic<int> x{0};
    std::atomic<int> y{0};
    std::atomic<int> width{0};  // for 9007 the number of button columns
    std::atomic<int> height{0}; // for 9007 the number of button rows
    std::atomic<int> zoom{0};
    std::atomic<int> bitDepth{0};
    std::atomic<const char*> name{nullptr};   // owned by the poster, which waits
    std::atomic<const char*> path{nullptr};
    std::atomic<BitmapHandle> bitmap{nullptr};  // ownership passes to the request
    std::atomic<int> result{0};
    // 9002: the user-program thread makes the previous image current again afterwards, so that
    // a poster's sequence (create, load, refresh) ends there and no other thread touches the
    // image history.
    std::atomic<int> restorePrevious{0};
};

extern MailboxFields RequestMailbox;

// The work of each request code, run on the user-program thread.  Entries are filled by the
// subsystems that own the work; an empty entry completes the request without doing anything.
typedef void (*RequestWork)(MailboxFields& request);
extern RequestWork RequestWorkTable[kRequestCodeCount];

// How a poster waits: `pump` dispatches the poster's own messages; `canServe` says whether the
// user-program thread can still serve a request (false once it has ended or Exit has begun).
struct MailboxWaitHooks {
    void (*pump)();
    bool (*canServe)();
};
void SetMailboxWaitHooks(MailboxWaitHooks hooks);

// What a poster puts into the fields; unset values stay 0.
struct RequestArgs {
    int slot = 0, x = 0, y = 0, width = 0, height = 0, zoom = 0, bitDepth = 0;
    const char* name = nullptr;
    const char* path = nullptr;
    BitmapHandle bitmap = nullptr;
    bool restorePrevious = false;
};

// Posting: wait for the slot, fill it, set done to 0 and then code, and wait for done.
// Returns false when the poster gave up because the request can no longer be served.
bool PostRequest(int code, const RequestArgs& args);

// Result of a posting operation whose request could not be served.
constexpr int kRequestNotServed = -1;

// Carries out the pending request: its work, then done = 1 and, after it, code = 0.
void RunPendingRequest();

// Empties the mailbox (code 0, done 1, all fields cleared), as at process start.
void ResetMailbox();
