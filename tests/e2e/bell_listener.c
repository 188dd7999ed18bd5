/* Prints "ready", then "bell" each time the X server rings the bell: Wine
 * turns MessageBeep into XBell, so a test can hear the program's beep. */
#include <X11/XKBlib.h>
#include <stdio.h>

int main(void) {
    Display* display = XOpenDisplay(NULL);
    int event, error, major = XkbMajorVersion, minor = XkbMinorVersion;
    if (!display || !XkbQueryExtension(display, NULL, &event, &error, &major, &minor)) return 1;
    XkbSelectEvents(display, XkbUseCoreKbd, XkbBellNotifyMask, XkbBellNotifyMask);
    XSync(display, False);
    printf("ready\n");
    fflush(stdout);
    for (;;) {
        XEvent e;
        XNextEvent(display, &e);
        if (e.type == event && ((XkbEvent*)&e)->any.xkb_type == XkbBellNotify) {
            printf("bell\n");
            fflush(stdout);
        }
    }
}
