/* Drops a list of URIs onto a point of a window over XDND, as a file manager does:
 *   e2e_xdnd_drop WINDOW X Y URI...
 * X and Y are relative to WINDOW. The XdndAware window under that point gets Enter,
 * Position and, once it accepts, Drop; the data is served through XdndSelection as
 * text/uri-list. Exits 0 when the target reports a successful XdndFinished, 1 when it refuses
 * or does not answer within the time limit, 2 on bad arguments. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/select.h>
#include <sys/time.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

enum { kVersion = 5, kStatusSeconds = 5, kFinishSeconds = 30 };

static Display* dpy;
static Window source;
static Atom aAware, aEnter, aPosition, aStatus, aDrop, aFinished, aLeave, aSelection, aActionCopy, aUriList,
    aTargets;
static char* payload;

static double Now(void)
{
    struct timeval tv;
    gettimeofday(&tv, NULL);
    return tv.tv_sec + tv.tv_usec / 1e6;
}

static int AwareVersion(Window w)
{
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = NULL;
    int version = -1;
    if (XGetWindowProperty(dpy, w, aAware, 0, 1, False, AnyPropertyType, &type, &format, &count, &after, &data)
            == Success
        && data && count == 1 && format == 32)
        version = (int)*(long*)data;
    if (data)
        XFree(data);
    return version;
}

/* The innermost window at the root point that speaks XDND, walking down from the root. */
static Window AwareWindowAt(int rootX, int rootY)
{
    Window root = DefaultRootWindow(dpy), from = root, child = None;
    int x, y;
    for (;;) {
        if (!XTranslateCoordinates(dpy, root, from, rootX, rootY, &x, &y, &child))
            return None;
        if (from != root && AwareVersion(from) >= 3)
            return from;
        if (child == None)
            return None;
        from = child;
    }
}

static void SendClient(Window target, Atom type, long l0, long l1, long l2, long l3, long l4)
{
    XEvent e;
    memset(&e, 0, sizeof e);
    e.xclient.type = ClientMessage;
    e.xclient.display = dpy;
    e.xclient.window = target;
    e.xclient.message_type = type;
    e.xclient.format = 32;
    e.xclient.data.l[0] = l0;
    e.xclient.data.l[1] = l1;
    e.xclient.data.l[2] = l2;
    e.xclient.data.l[3] = l3;
    e.xclient.data.l[4] = l4;
    XSendEvent(dpy, target, False, NoEventMask, &e);
    XFlush(dpy);
}

static void AnswerSelection(const XSelectionRequestEvent* r)
{
    XEvent reply;
    memset(&reply, 0, sizeof reply);
    reply.xselection.type = SelectionNotify;
    reply.xselection.requestor = r->requestor;
    reply.xselection.selection = r->selection;
    reply.xselection.target = r->target;
    reply.xselection.time = r->time;
    reply.xselection.property = None;
    const Atom property = r->property != None ? r->property : r->target;
    if (r->selection == aSelection && r->target == aTargets) {
        const Atom targets[2] = {aTargets, aUriList};
        XChangeProperty(dpy, r->requestor, property, XA_ATOM, 32, PropModeReplace, (const unsigned char*)targets, 2);
        reply.xselection.property = property;
    } else if (r->selection == aSelection && r->target == aUriList) {
        XChangeProperty(dpy, r->requestor, property, aUriList, 8, PropModeReplace, (const unsigned char*)payload,
                        (int)strlen(payload));
        reply.xselection.property = property;
    }
    XSendEvent(dpy, r->requestor, False, NoEventMask, &reply);
    XFlush(dpy);
}

/* Serves selection requests until a client message of `type` arrives or the deadline passes. */
static int WaitFor(Atom type, double seconds, XClientMessageEvent* out)
{
    const double deadline = Now() + seconds;
    const int fd = ConnectionNumber(dpy);
    for (;;) {
        while (XPending(dpy)) {
            XEvent e;
            XNextEvent(dpy, &e);
            if (e.type == SelectionRequest)
                AnswerSelection(&e.xselectionrequest);
            else if (e.type == ClientMessage && e.xclient.message_type == type) {
                *out = e.xclient;
                return 1;
            }
        }
        const double left = deadline - Now();
        if (left <= 0)
            return 0;
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(fd, &fds);
        struct timeval tv = {(long)left, (long)((left - (long)left) * 1e6)};
        select(fd + 1, &fds, NULL, NULL, &tv);
    }
}

