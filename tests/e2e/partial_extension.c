/* An extension library without "OnExtensionMessage": the host must never
 * call its "Init" but still call the other two. Each call, and its
 * unloading by the host, is appended to "Tandrel-calls.txt" beside it. */
#include <stdio.h>
#include <windows.h>

#include "bridge/include/velmora_extension.h"

static WCHAR callLogPath[MAX_PATH];

static void Record(const char* call)
{
    FILE* log = _wfopen(callLogPath, L"ab");
    if (!log)
        return;
    fprintf(log, "%s\n", call);
    fclose(log);
}

const char* const* Init(const char* appFolder, const char* webResourceFolder, const char* userDataFolder,
    IWrapperApp* app)
{
    static const char* const ids[] = {"partial.never", NULL};
    (void)appFolder;
    (void)webResourceFolder;
    (void)userDataFolder;
    (void)app;
    Record("Init");
    return ids;
}

void OnMainWindowCreated(void* mainWindow)
{
    (void)mainWindow;
    Record("OnMainWindowCreated");
}

void Release(void)
{
    Record("Release");
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_DETACH && !reserved)
        Record("Unloaded");
    if (reason == DLL_PROCESS_ATTACH) {
        GetModuleFileNameW(instance, callLogPath, MAX_PATH - 20);
        wcscpy(wcsrchr(callLogPath, L'\\') + 1, L"Tandrel-calls.txt");
    }
    return TRUE;
}
