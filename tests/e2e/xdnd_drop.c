/* Drops files onto an X window the way a file manager does (the XDND protocol), so that an
 * end-to-end test can drop files on a window of a program running under Wine.
 *
 *   xdnd_drop WINDOW X Y FILE...      WINDOW: X window id; X, Y: root coordinates of the drop
 *
 * Exit status 0 when the target accepted and finished the drop. */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/select.h>
#include <time.h>

static Display* display;
static Window source, target;
static Atom aware, enter, position, status, drop, finished, selection, actionCopy, uriList;

static void Send(Atom type, long l1, long l2, long l3, long l4)
{
    XEvent event;
    memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.display = display;
    event.xclient.window = target;
    event.xclient.message_type = type;
    event.xclient.format = 32;
    event.xclient.data.l[0] = (long)source;
    event.xclient.data.l[1] = l1;
    event.xclient.data.l[2] = l2;
    event.xclient.data.l[3] = l3;
    event.xclient.data.l[4] = l4;
    XSendEvent(display, target, False, NoEventMask, &event);
    XFlush(display);
}

/* The next event, or 0 after `seconds`. */
static int NextEvent(XEvent* event, int seconds)
{
    const time_t deadline = time(NULL) + seconds;
    while (!XPending(display)) {
        if (time(NULL) > deadline)
            return 0;
        fd_set fds;
        struct timeval wait = {0, 100000};
        FD_ZERO(&fds);
        FD_SET(ConnectionNumber(display), &fds);
        select(ConnectionNumber(display) + 1, &fds, NULL, NULL, &wait);
    }
    XNextEvent(display, event);
    return 1;
}

static void AnswerSelection(const XSelectionRequestEvent* request, const char* uris)
{
    XEvent reply;
    memset(&reply, 0, sizeof reply);
    reply.xselection.type = SelectionNotify;
    reply.xselection.requestor = request->requestor;
    reply.xselection.selection = request->selection;
    reply.xselection.target = request->target;
    reply.xselection.time = request->time;
    reply.xselection.property = None;
    if (request->target == uriList) {
        Atom property = request->property != None ? request->property : request->target;
        XChangeProperty(display, request->requestor, property, uriList, 8, PropModeReplace,
                        (const unsigned char*)uris, (int)strlen(uris));
        reply.xselection.property = property;
    }
    XSendEvent(display, request->requestor, False, NoEventMask, &reply);
    XFlush(display);
}

int main(int argc, char** argv)
{
    if (argc < 5) {
        fprintf(stderr, "usage: xdnd_drop WINDOW X Y FILE...\n");
        return 2;
    }
    display = XOpenDisplay(NULL);
    if (!display)
        return 2;
    target = (Window)strtoul(argv[1], NULL, 0);
    const long x = atol(argv[2]), y = atol(argv[3]);
    size_t size = 1;
    for (int i = 4; i < argc; ++i)
        size += strlen(argv[i]) + 16;
    char* uris = calloc(size, 1);
    for (int i = 4; i < argc; ++i) {
        strcat(uris, "file://");
        strcat(uris, argv[i]);
        strcat(uris, "\r\n");
    }
    aware = XInternAtom(display, "XdndAware", False);
    enter = XInternAtom(display, "XdndEnter", False);
    position = XInternAtom(display, "XdndPosition", False);
    status = XInternAtom(display, "XdndStatus", False);
    drop = XInternAtom(display, "XdndDrop", False);
    finished = XInternAtom(display, "XdndFinished", False);
    selection = XInternAtom(display, "XdndSelection", False);
    actionCopy = XInternAtom(display, "XdndActionCopy", False);
    uriList = XInternAtom(display, "text/uri-list", False);
    source = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(display, selection, source, CurrentTime);

    Send(enter, 5L << 24, (long)uriList, 0, 0);
    Send(position, 0, (x << 16) | (y & 0xFFFF), CurrentTime, (long)actionCopy);
    int accepted = 0, done = 0, dropped = 0;
    XEvent event;
    while (!done && NextEvent(&event, 10)) {
        if (event.type == SelectionRequest) {
            AnswerSelection(&event.xselectionrequest, uris);
        } else if (event.type == ClientMessage && event.xclient.message_type == status) {
            accepted = (event.xclient.data.l[1] & 1) != 0;
            if (!dropped) {
                Send(accepted ? drop : XInternAtom(display, "XdndLeave", False), 0, CurrentTime, 0, 0);
                dropped = 1;
                if (!accepted)
                    done = 1;
            }
        } else if (event.type == ClientMessage && event.xclient.message_type == finished) {
            done = 1;
        }
    }
    free(uris);
    XCloseDisplay(display);
    if (!accepted)
        fprintf(stderr, "xdnd_drop: the window did not accept the drop\n");
    return accepted && done ? 0 : 1;
}