/* The server's current time, from a property change on our own window. */
static Time ServerTime(void)
{
    XChangeProperty(dpy, source, XA_WM_NAME, XA_STRING, 8, PropModeAppend, (const unsigned char*)"", 0);
    XFlush(dpy);
    for (;;) {
        XEvent e;
        XNextEvent(dpy, &e);
        if (e.type == PropertyNotify && e.xproperty.window == source)
            return e.xproperty.time;
    }
}

int main(int argc, char** argv)
{
    if (argc < 5) {
        fprintf(stderr, "usage: e2e_xdnd_drop WINDOW X Y URI...\n");
        return 2;
    }
    dpy = XOpenDisplay(NULL);
    if (!dpy) {
        fprintf(stderr, "e2e_xdnd_drop: cannot open the display\n");
        return 2;
    }
    const Window window = (Window)strtoul(argv[1], NULL, 0);
    const int x = atoi(argv[2]), y = atoi(argv[3]);

    size_t size = 1;
    for (int i = 4; i < argc; ++i)
        size += strlen(argv[i]) + 2;
    payload = calloc(size, 1);
    for (int i = 4; i < argc; ++i) {
        strcat(payload, argv[i]);
        strcat(payload, "\r\n");
    }

    aAware = XInternAtom(dpy, "XdndAware", False);
    aEnter = XInternAtom(dpy, "XdndEnter", False);
    aPosition = XInternAtom(dpy, "XdndPosition", False);
    aStatus = XInternAtom(dpy, "XdndStatus", False);
    aDrop = XInternAtom(dpy, "XdndDrop", False);
    aFinished = XInternAtom(dpy, "XdndFinished", False);
    aLeave = XInternAtom(dpy, "XdndLeave", False);
    aSelection = XInternAtom(dpy, "XdndSelection", False);
    aActionCopy = XInternAtom(dpy, "XdndActionCopy", False);
    aUriList = XInternAtom(dpy, "text/uri-list", False);
    aTargets = XInternAtom(dpy, "TARGETS", False);

    Window root = DefaultRootWindow(dpy), unused;
    int rootX, rootY;
    if (!XTranslateCoordinates(dpy, window, root, x, y, &rootX, &rootY, &unused)) {
        fprintf(stderr, "e2e_xdnd_drop: window 0x%lx is not on the screen\n", window);
        return 2;
    }
    const Window target = AwareWindowAt(rootX, rootY);
    if (target == None) {
        fprintf(stderr, "e2e_xdnd_drop: no XdndAware window at %d,%d\n", rootX, rootY);
        return 1;
    }
    const int version = AwareVersion(target) < kVersion ? AwareVersion(target) : kVersion;

    source = XCreateSimpleWindow(dpy, root, -10, -10, 1, 1, 0, 0, 0);
    XSelectInput(dpy, source, PropertyChangeMask);
    const long aware = kVersion;
    XChangeProperty(dpy, source, aAware, XA_ATOM, 32, PropModeReplace, (const unsigned char*)&aware, 1);
    const Time time = ServerTime();
    XSetSelectionOwner(dpy, aSelection, source, time);
    if (XGetSelectionOwner(dpy, aSelection) != source) {
        fprintf(stderr, "e2e_xdnd_drop: cannot own XdndSelection\n");
        return 1;
    }

    SendClient(target, aEnter, (long)source, (long)version << 24, (long)aUriList, None, None);
    SendClient(target, aPosition, (long)source, 0, ((long)rootX << 16) | rootY, (long)time, (long)aActionCopy);
    XClientMessageEvent status;
    if (!WaitFor(aStatus, kStatusSeconds, &status)) {
        fprintf(stderr, "e2e_xdnd_drop: no XdndStatus from 0x%lx\n", target);
        SendClient(target, aLeave, (long)source, 0, 0, 0, 0);
        return 1;
    }
    if (!(status.data.l[1] & 1)) {
        fprintf(stderr, "e2e_xdnd_drop: 0x%lx refuses the drop at %d,%d\n", target, rootX, rootY);
        SendClient(target, aLeave, (long)source, 0, 0, 0, 0);
        return 1;
    }
    SendClient(target, aDrop, (long)source, 0, (long)time, 0, 0);
    XClientMessageEvent finished;
    if (!WaitFor(aFinished, kFinishSeconds, &finished)) {
        fprintf(stderr, "e2e_xdnd_drop: no XdndFinished from 0x%lx\n", target);
        return 1;
    }
    if (version >= 5 && !(finished.data.l[1] & 1)) {
        fprintf(stderr, "e2e_xdnd_drop: 0x%lx reports the drop as failed\n", target);
        return 1;
    }
    XCloseDisplay(dpy);
    return 0;
}
