/* Presses and releases one X mouse button through XTest, COUNT times, and prints for each
 * press the CLOCK_MONOTONIC_RAW time in nanoseconds just before it is sent.
 *   xclicker COUNT [BUTTON=9] [INTERVAL_MS=40]
 * The XTest and Xlib libraries are loaded at run time, so only their runtime packages are
 * needed. */
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

typedef void *(*OpenDisplayFn)(const char *);
typedef int (*FakeButtonFn)(void *, unsigned, int, unsigned long);
typedef int (*DisplayFn)(void *);

static void SleepMs(long ms) {
  struct timespec t = {ms / 1000, (ms % 1000) * 1000000L};
  nanosleep(&t, NULL);
}

int main(int argc, char **argv) {
  if (argc < 2) return 2;
  int count = atoi(argv[1]);
  unsigned button = argc > 2 ? (unsigned)atoi(argv[2]) : 9;
  long interval = argc > 3 ? atol(argv[3]) : 40;
  void *x11 = dlopen("libX11.so.6", RTLD_NOW);
  void *xtst = dlopen("libXtst.so.6", RTLD_NOW);
  if (!x11 || !xtst) {
    fprintf(stderr, "xclicker: libX11.so.6 and libXtst.so.6 are needed\n");
    return 1;
  }
  OpenDisplayFn openDisplay = (OpenDisplayFn)dlsym(x11, "XOpenDisplay");
  DisplayFn flush = (DisplayFn)dlsym(x11, "XFlush");
  DisplayFn closeDisplay = (DisplayFn)dlsym(x11, "XCloseDisplay");
  FakeButtonFn fakeButton = (FakeButtonFn)dlsym(xtst, "XTestFakeButtonEvent");
  void *display = openDisplay ? openDisplay(NULL) : NULL;
  if (!display || !flush || !closeDisplay || !fakeButton) {
    fprintf(stderr, "xclicker: no display\n");
    return 1;
  }
  for (int i = 0; i < count; ++i) {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC_RAW, &now);
    fakeButton(display, button, 1, 0);
    flush(display);
    printf("%lld\n", (long long)now.tv_sec * 1000000000LL + now.tv_nsec);
    SleepMs(5);
    fakeButton(display, button, 0, 0);
    flush(display);
    SleepMs(interval);
  }
  closeDisplay(display);
  return 0;
}
