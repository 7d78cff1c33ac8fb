/* A sample extension library for Velmora, written in C against the public
 * header alone. Copy this folder to start your own.
 *
 * It registers two components, "sample.echo" and "sample.folders". Every
 * "extension-message" the page posts is echoed back unchanged; a message
 * with a "resolve" member naming a placeholder, for example
 *   {"type":"extension-message","resolve":"<documents>"}
 * is also answered with
 *   {"type":"sample-folder","placeholder":"<documents>","path":"C:\\..."}.
 *
 * When a file "Tandrel-calls.txt" exists beside the library, each call the
 * host makes is appended to it, one line per call, and "Unloaded" when the
 * host frees the library. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include <velmora_extension.h>

static IWrapperApp* host;
static WCHAR callLogPath[MAX_PATH];
static const char* const componentIds[] = {"sample.echo", "sample.folders", NULL};

static void Record(const char* call, const char* detail)
{
    if (!callLogPath[0] || GetFileAttributesW(callLogPath) == INVALID_FILE_ATTRIBUTES)
        return;
    FILE* log = _wfopen(callLogPath, L"ab");
    if (!log)
        return;
    fprintf(log, "%s%s%s\n", call, detail ? " " : "", detail ? detail : "");
    fclose(log);
}

/* The text between the quotes after "resolve": in the message, or NULL.
 * Placeholders hold no escapes, so a plain search is enough here. */
static char* FindResolveRequest(const char* message)
{
    const char* key = strstr(message, "\"resolve\"");
    if (!key)
        return NULL;
    const char* start = strchr(key + 9, '"');
    const char* end = start ? strchr(start + 1, '"') : NULL;
    if (!end)
        return NULL;
    size_t length = (size_t)(end - start - 1);
    char* placeholder = (char*)malloc(length + 1);
    memcpy(placeholder, start + 1, length);
    placeholder[length] = 0;
    return placeholder;
}

/* Appends text to out as the inside of a JSON string. */
static char* AppendJsonString(char* out, const char* text)
{
    for (; *text; ++text) {
        unsigned char c = (unsigned char)*text;
        if (c == '"' || c == '\\') {
            *out++ = '\\';
            *out++ = (char)c;
        } else if (c < 0x20) {
            out += sprintf(out, "\\u%04x", c);
        } else {
            *out++ = (char)c;
        }
    }
    return out;
}

static void AnswerResolveRequest(const char* placeholder)
{
    const char* path = host->vtbl->ResolveFolderPlaceholder(host, placeholder);
    /* Escaping at most sextuples each byte. */
    char* reply = (char*)malloc(96 + 6 * (strlen(placeholder) + strlen(path)));
    char* out = reply + sprintf(reply, "{\"type\":\"sample-folder\",\"placeholder\":\"");
    out = AppendJsonString(out, placeholder);
    out += sprintf(out, "\",\"path\":\"");
    out = AppendJsonString(out, path);
    strcpy(out, "\"}");
    host->vtbl->SendMessageToPage(host, reply);
    free(reply);
}

const char* const* Init(const char* appFolder, const char* webResourceFolder, const char* userDataFolder,
    IWrapperApp* app)
{
    (void)webResourceFolder;
    (void)userDataFolder;
    host = app;
    Record("Init", appFolder);
    /* The page does not exist yet: this never reaches it. */
    host->vtbl->SendMessageToPage(host, "{\"type\":\"sample-too-early\"}");
    return componentIds;
}

void OnMainWindowCreated(void* mainWindow)
{
    Record("OnMainWindowCreated", IsWindow((HWND)mainWindow) ? "window" : "no window");
}

void OnExtensionMessage(const char* messageJson)
{
    Record("OnExtensionMessage", messageJson);
    host->vtbl->SendMessageToPage(host, messageJson);
    char* placeholder = FindResolveRequest(messageJson);
    if (!placeholder)
        return;
    AnswerResolveRequest(placeholder);
    free(placeholder);
}

void Release(void)
{
    Record("Release", NULL);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    /* reserved is null when the host frees the library, not at process exit. */
    if (reason == DLL_PROCESS_DETACH && !reserved)
        Record("Unloaded", NULL);
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    DWORD length = GetModuleFileNameW(instance, callLogPath, MAX_PATH);
    WCHAR* slash = wcsrchr(callLogPath, L'\\');
    if (length == 0 || length >= MAX_PATH || !slash || (size_t)(slash - callLogPath) + 19 >= MAX_PATH) {
        callLogPath[0] = 0;
        return TRUE;
    }
    wcscpy(slash + 1, L"Tandrel-calls.txt");
    return TRUE;
}
