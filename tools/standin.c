/* Stand-in for a program that the launcher starts from the CD: it shows a small window that says what
 * it stands in for and appends one line to a log, so that the demo CD works and tests can see what was
 * started, with which arguments, from which folder.
 *
 * Built once per program; STANDIN_ID picks the row of kPrograms. The window title is the one the
 * post-install sequence waits on, where it waits on one.
 *
 * Log line (tab-separated, CRLF): file name of this executable, its arguments, its current directory.
 * The log is %STANDIN_LOG% when set, else standin.log in %TEMP%.
 * STANDIN_CLOSE_AFTER_MS=n closes the window by itself after n milliseconds. */
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#ifndef STANDIN_ID
#error "STANDIN_ID must name the program this build stands in for"
#endif

struct Program {
    const char* title;
    const char* text;
};

/* Dutch texts in code page 1252 (the ANSI interfaces show them as such). */
static const struct Program kPrograms[] = {
    {"Installshield Wizard", "Dit is een vervanger voor het installatieprogramma van Marlo Desktop.\r\n"
                             "Op de echte cd installeert dit programma de desktopsoftware."},
    {"Adobe Acrobat Reader (vervanger)",
     "Dit is een vervanger voor het installatieprogramma van Adobe Acrobat Reader."},
    {"CompanionLink (vervanger)", "Dit is een vervanger voor het installatieprogramma van CompanionLink."},
    {"Marlo Desktop Database Converter",
     "Dit is een vervanger voor de databaseconversie van Marlo Desktop.\r\n"
     "Op de echte cd zet dit programma de gegevens van Zelto Desktop over."},
    {"Marlo OS Update", "Dit is een vervanger voor de update van het besturingssysteem van de Marlo PDA.\r\n"
                        "Er wordt niets gewijzigd."},
};

enum { kTimerClose = 1, kIdClose = 100, kWidth = 500, kHeight = 170 };
enum { kCascade = 40 }; /* offset per program, so that several stand-ins do not hide each other */

static void write_log_line(void) {
    char path[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("STANDIN_LOG", path, sizeof path);
    if (n == 0 || n >= sizeof path) {
        n = GetTempPathA(sizeof path, path);
        if (n == 0 || n + sizeof "standin.log" > sizeof path)
            return;
        strcat(path, "standin.log");
    }

    char module[MAX_PATH];
    DWORD len = GetModuleFileNameA(NULL, module, sizeof module);
    if (len == 0 || len >= sizeof module)
        strcpy(module, "?");
    const char* name = strrchr(module, '\\');
    name = name ? name + 1 : module;

    /* The arguments: the command line after the program's own (possibly quoted) name. */
    const char* args = GetCommandLineA();
    if (*args == '"') {
        const char* close = strchr(args + 1, '"');
        args = close ? close + 1 : args + strlen(args);
    } else {
        while (*args && *args != ' ' && *args != '\t')
            args++;
    }
    while (*args == ' ' || *args == '\t')
        args++;

    char cwd[MAX_PATH];
    DWORD cwdLen = GetCurrentDirectoryA(sizeof cwd, cwd);
    if (cwdLen == 0 || cwdLen >= sizeof cwd)
        strcpy(cwd, "?");

    size_t size = strlen(name) + strlen(args) + strlen(cwd) + 5;
    char* line = malloc(size);
    if (!line)
        return;
    wsprintfA(line, "%s\t%s\t%s\r\n", name, args, cwd);

    /* One write in append mode, so that stand-ins started together do not mix their lines. */
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written;
        WriteFile(file, line, (DWORD)strlen(line), &written, NULL);
        CloseHandle(file);
    }
    free(line);
}

static LRESULT CALLBACK window_proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE: {
        const struct Program* program = &kPrograms[STANDIN_ID];
        HFONT font = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
        HWND text = CreateWindowA("STATIC", program->text, WS_CHILD | WS_VISIBLE, 12, 12, kWidth - 40, 70,
                                  hwnd, NULL, NULL, NULL);
        HWND button =
            CreateWindowA("BUTTON", "Sluiten", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                          kWidth - 120, kHeight - 80, 90, 26, hwnd, (HMENU)kIdClose, NULL, NULL);
        SendMessageA(text, WM_SETFONT, (WPARAM)font, FALSE);
        SendMessageA(button, WM_SETFONT, (WPARAM)font, FALSE);

        char delay[16];
        DWORD n = GetEnvironmentVariableA("STANDIN_CLOSE_AFTER_MS", delay, sizeof delay);
        if (n > 0 && n < sizeof delay)
            SetTimer(hwnd, kTimerClose, (UINT)strtoul(delay, NULL, 10), NULL);
        return 0;
    }
    case WM_TIMER:
        if (wParam == kTimerClose)
            DestroyWindow(hwnd);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == kIdClose || LOWORD(wParam) == IDCANCEL)
            DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR cmdLine, int show) {
    (void)previous;
    (void)cmdLine;
    write_log_line();

    WNDCLASSA wc = {0};
    wc.lpfnWndProc = window_proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = "MarloCdStandIn";
    RegisterClassA(&wc);

    HWND hwnd =
        CreateWindowA(wc.lpszClassName, kPrograms[STANDIN_ID].title,
                      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, kCascade * (STANDIN_ID + 1),
                      kCascade * (STANDIN_ID + 1), kWidth, kHeight, NULL, NULL, instance, NULL);
    if (!hwnd)
        return 1;
    ShowWindow(hwnd, show);
    UpdateWindow(hwnd);

    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        if (!IsDialogMessageA(hwnd, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return (int)msg.wParam;
}
