/* Reads window state from inside Windows for the end-to-end tests.
 *
 *   probe windows [--title TEXT] [--prop NAME]   one line per matching top-level window
 *   probe foreground                             the foreground window
 *   probe minimize HWND                          minimises a window (as its owner would)
 *
 * A window line is tab-separated key=value pairs:
 *   hwnd=0x... pid=N visible=0|1 iconic=0|1 foreground=0|1 rect=L,T,R,B prop=0x... image=PATH title=TEXT
 * title comes last, so it may hold anything but a line break. Exit status 2 means bad usage. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

struct Filter {
    const char* title; /* NULL: any title */
    const char* prop;  /* NULL: no property needed */
    int matches;
};

static void image_of(DWORD pid, char* path, DWORD size) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    path[0] = '\0';
    if (process) {
        if (!QueryFullProcessImageNameA(process, 0, path, &size))
            path[0] = '\0';
        CloseHandle(process);
    }
}

static void print_window(HWND hwnd, const char* prop) {
    char title[512];
    char image[MAX_PATH];
    RECT rect;
    DWORD pid = 0;
    HANDLE value = prop ? GetPropA(hwnd, prop) : NULL;

    GetWindowTextA(hwnd, title, sizeof title);
    GetWindowRect(hwnd, &rect);
    GetWindowThreadProcessId(hwnd, &pid);
    image_of(pid, image, sizeof image);
    printf("hwnd=%#llx\tpid=%lu\tvisible=%d\ticonic=%d\tforeground=%d\trect=%ld,%ld,%ld,%ld\tprop=%#llx"
           "\timage=%s\ttitle=%s\n",
           (unsigned long long)(ULONG_PTR)hwnd, (unsigned long)pid, IsWindowVisible(hwnd) ? 1 : 0,
           IsIconic(hwnd) ? 1 : 0, GetForegroundWindow() == hwnd ? 1 : 0, rect.left, rect.top, rect.right,
           rect.bottom, (unsigned long long)(ULONG_PTR)value, image, title);
}

static BOOL CALLBACK visit(HWND hwnd, LPARAM param) {
    struct Filter* filter = (struct Filter*)param;
    if (filter->title) {
        char title[512];
        GetWindowTextA(hwnd, title, sizeof title);
        if (strcmp(title, filter->title) != 0)
            return TRUE;
    }
    if (filter->prop && !GetPropA(hwnd, filter->prop))
        return TRUE;
    print_window(hwnd, filter->prop);
    filter->matches++;
    return TRUE;
}

static HWND parse_hwnd(const char* text) {
    char* end;
    unsigned long long value = strtoull(text, &end, 0);
    return *end ? NULL : (HWND)(ULONG_PTR)value;
}

static int usage(void) {
    fputs("usage: probe windows [--title TEXT] [--prop NAME] | foreground | minimize HWND\n", stderr);
    return 2;
}

int main(int argc, char** argv) {
    if (argc >= 2 && strcmp(argv[1], "windows") == 0) {
        struct Filter filter = {NULL, NULL, 0};
        for (int i = 2; i < argc; i += 2) {
            if (i + 1 >= argc)
                return usage();
            if (strcmp(argv[i], "--title") == 0)
                filter.title = argv[i + 1];
            else if (strcmp(argv[i], "--prop") == 0)
                filter.prop = argv[i + 1];
            else
                return usage();
        }
        EnumWindows(visit, (LPARAM)&filter);
        return 0;
    }
    if (argc == 2 && strcmp(argv[1], "foreground") == 0) {
        HWND hwnd = GetForegroundWindow();
        if (hwnd)
            print_window(hwnd, NULL);
        return 0;
    }
    if (argc == 3 && strcmp(argv[1], "minimize") == 0) {
        HWND hwnd = parse_hwnd(argv[2]);
        if (!hwnd || !IsWindow(hwnd)) {
            fprintf(stderr, "probe: no window %s\n", argv[2]);
            return 1;
        }
        /* Asynchronous, so a hung window cannot hang the probe; the caller polls for the result. */
        ShowWindowAsync(hwnd, SW_MINIMIZE);
        return 0;
    }
    return usage();
}
