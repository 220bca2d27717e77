/* The window monkey's eyes without a window manager: lists a process's mapped top-level windows
 * and asks one to close as a window manager's close button would (WM_DELETE_WINDOW), so no key
 * ever reaches a window it was not meant for.
 *   monkey-windows list PID [EXCEPT]   ids of PID's viewable top-level windows, topmost first
 *   monkey-windows close WINDOW        asks WINDOW to close
 * Built by scripts/monkey: cc -O1 -o monkey-windows monkey-windows.c -lX11 */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static long WindowPid(Display* d, Window w, Atom pidAtom) {
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = NULL;
  long pid = -1;
  if (XGetWindowProperty(d, w, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after,
                         &data) == Success &&
      data != NULL && count == 1 && format == 32)
    pid = (long)*(unsigned long*)data;
  if (data) XFree(data);
  return pid;
}

static int List(Display* d, long pid, Window except) {
  Window root = DefaultRootWindow(d), parent, *children = NULL;
  unsigned int n = 0;
  Atom pidAtom = XInternAtom(d, "_NET_WM_PID", False);
  if (!XQueryTree(d, root, &root, &parent, &children, &n)) return 1;
  /* XQueryTree lists the children bottom to top. */
  for (unsigned int i = n; i-- > 0;) {
    XWindowAttributes a;
    if (children[i] == except || !XGetWindowAttributes(d, children[i], &a)) continue;
    if (a.map_state != IsViewable) continue;
    if (WindowPid(d, children[i], pidAtom) == pid) printf("%lu\n", (unsigned long)children[i]);
  }
  if (children) XFree(children);
  return 0;
}

static int Close(Display* d, Window w) {
  XEvent e;
  memset(&e, 0, sizeof e);
  e.xclient.type = ClientMessage;
  e.xclient.window = w;
  e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = (long)XInternAtom(d, "WM_DELETE_WINDOW", False);
  e.xclient.data.l[1] = CurrentTime;
  XSendEvent(d, w, False, NoEventMask, &e);
  XSync(d, False);
  return 0;
}

static int IgnoreErrors(Display* d, XErrorEvent* e) {
  (void)d;
  (void)e;
  return 0; /* a window may go away while it is looked at */
}

int main(int argc, char** argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: %s list PID [EXCEPT] | close WINDOW\n", argv[0]);
    return 2;
  }
  Display* d = XOpenDisplay(NULL);
  if (!d) {
    fprintf(stderr, "%s: no display\n", argv[0]);
    return 2;
  }
  XSetErrorHandler(IgnoreErrors);
  int rc = 2;
  if (strcmp(argv[1], "list") == 0)
    rc = List(d, strtol(argv[2], NULL, 10), argc > 3 ? strtoul(argv[3], NULL, 10) : 0);
  else if (strcmp(argv[1], "close") == 0)
    rc = Close(d, strtoul(argv[2], NULL, 10));
  XCloseDisplay(d);
  return rc;
}
