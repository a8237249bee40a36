/* Drops files on an X window the way a file manager does, by the XDND protocol: the files are
 * offered as text/uri-list from a selection this tool owns.
 *   xdnd_drop WINDOW ROOT_X ROOT_Y FILE...      exit 0 once the target reports the drop finished */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/select.h>
#include <time.h>

static Display* display;
static Window source, target;

static Atom A(const char* name) { return XInternAtom(display, name, False); }

static void Send(const char* type, long l1, long l2, long l3, long l4)
{
    XEvent e;
    memset(&e, 0, sizeof e);
    e.xclient.type = ClientMessage;
    e.xclient.window = target;
    e.xclient.message_type = A(type);
    e.xclient.format = 32;
    e.xclient.data.l[0] = (long)source;
    e.xclient.data.l[1] = l1;
    e.xclient.data.l[2] = l2;
    e.xclient.data.l[3] = l3;
    e.xclient.data.l[4] = l4;
    XSendEvent(display, target, False, NoEventMask, &e);
    XFlush(display);
}

int main(int argc, char** argv)
{
    if (argc < 5) {
        fprintf(stderr, "usage: xdnd_drop WINDOW ROOT_X ROOT_Y FILE...\n");
        return 2;
    }
    display = XOpenDisplay(NULL);
    if (!display)
        return 2;
    target = (Window)strtoul(argv[1], NULL, 0);
    const long x = atol(argv[2]), y = atol(argv[3]);
    static char uris[65536];
    for (int i = 4; i < argc; ++i) {
        char full[PATH_MAX];
        if (!realpath(argv[i], full))
            snprintf(full, sizeof full, "%s", argv[i]);
        strncat(uris, "file://", sizeof uris - strlen(uris) - 1);
        strncat(uris, full, sizeof uris - strlen(uris) - 1);
        strncat(uris, "\r\n", sizeof uris - strlen(uris) - 1);
    }
    source = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(display, A("XdndSelection"), source, CurrentTime);
    Send("XdndEnter", 5L << 24, (long)A("text/uri-list"), 0, 0);
    Send("XdndPosition", 0, (x << 16) | y, CurrentTime, (long)A("XdndActionCopy"));

    int dropped = 0;
    const time_t deadline = time(NULL) + 15;
    while (time(NULL) < deadline) {
        if (!XPending(display)) {
            fd_set fds;
            FD_ZERO(&fds);
            FD_SET(ConnectionNumber(display), &fds);
            struct timeval wait = {0, 200000};
            select(ConnectionNumber(display) + 1, &fds, NULL, NULL, &wait);
            continue;
        }
        XEvent e;
        XNextEvent(display, &e);
        if (e.type == SelectionRequest) {
            XSelectionRequestEvent* r = &e.xselectionrequest;
            XEvent reply;
            memset(&reply, 0, sizeof reply);
            reply.xselection.type = SelectionNotify;
            reply.xselection.requestor = r->requestor;
            reply.xselection.selection = r->selection;
            reply.xselection.target = r->target;
            reply.xselection.time = r->time;
            reply.xselection.property = None;
            if (r->target == A("text/uri-list")) {
                XChangeProperty(display, r->requestor, r->property, r->target, 8, PropModeReplace,
                                (unsigned char*)uris, (int)strlen(uris));
                reply.xselection.property = r->property;
            }
            XSendEvent(display, r->requestor, False, NoEventMask, &reply);
            XFlush(display);
        } else if (e.type == ClientMessage && e.xclient.message_type == A("XdndStatus")) {
            if (!(e.xclient.data.l[1] & 1)) {
                fprintf(stderr, "xdnd_drop: the target refuses the drop\n");
                Send("XdndLeave", 0, 0, 0, 0);
                return 1;
            }
            if (!dropped) {
                Send("XdndDrop", 0, CurrentTime, 0, 0);
                dropped = 1;
            }
        } else if (e.type == ClientMessage && e.xclient.message_type == A("XdndFinished")) {
            return 0;
        }
    }
    fprintf(stderr, "xdnd_drop: no answer from the target\n");
    return 1;
}
