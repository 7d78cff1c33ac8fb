/* A WebView2Loader.dll for end-to-end runs of the host under Wine, which has
 * no WebView2 runtime. It implements the SDK's COM interfaces that the host
 * calls (everything else answers E_NOTIMPL) and plays a scripted page:
 * "webview2-double-script.txt" beside the DLL lists one step per line, run
 * one by one through the host's message loop after the first navigation.
 * What the host does is written to "webview2-double-log.txt"; the answer to
 * each "request" step is written to "response-<n>.txt" as status line,
 * header lines, an empty line and the body bytes.
 *
 * Steps: window | domcontentloaded | title <text> | fullscreen on|off |
 * message <json> | message-object (a posted non-string value) |
 * request <uri> [<range>] | request-thread <uri> [<range>] (the body is
 * read on a thread of its own only) | request-worker <uri> (a service
 * worker's request) | navigation <uri> | newwindow <uri> | permission |
 * key <virtual key> [down|repeat|up] | minimize | restore | maximize |
 * reactivate (another window of the thread becomes active, then the main
 * window again) | process-failed <COREWEBVIEW2_PROCESS_FAILED_KIND> |
 * busy <seconds> (the renderer hangs: reported unresponsive every 2 s, as
 * the runtime repeats it, also while the host shows a box) | pause
 * <seconds> (then logs the message boxes still open) | environment (the
 * runtime's variables as a program started now would see them) | close
 * (the page's window.close()) | close-box (WM_CLOSE, as the close box sends
 * it) | session-end (WM_QUERYENDSESSION, then WM_ENDSESSION) | minmax
 * (WM_GETMINMAXINFO's answer) | place <left> <top> <right> <bottom> | dpi
 * (the window's DPI awareness) | await-restore (holds the script until the
 * window is no longer minimised, as another start restores it). The
 * window's state when it is first shown is logged ("first shown").
 *
 * Like the runtime, it takes calls only on the thread that created the
 * environment, in a single-threaded apartment; it raises NavigationStarting
 * for the first navigation too; it applies the request filters (pattern and
 * source kinds) before raising WebResourceRequested; it reads each body from
 * position 0 to the end, then once more on another thread, and checks the
 * bytes against Content-Length. It reports a message loop run inside any of
 * its callbacks, and at unload every one of its objects, response streams
 * and handlers that is still referenced: "off-thread calls <n>",
 * "nested message loops <n>" and "leaked runtime objects <n>". Like the
 * runtime, it needs the controller closed while its parent window exists,
 * and the window not destroyed inside a callback: "closing faults <n>"
 * counts a close after the window is gone, a window destroyed inside
 * WindowCloseRequested, and a controller never closed.
 * Directives: #fail-environment | #refuse-bodies (no response with a body
 * can be made) | #old-runtime (no
 * ICoreWebView2Environment14 and no ICoreWebView2_23) |
 * #runtime-after-install (no runtime until "runtime-installed.txt" exists
 * beside the DLL, as the test bootstrapper leaves it) | #engine <port>.
 *
 * With "#engine <port>" a real page plays instead of the steps: the double
 * connects to the engine bridge on 127.0.0.1:<port> at the first navigation
 * and raises the engine's events (requests, DOMContentLoaded, title, full
 * screen, messages, navigations, new windows, close) as they come; the
 * host's answers, posted messages, navigations and visibility go back to it.
 * The bridge may also press the window's close box ("close-box").
 * Requests are answered with the body read from the host's stream on
 * another thread, as the runtime reads it. */
#include <windows.h>
#include <objbase.h>
#include <stdio.h>
#include <string.h>
#include <wchar.h>

#include "WebView2.h"
#include "engine_link.h"

typedef struct Object Object;
typedef void (*Step)(void);

struct Object {
    void* vtbl;
    LONG references;
    Object* nextAlive;
    const IID* const* interfaces;
    const char* name; /* logged when the last reference goes */
    IUnknown* handler;
    BOOL flag;
    int number;
    WCHAR* text;
    WCHAR* text2;
    IUnknown* held;
    IUnknown** items;
    BOOL holdsHostObject; /* held is the host's: a response's body stream */
    int keyKind;          /* a key event's COREWEBVIEW2_KEY_EVENT_KIND */
    BOOL wasKeyDown;
};

static HMODULE self;
static DWORD uiThread;
static int offThreadCalls, nestedLoops, leaks, closingFaults;
static BOOL controllerClosed, scriptStarted;
static int callbackDepth;
static BOOL unloading; /* the double's own last releases are not the host's calls */
static Object* aliveObjects;
static FILE* logFile;
static HWND parentWindow;
static WCHAR folder[MAX_PATH];
static char* scriptLines[256];
static int scriptCount, scriptNext, responseCount;
static WCHAR documentTitle[512] = L"";
static WCHAR pageUri[2048] = L"";
static BOOL containsFullScreenElement;
static RECT controllerBounds;
static Step pending[32];
static int pendingCount;

static IUnknown* environmentCompleted;
static IUnknown* controllerCompleted;
static IUnknown* navigationStarting;
static IUnknown* webResourceRequested;
static IUnknown* permissionRequested;
static IUnknown* webMessageReceived;
static IUnknown* newWindowRequested;
static IUnknown* documentTitleChanged;
static IUnknown* fullScreenChanged;
static IUnknown* windowCloseRequested;
static IUnknown* domContentLoaded;
static IUnknown* acceleratorKeyPressed;
static IUnknown* processFailed;
/* The request filters added, in order: pattern and source kinds. */
static WCHAR filterPatterns[8][512];
static unsigned filterSources[8];
static int filterCount;
static Object* environment;
static Object* controller;
static Object* webView;

/* ---- logging ---- */

static void Log(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    vfprintf(logFile, format, args);
    va_end(args);
    fputc('\n', logFile);
    fflush(logFile);
}

static const char* Utf8(const WCHAR* text)
{
    static char buffers[4][4096];
    static int next;
    char* out = buffers[next++ % 4];
    out[0] = 0;
    if (text)
        WideCharToMultiByte(CP_UTF8, 0, text, -1, out, 4096, NULL, NULL);
    return out;
}

static WCHAR* Wide(const char* text)
{
    int length = MultiByteToWideChar(CP_UTF8, 0, text, -1, NULL, 0);
    WCHAR* out = (WCHAR*)CoTaskMemAlloc(length * sizeof(WCHAR));
    MultiByteToWideChar(CP_UTF8, 0, text, -1, out, length);
    return out;
}

/* The whole text in UTF-8, malloc'd: for what may be longer than a log line. */
static char* Utf8Copy(const WCHAR* text)
{
    int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, NULL, 0, NULL, NULL);
    char* out = (char*)malloc(length > 0 ? length : 1);
    out[0] = 0;
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out, length, NULL, NULL);
    return out;
}

/* Tells the engine bridge, when there is one, of a call of the host's:
 * {"type":<type>} with one string field if a name is given. */
static void TellEngine(const char* type, const char* name, const WCHAR* value)
{
    if (!EngineConnected())
        return;
    Buffer line = {0};
    BufferAppendText(&line, "{\"type\":");
    BufferAppendJsonString(&line, type);
    if (name) {
        char* utf8 = Utf8Copy(value);
        BufferAppendText(&line, ",");
        BufferAppendJsonString(&line, name);
        BufferAppendText(&line, ":");
        BufferAppendJsonString(&line, utf8);
        free(utf8);
    }
    BufferAppendText(&line, "}");
    EngineSend(line.bytes, NULL, 0);
    BufferFree(&line);
}

static WCHAR* CopyWide(const WCHAR* text)
{
    size_t bytes = (wcslen(text) + 1) * sizeof(WCHAR);
    WCHAR* out = (WCHAR*)CoTaskMemAlloc(bytes);
    memcpy(out, text, bytes);
    return out;
}

/* ---- objects ---- */

static HRESULT STDMETHODCALLTYPE NotImplemented(void* This)
{
    (void)This;
    return E_NOTIMPL;
}

static void FillVtbl(void* vtbl, size_t size)
{
    void** slots = (void**)vtbl;
    for (size_t i = 0; i < size / sizeof(void*); ++i)
        slots[i] = (void*)NotImplemented;
}

/* The runtime's objects live in the UI thread's single-threaded apartment. */
static void CheckThread(const char* call)
{
    if (unloading)
        return;
    APTTYPE type = APTTYPE_MTA;
    APTTYPEQUALIFIER qualifier = APTTYPEQUALIFIER_NONE;
    BOOL sta = SUCCEEDED(CoGetApartmentType(&type, &qualifier)) && (type == APTTYPE_STA || type == APTTYPE_MAINSTA);
    if (uiThread && GetCurrentThreadId() == uiThread && sta)
        return;
    ++offThreadCalls;
    Log("off-thread call %s", call);
}

static HRESULT STDMETHODCALLTYPE QueryInterfaceOf(void* This, REFIID id, void** out)
{
    Object* object = (Object*)This;
    CheckThread("QueryInterface");
    if (IsEqualIID(id, &IID_IUnknown)) {
        *out = This;
        object->references++;
        return S_OK;
    }
    for (const IID* const* known = object->interfaces; *known; ++known) {
        if (IsEqualIID(id, *known)) {
            *out = This;
            object->references++;
            return S_OK;
        }
    }
    *out = NULL;
    return E_NOINTERFACE;
}

static ULONG STDMETHODCALLTYPE AddRefOf(void* This)
{
    CheckThread("AddRef");
    return (ULONG)++((Object*)This)->references;
}

static void Drop(IUnknown** slot)
{
    if (*slot)
        (*slot)->lpVtbl->Release(*slot);
    *slot = NULL;
}

/* Lets go of an object of the host's that nothing else should hold. */
static void DropHostObject(IUnknown** slot, const char* what)
{
    if (!*slot)
        return;
    ULONG left = (*slot)->lpVtbl->Release(*slot);
    *slot = NULL;
    if (left != 0) {
        ++leaks;
        Log("leaked %s: %lu references left", what, (unsigned long)left);
    }
}

/* A WebView that goes away lets go of its event handlers, as the runtime's
 * does; they may hold the last references to the environment. */
static void DropWebViewHandlers(void)
{
    IUnknown** slots[] = {&navigationStarting, &webResourceRequested, &permissionRequested, &webMessageReceived,
        &newWindowRequested, &documentTitleChanged, &fullScreenChanged, &windowCloseRequested, &domContentLoaded,
        &acceleratorKeyPressed};
    for (size_t i = 0; i < sizeof slots / sizeof slots[0]; ++i)
        DropHostObject(slots[i], "event handler");
}

static void Forget(Object* object)
{
    for (Object** link = &aliveObjects; *link; link = &(*link)->nextAlive) {
        if (*link == object) {
            *link = object->nextAlive;
            return;
        }
    }
}

static ULONG STDMETHODCALLTYPE ReleaseOf(void* This)
{
    Object* object = (Object*)This;
    CheckThread("Release");
    LONG left = --object->references;
    if (left != 0)
        return (ULONG)left;
    if (object->name)
        Log("released %s", object->name);
    if (object == webView)
        DropWebViewHandlers();
    Forget(object);
    /* What an object holds goes with it: requests their headers, arguments
     * their request and answer, answers their body stream. */
    if (object->holdsHostObject)
        DropHostObject(&object->held, "response stream");
    Drop(&object->held);
    Drop(&object->handler);
    for (int i = 0; object->items && i < object->number; ++i)
        Drop(&object->items[i]);
    return 0;
}

static Object* NewObject(void* vtbl, const IID* const* interfaces, const char* name)
{
    Object* object = (Object*)calloc(1, sizeof(Object));
    object->vtbl = vtbl;
    object->references = 1;
    object->interfaces = interfaces;
    object->name = name;
    object->nextAlive = aliveObjects;
    aliveObjects = object;
    return object;
}

#define COMMON(vt)                                                     \
    do {                                                               \
        FillVtbl(&(vt), sizeof(vt));                                   \
        *(void**)&(vt).QueryInterface = (void*)QueryInterfaceOf;       \
        *(void**)&(vt).AddRef = (void*)AddRefOf;                       \
        *(void**)&(vt).Release = (void*)ReleaseOf;                     \
    } while (0)

static void Keep(IUnknown** slot, void* handler)
{
    *slot = (IUnknown*)handler;
    if (handler)
        (*slot)->lpVtbl->AddRef(*slot);
}

/* ---- the message loop pump ---- */

static void CALLBACK Pump(HWND window, UINT message, UINT_PTR id, DWORD time);

/* A timer that fires only when messages are dispatched: set before the
 * double calls into the host and killed after, it fires only if the host
 * ran a message loop (a message box, a shell dialog) inside the callback. */
static void CALLBACK Probe(HWND window, UINT message, UINT_PTR id, DWORD time)
{
    (void)window;
    (void)message;
    (void)time;
    KillTimer(NULL, id);
    if (callbackDepth > 0) {
        ++nestedLoops;
        Log("nested message loop inside a callback");
    }
}

static UINT_PTR EnterCallback(void)
{
    ++callbackDepth;
    return SetTimer(NULL, 0, 0, Probe);
}

static void DeliverPendingPosts(void);

static void LeaveCallback(UINT_PTR probe)
{
    --callbackDepth;
    KillTimer(NULL, probe);
    if (callbackDepth == 0)
        DeliverPendingPosts();
}

static void Schedule(Step step)
{
    pending[pendingCount++] = step;
    SetTimer(NULL, 0, 20, Pump);
}

static void RunScriptStep(void);

static void CALLBACK Pump(HWND window, UINT message, UINT_PTR id, DWORD time)
{
    (void)window;
    (void)message;
    (void)time;
    KillTimer(NULL, id);
    if (pendingCount == 0)
        return;
    Step step = pending[0];
    memmove(pending, pending + 1, sizeof(Step) * (size_t)--pendingCount);
    step();
}

/* ---- settings ---- */

#define SETTING(name)                                                                \
    static HRESULT STDMETHODCALLTYPE Put##name(ICoreWebView2Settings3* This, BOOL v) \
    {                                                                                \
        (void)This;                                                                  \
        Log("setting " #name " %d", v);                                              \
        return S_OK;                                                                 \
    }
SETTING(IsScriptEnabled)
SETTING(AreHostObjectsAllowed)
SETTING(AreDefaultScriptDialogsEnabled)
SETTING(IsWebMessageEnabled)
SETTING(IsZoomControlEnabled)
SETTING(AreDefaultContextMenusEnabled)
SETTING(AreDevToolsEnabled)
SETTING(AreBrowserAcceleratorKeysEnabled)

static ICoreWebView2Settings3Vtbl settingsVtbl;
static const IID* const settingsInterfaces[] = {
    &IID_ICoreWebView2Settings, &IID_ICoreWebView2Settings2, &IID_ICoreWebView2Settings3, NULL};

/* ---- event arguments ---- */

static HRESULT STDMETHODCALLTYPE GetArgsUri(void* This, LPWSTR* uri)
{
    *uri = CopyWide(((Object*)This)->text);
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE PutArgsFlag(void* This, BOOL value)
{
    ((Object*)This)->flag = value;
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE PutPermissionState(ICoreWebView2PermissionRequestedEventArgs* This,
    COREWEBVIEW2_PERMISSION_STATE state)
{
    ((Object*)This)->number = (int)state;
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE GetProcessFailedKind(ICoreWebView2ProcessFailedEventArgs* This,
    COREWEBVIEW2_PROCESS_FAILED_KIND* kind)
{
    *kind = (COREWEBVIEW2_PROCESS_FAILED_KIND)((Object*)This)->number;
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE GetVirtualKey(ICoreWebView2AcceleratorKeyPressedEventArgs* This, UINT* key)
{
    *key = (UINT)((Object*)This)->number;
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE GetKeyEventKind(ICoreWebView2AcceleratorKeyPressedEventArgs* This,
    COREWEBVIEW2_KEY_EVENT_KIND* kind)
{
    *kind = (COREWEBVIEW2_KEY_EVENT_KIND)((Object*)This)->keyKind;
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE GetPhysicalKeyStatus(ICoreWebView2AcceleratorKeyPressedEventArgs* This,
    COREWEBVIEW2_PHYSICAL_KEY_STATUS* status)
{
    memset(status, 0, sizeof *status);
    status->RepeatCount = 1;
    status->WasKeyDown = ((Object*)This)->wasKeyDown;
    status->IsKeyReleased = ((Object*)This)->keyKind == COREWEBVIEW2_KEY_EVENT_KIND_KEY_UP;
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE TryGetMessageString(ICoreWebView2WebMessageReceivedEventArgs* This, LPWSTR* message)
{
    /* A value posted as a script object is not a string. */
    Object* args = (Object*)This;
    *message = args->text2 ? CopyWide(args->text2) : NULL;
    return args->text2 ? S_OK : E_INVALIDARG;
}

/* The value of a header in "Name: value" lines, matched without case. */
static WCHAR* FindHeader(const WCHAR* lines, LPCWSTR name)
{
    size_t length = wcslen(name);
    for (const WCHAR* line = lines; line && *line;) {
        const WCHAR* end = wcschr(line, L'\n');
        if (_wcsnicmp(line, name, length) == 0 && line[length] == L':') {
            const WCHAR* value = line + length + 1;
            while (*value == L' ')
                ++value;
            size_t size = end ? (size_t)(end - value) : wcslen(value);
            WCHAR* out = (WCHAR*)CoTaskMemAlloc((size + 1) * sizeof(WCHAR));
            memcpy(out, value, size * sizeof(WCHAR));
            out[size] = 0;
            return out;
        }
        line = end ? end + 1 : NULL;
    }
    return NULL;
}

static HRESULT STDMETHODCALLTYPE GetHeader(ICoreWebView2HttpRequestHeaders* This, LPCWSTR name, LPWSTR* value)
{
    *value = FindHeader(((Object*)This)->text, name);
    return *value ? S_OK : E_INVALIDARG;
}

static HRESULT STDMETHODCALLTYPE ContainsHeader(ICoreWebView2HttpRequestHeaders* This, LPCWSTR name, BOOL* present)
{
    WCHAR* value = FindHeader(((Object*)This)->text, name);
    *present = value != NULL;
    CoTaskMemFree(value);
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE GetMethod(ICoreWebView2WebResourceRequest* This, LPWSTR* method)
{
    *method = CopyWide(((Object*)This)->text2 ? ((Object*)This)->text2 : L"GET");
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE GetRequestHeaders(ICoreWebView2WebResourceRequest* This,
    ICoreWebView2HttpRequestHeaders** headers)
{
    Object* request = (Object*)This;
    *headers = (ICoreWebView2HttpRequestHeaders*)request->held;
    request->held->lpVtbl->AddRef(request->held);
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE GetRequest(ICoreWebView2WebResourceRequestedEventArgs* This,
    ICoreWebView2WebResourceRequest** request)
{
    Object* args = (Object*)This;
    *request = (ICoreWebView2WebResourceRequest*)args->held;
    args->held->lpVtbl->AddRef(args->held);
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE PutResponse(ICoreWebView2WebResourceRequestedEventArgs* This,
    ICoreWebView2WebResourceResponse* response)
{
    Object* args = (Object*)This;
    args->handler = (IUnknown*)response;
    response->lpVtbl->AddRef(response);
    return S_OK;
}

static ICoreWebView2NavigationStartingEventArgsVtbl navigationArgsVtbl;
static ICoreWebView2NewWindowRequestedEventArgsVtbl newWindowArgsVtbl;
static ICoreWebView2PermissionRequestedEventArgsVtbl permissionArgsVtbl;
static ICoreWebView2AcceleratorKeyPressedEventArgsVtbl keyArgsVtbl;
static ICoreWebView2WebMessageReceivedEventArgsVtbl messageArgsVtbl;
static ICoreWebView2ProcessFailedEventArgsVtbl processFailedArgsVtbl;
static ICoreWebView2HttpRequestHeadersVtbl headersVtbl;
static ICoreWebView2WebResourceRequestVtbl requestVtbl;
static ICoreWebView2WebResourceRequestedEventArgsVtbl resourceArgsVtbl;
static ICoreWebView2WebResourceResponseVtbl responseVtbl;
static const IID* const noInterfaces[] = {NULL};

/* ---- environment, controller, WebView ---- */

static BOOL HasDirective(const char* directive);

static HRESULT STDMETHODCALLTYPE CreateResponse(ICoreWebView2Environment14* This, IStream* content, int status,
    LPCWSTR reason, LPCWSTR headers, ICoreWebView2WebResourceResponse** response)
{
    (void)This;
    *response = NULL;
    if (content && HasDirective("#refuse-bodies")) {
        Log("response with a body refused");
        return E_OUTOFMEMORY;
    }
    Object* created = NewObject(&responseVtbl, noInterfaces, NULL);
    created->number = status;
    created->text = CopyWide(reason);
    created->text2 = CopyWide(headers);
    CheckThread("CreateWebResourceResponse");
    created->held = (IUnknown*)content;
    created->holdsHostObject = TRUE;
    if (content)
        content->lpVtbl->AddRef(content);
    *response = (ICoreWebView2WebResourceResponse*)created;
    return S_OK;
}

static ICoreWebView2FileSystemHandleVtbl handleVtbl;
static ICoreWebView2ObjectCollectionVtbl collectionVtbl;

static HRESULT STDMETHODCALLTYPE CreateDirectoryHandle(ICoreWebView2Environment14* This, LPCWSTR path,
    COREWEBVIEW2_FILE_SYSTEM_HANDLE_PERMISSION permission, ICoreWebView2FileSystemHandle** value)
{
    (void)This;
    Log("handle request %s permission=%d", Utf8(path), (int)permission);
    Object* handle = NewObject(&handleVtbl, noInterfaces, NULL);
    handle->text = CopyWide(path);
    *value = (ICoreWebView2FileSystemHandle*)handle;
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE CreateCollection(ICoreWebView2Environment14* This, UINT32 length, IUnknown** items,
    ICoreWebView2ObjectCollection** collection)
{
    (void)This;
    Object* created = NewObject(&collectionVtbl, noInterfaces, NULL);
    created->number = (int)length;
    created->items = (IUnknown**)calloc(length ? length : 1, sizeof(IUnknown*));
    for (UINT32 i = 0; i < length; ++i)
        Keep(&created->items[i], items[i]);
    *collection = (ICoreWebView2ObjectCollection*)created;
    return S_OK;
}

/* The runtime keeps no order between its two ways of posting: here a
 * message with objects reaches the page when the callback that posted it
 * has returned, a plain one at once. "page received <json>" is what the
 * page sees, in its order. */
typedef struct PendingPost {
    WCHAR* json;
    Object* collection;
} PendingPost;
static PendingPost pendingPosts[16];
static int pendingPostCount;

static void TellPostWithHandles(LPCWSTR json, Object* collection);

static void DeliverWithHandles(LPCWSTR json, Object* collection)
{
    Log("page received %s", Utf8(json));
    TellPostWithHandles(json, collection);
}

static void DeliverPendingPosts(void)
{
    for (int i = 0; i < pendingPostCount; ++i) {
        DeliverWithHandles(pendingPosts[i].json, pendingPosts[i].collection);
        CoTaskMemFree(pendingPosts[i].json);
        if (pendingPosts[i].collection)
            ReleaseOf(pendingPosts[i].collection);
    }
    pendingPostCount = 0;
}

static HRESULT STDMETHODCALLTYPE PostJson(ICoreWebView2_23* This, LPCWSTR json)
{
    (void)This;
    Log("posted json %s", Utf8(json));
    Log("page received %s", Utf8(json));
    TellEngine("post", "json", json);
    return S_OK;
}

/* {"type":"post","json":..,"handles":[folder path or null, ...]} */
static void TellPostWithHandles(LPCWSTR json, Object* collection)
{
    if (!EngineConnected())
        return;
    Buffer line = {0};
    char* text = Utf8Copy(json);
    BufferAppendText(&line, "{\"type\":\"post\",\"json\":");
    BufferAppendJsonString(&line, text);
    BufferAppendText(&line, ",\"handles\":[");
    for (int i = 0; collection && i < collection->number; ++i) {
        Object* handle = (Object*)collection->items[i];
        char* path = handle ? Utf8Copy(handle->text) : NULL;
        BufferAppendText(&line, i ? "," : "");
        BufferAppendJsonString(&line, path);
        free(path);
    }
    BufferAppendText(&line, "]}");
    EngineSend(line.bytes, NULL, 0);
    free(text);
    BufferFree(&line);
}

static HRESULT STDMETHODCALLTYPE PostJsonWithObjects(ICoreWebView2_23* This, LPCWSTR json,
    ICoreWebView2ObjectCollectionView* objects)
{
    (void)This;
    Object* collection = (Object*)objects;
    Log("posted handles %s objects=%d", Utf8(json), collection ? collection->number : -1);
    for (int i = 0; collection && i < collection->number; ++i) {
        Object* handle = (Object*)collection->items[i];
        Log("handle %d %s", i, handle ? Utf8(handle->text) : "-");
    }
    if (callbackDepth == 0 || pendingPostCount == 16) {
        DeliverWithHandles(json, collection);
        return S_OK;
    }
    pendingPosts[pendingPostCount].json = CopyWide(json);
    pendingPosts[pendingPostCount].collection = collection;
    if (collection)
        collection->references++;
    ++pendingPostCount;
    return S_OK;
}

static void CompleteController(void);

/* The main window's state the moment it is first shown, so that a window
 * meant to start full screen is seen never to show its frame first. */
static HHOOK showHook;

static LRESULT CALLBACK WatchFirstShow(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* call = (const CWPSTRUCT*)lParam;
    if (code == HC_ACTION && call->hwnd == parentWindow && call->message == WM_SHOWWINDOW && call->wParam) {
        RECT frame;
        GetWindowRect(parentWindow, &frame);
        Log("first shown style=%08lx frame=%ld %ld %ld %ld", (unsigned long)GetWindowLongW(parentWindow, GWL_STYLE),
            frame.left, frame.top, frame.right, frame.bottom);
        UnhookWindowsHookEx(showHook);
        showHook = NULL;
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

static HRESULT STDMETHODCALLTYPE CreateController(ICoreWebView2Environment14* This, HWND parent,
    ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler)
{
    (void)This;
    parentWindow = parent;
    Log("create controller parent=%s", parent && IsWindow(parent) ? "main window" : "none");
    if (!IsWindowVisible(parent))
        showHook = SetWindowsHookExW(WH_CALLWNDPROC, WatchFirstShow, NULL, GetCurrentThreadId());
    Keep(&controllerCompleted, handler);
    Schedule(CompleteController);
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE GetCoreWebView2(ICoreWebView2Controller* This, ICoreWebView2** out)
{
    (void)This;
    *out = (ICoreWebView2*)webView;
    webView->references++;
    return S_OK;
}

/* The engine's viewport follows the controller's bounds. */
static void TellBounds(void)
{
    if (!EngineConnected())
        return;
    char text[96];
    snprintf(text, sizeof text, "{\"type\":\"bounds\",\"width\":%ld,\"height\":%ld}",
        controllerBounds.right - controllerBounds.left, controllerBounds.bottom - controllerBounds.top);
    EngineSend(text, NULL, 0);
}

static HRESULT STDMETHODCALLTYPE PutBounds(ICoreWebView2Controller* This, RECT bounds)
{
    (void)This;
    Log("bounds %ld %ld %ld %ld", bounds.left, bounds.top, bounds.right, bounds.bottom);
    controllerBounds = bounds;
    TellBounds();
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE PutIsVisible(ICoreWebView2Controller* This, BOOL visible)
{
    (void)This;
    CheckThread("put_IsVisible");
    Log("controller visible %d window=%d", visible, IsWindowVisible(parentWindow) ? 1 : 0);
    TellEngine("visible", "visible", visible ? L"1" : L"0");
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE CloseController(ICoreWebView2Controller* This)
{
    (void)This;
    CheckThread("Close");
    if (!IsWindow(parentWindow)) {
        ++closingFaults;
        Log("controller closed after its parent window was destroyed");
        return HRESULT_FROM_WIN32(ERROR_INVALID_WINDOW_HANDLE);
    }
    controllerClosed = TRUE;
    Log("controller closed");
    TellEngine("controller-closed", NULL, NULL);
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE PutDefaultBackgroundColor(ICoreWebView2Controller2* This, COREWEBVIEW2_COLOR colour)
{
    (void)This;
    CheckThread("put_DefaultBackgroundColor");
    Log("default background color %02x%02x%02x%02x", colour.A, colour.R, colour.G, colour.B);
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE MoveFocus(ICoreWebView2Controller* This, COREWEBVIEW2_MOVE_FOCUS_REASON reason)
{
    (void)This;
    Log("focus %d", (int)reason);
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE NotifyParentMoved(ICoreWebView2Controller* This)
{
    (void)This;
    return S_OK;
}

#define ADD_HANDLER(function, Interface, slot)                                                      \
    static HRESULT STDMETHODCALLTYPE function(void* This, Interface* handler, EventRegistrationToken* token) \
    {                                                                                               \
        (void)This;                                                                                 \
        if (token)                                                                                  \
            token->value = 1;                                                                       \
        Log("attach " #slot);                                                                       \
        Keep(&slot, handler);                                                                       \
        return S_OK;                                                                                \
    }
ADD_HANDLER(AddAcceleratorKeyPressed, ICoreWebView2AcceleratorKeyPressedEventHandler, acceleratorKeyPressed)
ADD_HANDLER(AddNavigationStarting, ICoreWebView2NavigationStartingEventHandler, navigationStarting)
ADD_HANDLER(AddWebResourceRequested, ICoreWebView2WebResourceRequestedEventHandler, webResourceRequested)
ADD_HANDLER(AddPermissionRequested, ICoreWebView2PermissionRequestedEventHandler, permissionRequested)
ADD_HANDLER(AddWebMessageReceived, ICoreWebView2WebMessageReceivedEventHandler, webMessageReceived)
ADD_HANDLER(AddNewWindowRequested, ICoreWebView2NewWindowRequestedEventHandler, newWindowRequested)
ADD_HANDLER(AddDocumentTitleChanged, ICoreWebView2DocumentTitleChangedEventHandler, documentTitleChanged)
ADD_HANDLER(AddFullScreenChanged, ICoreWebView2ContainsFullScreenElementChangedEventHandler, fullScreenChanged)
ADD_HANDLER(AddWindowCloseRequested, ICoreWebView2WindowCloseRequestedEventHandler, windowCloseRequested)
ADD_HANDLER(AddDomContentLoaded, ICoreWebView2DOMContentLoadedEventHandler, domContentLoaded)
ADD_HANDLER(AddProcessFailed, ICoreWebView2ProcessFailedEventHandler, processFailed)

static HRESULT STDMETHODCALLTYPE GetSettings(ICoreWebView2_23* This, ICoreWebView2Settings** settings)
{
    (void)This;
    *settings = (ICoreWebView2Settings*)NewObject(&settingsVtbl, settingsInterfaces, NULL);
    return S_OK;
}

static void KeepFilter(LPCWSTR uri, unsigned sources)
{
    if (filterCount == 8)
        return;
    wcsncpy(filterPatterns[filterCount], uri, 511);
    filterSources[filterCount++] = sources;
}

/* The old call's filter sees documents' requests only. */
static HRESULT STDMETHODCALLTYPE AddFilter(ICoreWebView2_23* This, LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context)
{
    (void)This;
    CheckThread("AddWebResourceRequestedFilter");
    Log("filter %s context %d", Utf8(uri), (int)context);
    KeepFilter(uri, COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_DOCUMENT);
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE AddFilterWithSources(ICoreWebView2_23* This, LPCWSTR uri,
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT context, COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS sources)
{
    (void)This;
    CheckThread("AddWebResourceRequestedFilterWithRequestSourceKinds");
    Log("filter %s context %d sources %x", Utf8(uri), (int)context, (unsigned)sources);
    KeepFilter(uri, (unsigned)sources);
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE GetSource(ICoreWebView2_23* This, LPWSTR* uri)
{
    (void)This;
    *uri = CopyWide(pageUri);
    return S_OK;
}

static ICoreWebView2NavigationStartingEventArgsVtbl navigationArgsVtbl;
static int EnginePort(void);
static void EngineNavigate(LPCWSTR uri);
static Object* UriArgs(void* vtbl, const char* uri);
static void RaiseWith(IUnknown* handler, void* sender, Object* args);

/* The first navigation raises NavigationStarting too, as every one does. */
static HRESULT STDMETHODCALLTYPE Navigate(ICoreWebView2_23* This, LPCWSTR uri)
{
    (void)This;
    CheckThread("Navigate");
    Log("navigate %s", Utf8(uri));
    Object* args = UriArgs(&navigationArgsVtbl, Utf8(uri));
    args->references++;
    RaiseWith(navigationStarting, webView, args);
    BOOL cancelled = args->flag;
    ReleaseOf(args);
    if (cancelled) {
        Log("navigation %s cancelled=1", Utf8(uri));
        return S_OK;
    }
    wcsncpy(pageUri, uri, 2047);
    if (EnginePort())
        EngineNavigate(uri);
    else if (!scriptStarted)
        Schedule(RunScriptStep);
    scriptStarted = TRUE;
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE Reload(ICoreWebView2_23* This)
{
    (void)This;
    CheckThread("Reload");
    Log("reload %s", Utf8(pageUri));
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE GetDocumentTitle(ICoreWebView2_23* This, LPWSTR* title)
{
    (void)This;
    *title = CopyWide(documentTitle);
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE GetContainsFullScreenElement(ICoreWebView2_23* This, BOOL* contains)
{
    (void)This;
    *contains = containsFullScreenElement;
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE OpenDevTools(ICoreWebView2_23* This)
{
    (void)This;
    Log("devtools opened");
    TellEngine("devtools", NULL, NULL);
    return S_OK;
}

static ICoreWebView2Environment14Vtbl environmentVtbl;
static ICoreWebView2Controller2Vtbl controllerVtbl;
static ICoreWebView2_23Vtbl webViewVtbl;
static const IID* const environmentInterfaces[] = {&IID_ICoreWebView2Environment, &IID_ICoreWebView2Environment14, NULL};
static const IID* const oldEnvironmentInterfaces[] = {&IID_ICoreWebView2Environment, NULL};
static const IID* const controllerInterfaces[] = {&IID_ICoreWebView2Controller, &IID_ICoreWebView2Controller2, NULL};
static const IID* const webViewInterfaces[] = {
    &IID_ICoreWebView2, &IID_ICoreWebView2_2, &IID_ICoreWebView2_22, &IID_ICoreWebView2_23, NULL};
static const IID* const oldWebViewInterfaces[] = {&IID_ICoreWebView2, &IID_ICoreWebView2_2, NULL};

static void SetUpVtbls(void)
{
    COMMON(settingsVtbl);
    settingsVtbl.put_IsScriptEnabled = PutIsScriptEnabled;
    settingsVtbl.put_AreHostObjectsAllowed = PutAreHostObjectsAllowed;
    settingsVtbl.put_AreDefaultScriptDialogsEnabled = PutAreDefaultScriptDialogsEnabled;
    settingsVtbl.put_IsWebMessageEnabled = PutIsWebMessageEnabled;
    settingsVtbl.put_IsZoomControlEnabled = PutIsZoomControlEnabled;
    settingsVtbl.put_AreDefaultContextMenusEnabled = PutAreDefaultContextMenusEnabled;
    settingsVtbl.put_AreDevToolsEnabled = PutAreDevToolsEnabled;
    settingsVtbl.put_AreBrowserAcceleratorKeysEnabled = PutAreBrowserAcceleratorKeysEnabled;

    COMMON(navigationArgsVtbl);
    *(void**)&navigationArgsVtbl.get_Uri = (void*)GetArgsUri;
    *(void**)&navigationArgsVtbl.put_Cancel = (void*)PutArgsFlag;
    COMMON(newWindowArgsVtbl);
    *(void**)&newWindowArgsVtbl.get_Uri = (void*)GetArgsUri;
    *(void**)&newWindowArgsVtbl.put_Handled = (void*)PutArgsFlag;
    COMMON(permissionArgsVtbl);
    permissionArgsVtbl.put_State = PutPermissionState;
    COMMON(keyArgsVtbl);
    keyArgsVtbl.get_VirtualKey = GetVirtualKey;
    keyArgsVtbl.get_KeyEventKind = GetKeyEventKind;
    keyArgsVtbl.get_PhysicalKeyStatus = GetPhysicalKeyStatus;
    *(void**)&keyArgsVtbl.put_Handled = (void*)PutArgsFlag;
    COMMON(processFailedArgsVtbl);
    processFailedArgsVtbl.get_ProcessFailedKind = GetProcessFailedKind;
    COMMON(messageArgsVtbl);
    *(void**)&messageArgsVtbl.get_Source = (void*)GetArgsUri;
    messageArgsVtbl.TryGetWebMessageAsString = TryGetMessageString;
    COMMON(headersVtbl);
    headersVtbl.GetHeader = GetHeader;
    headersVtbl.Contains = ContainsHeader;
    COMMON(requestVtbl);
    *(void**)&requestVtbl.get_Uri = (void*)GetArgsUri;
    requestVtbl.get_Headers = GetRequestHeaders;
    requestVtbl.get_Method = GetMethod;
    COMMON(resourceArgsVtbl);
    resourceArgsVtbl.get_Request = GetRequest;
    resourceArgsVtbl.put_Response = PutResponse;
    COMMON(responseVtbl);

    COMMON(handleVtbl);
    COMMON(collectionVtbl);
    COMMON(environmentVtbl);
    environmentVtbl.CreateCoreWebView2Controller = CreateController;
    environmentVtbl.CreateWebResourceResponse = CreateResponse;
    environmentVtbl.CreateWebFileSystemDirectoryHandle = CreateDirectoryHandle;
    environmentVtbl.CreateObjectCollection = CreateCollection;
    COMMON(controllerVtbl);
    *(void**)&controllerVtbl.get_CoreWebView2 = (void*)GetCoreWebView2;
    *(void**)&controllerVtbl.put_Bounds = (void*)PutBounds;
    *(void**)&controllerVtbl.put_IsVisible = (void*)PutIsVisible;
    *(void**)&controllerVtbl.Close = (void*)CloseController;
    *(void**)&controllerVtbl.MoveFocus = (void*)MoveFocus;
    *(void**)&controllerVtbl.NotifyParentWindowPositionChanged = (void*)NotifyParentMoved;
    controllerVtbl.put_DefaultBackgroundColor = PutDefaultBackgroundColor;
    *(void**)&controllerVtbl.add_AcceleratorKeyPressed = (void*)AddAcceleratorKeyPressed;
    COMMON(webViewVtbl);
    webViewVtbl.get_Settings = GetSettings;
    webViewVtbl.AddWebResourceRequestedFilter = AddFilter;
    webViewVtbl.AddWebResourceRequestedFilterWithRequestSourceKinds = AddFilterWithSources;
    webViewVtbl.get_Source = GetSource;
    webViewVtbl.Navigate = Navigate;
    webViewVtbl.Reload = Reload;
    webViewVtbl.get_DocumentTitle = GetDocumentTitle;
    webViewVtbl.get_ContainsFullScreenElement = GetContainsFullScreenElement;
    webViewVtbl.OpenDevToolsWindow = OpenDevTools;
    webViewVtbl.PostWebMessageAsJson = PostJson;
    webViewVtbl.PostWebMessageAsJsonWithAdditionalObjects = PostJsonWithObjects;
    *(void**)&webViewVtbl.add_NavigationStarting = (void*)AddNavigationStarting;
    *(void**)&webViewVtbl.add_WebResourceRequested = (void*)AddWebResourceRequested;
    *(void**)&webViewVtbl.add_PermissionRequested = (void*)AddPermissionRequested;
    *(void**)&webViewVtbl.add_WebMessageReceived = (void*)AddWebMessageReceived;
    *(void**)&webViewVtbl.add_NewWindowRequested = (void*)AddNewWindowRequested;
    *(void**)&webViewVtbl.add_DocumentTitleChanged = (void*)AddDocumentTitleChanged;
    *(void**)&webViewVtbl.add_ContainsFullScreenElementChanged = (void*)AddFullScreenChanged;
    *(void**)&webViewVtbl.add_WindowCloseRequested = (void*)AddWindowCloseRequested;
    *(void**)&webViewVtbl.add_DOMContentLoaded = (void*)AddDomContentLoaded;
    *(void**)&webViewVtbl.add_ProcessFailed = (void*)AddProcessFailed;
}

/* ---- completions and script steps ---- */

static BOOL HasDirective(const char* directive)
{
    for (int i = 0; i < scriptCount; ++i) {
        if (strcmp(scriptLines[i], directive) == 0)
            return TRUE;
    }
    return FALSE;
}

static void CompleteEnvironment(void)
{
    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler =
        (ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler*)environmentCompleted;
    UINT_PTR probe = EnterCallback();
    if (HasDirective("#fail-environment")) {
        handler->lpVtbl->Invoke(handler, E_FAIL, NULL);
    } else {
        environment = NewObject(&environmentVtbl,
            HasDirective("#old-runtime") ? oldEnvironmentInterfaces : environmentInterfaces, "environment");
        handler->lpVtbl->Invoke(handler, S_OK, (ICoreWebView2Environment*)environment);
        ReleaseOf(environment);
    }
    LeaveCallback(probe);
    DropHostObject(&environmentCompleted, "completion handler");
}

static void CompleteController(void)
{
    ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler =
        (ICoreWebView2CreateCoreWebView2ControllerCompletedHandler*)controllerCompleted;
    controller = NewObject(&controllerVtbl, controllerInterfaces, "controller");
    webView = NewObject(&webViewVtbl, HasDirective("#old-runtime") ? oldWebViewInterfaces : webViewInterfaces, "webview");
    UINT_PTR probe = EnterCallback();
    handler->lpVtbl->Invoke(handler, S_OK, (ICoreWebView2Controller*)controller);
    LeaveCallback(probe);
    ReleaseOf(controller);
    ReleaseOf(webView);
    DropHostObject(&controllerCompleted, "completion handler");
}

/* The host window's frame, client area and monitor, as the log and the
 * engine bridge report them. */
typedef struct WindowPlace {
    RECT frame;
    RECT client;
    RECT monitor;
} WindowPlace;

static WindowPlace PlaceOfWindow(void)
{
    WindowPlace place;
    MONITORINFO info = {0};
    info.cbSize = sizeof(info);
    GetWindowRect(parentWindow, &place.frame);
    GetClientRect(parentWindow, &place.client);
    GetMonitorInfoW(MonitorFromWindow(parentWindow, MONITOR_DEFAULTTONEAREST), &info);
    place.monitor = info.rcMonitor;
    return place;
}

static void LogWindow(void)
{
    WCHAR title[512] = L"";
    GetWindowTextW(parentWindow, title, 512);
    WindowPlace place = PlaceOfWindow();
    Log("window visible=%d title=%s frame=%ld %ld %ld %ld client=%ld %ld monitor=%ld %ld %ld %ld style=%08lx "
        "maximized=%d minimized=%d",
        IsWindowVisible(parentWindow) ? 1 : 0, Utf8(title), place.frame.left, place.frame.top, place.frame.right,
        place.frame.bottom, place.client.right, place.client.bottom, place.monitor.left, place.monitor.top,
        place.monitor.right, place.monitor.bottom,
        (unsigned long)GetWindowLongW(parentWindow, GWL_STYLE), IsZoomed(parentWindow) ? 1 : 0,
        IsIconic(parentWindow) ? 1 : 0);
}

typedef HRESULT(STDMETHODCALLTYPE* Invoke2)(IUnknown* This, IUnknown* sender, IUnknown* args);

static void Raise(IUnknown* handler, void* sender, void* args)
{
    if (!handler)
        return;
    /* Every event handler's Invoke takes (sender, args) after This. */
    Invoke2 invoke = (Invoke2)((void**)handler->lpVtbl)[3];
    UINT_PTR probe = EnterCallback();
    invoke(handler, (IUnknown*)sender, (IUnknown*)args);
    LeaveCallback(probe);
}

/* Raises an event whose arguments the double made, then lets go of them. */
static void RaiseWith(IUnknown* handler, void* sender, Object* args)
{
    if (handler)
        Raise(handler, sender, args);
    ReleaseOf(args);
}

typedef struct BodyCopy {
    IStream* body;
    FILE* out;       /* NULL: not written out */
    Buffer* collect; /* NULL: not kept */
    unsigned long long bytes;
} BodyCopy;

/* From position 0 to the end, as the runtime reads a response body. */
static DWORD WINAPI CopyBody(void* argument)
{
    BodyCopy* copy = (BodyCopy*)argument;
    BOOL ownThread = GetCurrentThreadId() != uiThread;
    if (ownThread)
        CoInitializeEx(NULL, COINIT_MULTITHREADED);
    static char buffer[65536];
    LARGE_INTEGER start = {{0}};
    copy->body->lpVtbl->Seek(copy->body, start, STREAM_SEEK_SET, NULL);
    ULONG got = 0;
    while (SUCCEEDED(copy->body->lpVtbl->Read(copy->body, buffer, sizeof buffer, &got)) && got > 0) {
        if (copy->out)
            fwrite(buffer, 1, got, copy->out);
        if (copy->collect)
            BufferAppend(copy->collect, buffer, got);
        copy->bytes += got;
    }
    if (ownThread)
        CoUninitialize();
    return 0;
}

static void CopyOnThread(BodyCopy* copy)
{
    HANDLE thread = CreateThread(NULL, 0, CopyBody, copy, 0, NULL);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
}

/* The Content-Length header's value, or -1 without one. */
static long long ContentLength(const WCHAR* headers)
{
    const WCHAR* field = headers ? wcsstr(headers, L"Content-Length: ") : NULL;
    return field ? _wtoi64(field + 16) : -1;
}

static void WriteResponse(const char* uri, Object* response, BOOL onlyOnThread)
{
    WCHAR path[MAX_PATH];
    swprintf(path, MAX_PATH, L"%lsresponse-%d.txt", folder, ++responseCount);
    FILE* out = _wfopen(path, L"wb");
    fprintf(out, "%d %s\n%s\n\n", response->number, Utf8(response->text), Utf8(response->text2));
    BodyCopy first = {(IStream*)response->held, out, NULL, 0};
    BodyCopy again = {(IStream*)response->held, NULL, NULL, 0};
    if (first.body && onlyOnThread) {
        CopyOnThread(&first);
    } else if (first.body) {
        CopyBody(&first);
        CopyOnThread(&again);
    }
    fclose(out);
    long long length = ContentLength(response->text2);
    BOOL lengthOk = length < 0 || (unsigned long long)length == first.bytes;
    BOOL againOk = !first.body || onlyOnThread || again.bytes == first.bytes;
    Log("request %s answered response-%d.txt%s%s%s", uri, responseCount,
        onlyOnThread ? " (read on another thread)" : "", lengthOk ? "" : " (Content-Length differs from the body)",
        againOk ? "" : " (a second read differs)");
}

/* Whether a filter admits the URI from this source: a pattern ending in
 * "*" admits every URI it begins. */
static BOOL Filtered(const WCHAR* uri, unsigned source)
{
    for (int i = 0; i < filterCount; ++i) {
        const WCHAR* pattern = filterPatterns[i];
        size_t length = wcslen(pattern);
        BOOL wildcard = length > 0 && pattern[length - 1] == L'*';
        BOOL matches = wildcard ? wcsncmp(uri, pattern, length - 1) == 0 : wcscmp(uri, pattern) == 0;
        if (matches && (filterSources[i] & source))
            return TRUE;
    }
    return FALSE;
}

/* Raises WebResourceRequested for a request the filters admit; returns the
 * answer the host put, with a reference of the caller's, or NULL. */
static Object* RaiseRequest(const char* uri, const char* method, const char* headerLines, unsigned source,
    BOOL* intercepted)
{
    WCHAR* wideUri = Wide(uri);
    *intercepted = webResourceRequested && Filtered(wideUri, source);
    CoTaskMemFree(wideUri);
    if (!*intercepted) {
        Log("request %s not intercepted", uri);
        return NULL;
    }
    Object* headers = NewObject(&headersVtbl, noInterfaces, NULL);
    headers->text = Wide(headerLines);
    Object* request = NewObject(&requestVtbl, noInterfaces, NULL);
    request->text = Wide(uri);
    request->text2 = Wide(method);
    request->held = (IUnknown*)headers;
    Object* args = NewObject(&resourceArgsVtbl, noInterfaces, NULL);
    args->held = (IUnknown*)request;
    Raise(webResourceRequested, webView, args);
    Object* response = (Object*)args->handler;
    if (response)
        response->references++;
    else
        Log("request %s unanswered", uri);
    ReleaseOf(args);
    return response;
}

static void Request(const char* argument, BOOL onThread, unsigned source)
{
    char uri[2048] = "", range[256] = "", lines[300] = "";
    sscanf(argument, "%2047s %255[^\n]", uri, range);
    if (range[0])
        snprintf(lines, sizeof lines, "Range: %s", range);
    BOOL intercepted;
    Object* response = RaiseRequest(uri, "GET", lines, source, &intercepted);
    if (!response)
        return;
    WriteResponse(uri, response, onThread);
    ReleaseOf(response);
}

static Object* UriArgs(void* vtbl, const char* uri)
{
    Object* args = NewObject(vtbl, noInterfaces, NULL);
    args->text = Wide(uri);
    return args;
}

static void Key(const char* argument)
{
    Object* args = NewObject(&keyArgsVtbl, noInterfaces, NULL);
    char kind[16] = "down";
    sscanf(argument, "%d %15s", &args->number, kind);
    args->keyKind = strcmp(kind, "up") == 0 ? COREWEBVIEW2_KEY_EVENT_KIND_KEY_UP : COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN;
    args->wasKeyDown = strcmp(kind, "down") != 0;
    args->references++;
    RaiseWith(acceleratorKeyPressed, controller, args);
    Log("key %d %s handled=%d", args->number, kind, args->flag);
    ReleaseOf(args);
}

static void ShowParent(int command)
{
    ShowWindow(parentWindow, command);
    LogWindow();
}

/* Another window of the thread takes the activation, then gives it back,
 * as Alt+Tab away and back does. */
static void Reactivate(void)
{
    HWND other = CreateWindowExW(0, L"Static", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    SetActiveWindow(other);
    Log("reactivate: away, focus in main window=%d", GetFocus() == parentWindow ? 1 : 0);
    SetActiveWindow(parentWindow);
    DestroyWindow(other);
    Log("reactivate: back, active=%d", GetActiveWindow() == parentWindow ? 1 : 0);
}

static void ProcessFailed(const char* argument)
{
    Object* args = NewObject(&processFailedArgsVtbl, noInterfaces, NULL);
    args->number = atoi(argument);
    Log("process failed kind=%d", args->number);
    RaiseWith(processFailed, webView, args);
}

/* The variables the host sets for the runtime, as a program the host
 * starts would inherit them: they are the process environment's. */
static void LogRuntimeVariables(const char* when)
{
    WCHAR hostingMode[128];
    if (GetEnvironmentVariableW(L"COREWEBVIEW2_FORCED_HOSTING_MODE", hostingMode, 128) == 0)
        wcscpy(hostingMode, L"(unset)");
    Log("%shosting mode variable=%s", when, Utf8(hostingMode));
    WCHAR background[64];
    if (GetEnvironmentVariableW(L"WEBVIEW2_DEFAULT_BACKGROUND_COLOR", background, 64) == 0)
        wcscpy(background, L"(unset)");
    Log("%sbackground color variable=%s", when, Utf8(background));
}

static DWORD busySince, busyReported;
static int busyReports;

static void Busy(const char* argument)
{
    DWORD now = GetTickCount();
    if (busySince == 0) {
        busySince = now;
        busyReported = now - 2000;
        busyReports = 0;
    }
    if (now - busyReported >= 2000) {
        busyReported = now;
        ++busyReports;
        Object* args = NewObject(&processFailedArgsVtbl, noInterfaces, NULL);
        args->number = COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_UNRESPONSIVE;
        RaiseWith(processFailed, webView, args);
    }
    if (now - busySince < (DWORD)atoi(argument) * 1000) {
        --scriptNext;
        return;
    }
    Log("busy %s s: %d unresponsive reports", argument, busyReports);
    busySince = 0;
}

static BOOL CALLBACK CountBox(HWND window, LPARAM count)
{
    WCHAR className[8] = L"";
    GetClassNameW(window, className, 8);
    if (wcscmp(className, L"#32770") == 0 && IsWindowVisible(window))
        ++*(int*)count;
    return TRUE;
}

static DWORD pauseSince;

static void Pause(const char* argument)
{
    DWORD now = GetTickCount();
    if (pauseSince == 0)
        pauseSince = now;
    if (now - pauseSince < (DWORD)atoi(argument) * 1000) {
        --scriptNext;
        return;
    }
    pauseSince = 0;
    int boxes = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountBox, (LPARAM)&boxes);
    Log("pause %s s: boxes open=%d", argument, boxes);
}

/* The window procedure's answers as the system asks for them. */
static void MinMax(void)
{
    MINMAXINFO info = {0};
    SendMessageW(parentWindow, WM_GETMINMAXINFO, 0, (LPARAM)&info);
    Log("minmax min=%ld %ld", info.ptMinTrackSize.x, info.ptMinTrackSize.y);
}

static void EndSession(void)
{
    DWORD start = GetTickCount();
    LRESULT may = SendMessageW(parentWindow, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP);
    SendMessageW(parentWindow, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP);
    Log("session end: may end=%d, answered after %lu ms", (int)may, (unsigned long)(GetTickCount() - start));
}

static void Place(const char* argument)
{
    int left = 0, top = 0, right = 0, bottom = 0;
    sscanf(argument, "%d %d %d %d", &left, &top, &right, &bottom);
    SetWindowPos(parentWindow, NULL, left, top, right - left, bottom - top, SWP_NOZORDER | SWP_NOACTIVATE);
    LogWindow();
}

/* A step that holds the script until its condition holds: it runs again
 * at the next pump (20 ms) until then, or until it gives up. */
static int heldSteps;

static BOOL HoldStep(BOOL done, const char* what)
{
    if (done || ++heldSteps > 1000) {
        if (!done)
            Log("%s: gave up after 20 s", what);
        heldSteps = 0;
        return FALSE;
    }
    --scriptNext;
    return TRUE;
}

static void Dpi(void)
{
    typedef DPI_AWARENESS_CONTEXT(WINAPI * GetContext)(HWND);
    typedef DPI_AWARENESS(WINAPI * GetAwareness)(DPI_AWARENESS_CONTEXT);
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    GetContext getContext = (GetContext)(void*)GetProcAddress(user32, "GetWindowDpiAwarenessContext");
    GetAwareness getAwareness = (GetAwareness)(void*)GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext");
    int awareness = getContext && getAwareness ? (int)getAwareness(getContext(parentWindow)) : -1;
    Log("dpi awareness=%d", awareness);
}

static void RunStep(const char* command, const char* argument)
{
    if (strcmp(command, "window") == 0) {
        LogWindow();
    } else if (strcmp(command, "domcontentloaded") == 0) {
        Log("domcontentloaded");
        Raise(domContentLoaded, webView, NULL);
    } else if (strcmp(command, "title") == 0) {
        MultiByteToWideChar(CP_UTF8, 0, argument, -1, documentTitle, 512);
        Raise(documentTitleChanged, webView, NULL);
    } else if (strcmp(command, "fullscreen") == 0) {
        containsFullScreenElement = strcmp(argument, "on") == 0;
        Raise(fullScreenChanged, webView, NULL);
    } else if (strcmp(command, "message") == 0) {
        Object* args = UriArgs(&messageArgsVtbl, Utf8(pageUri));
        args->text2 = Wide(argument);
        RaiseWith(webMessageReceived, webView, args);
    } else if (strcmp(command, "message-object") == 0) {
        RaiseWith(webMessageReceived, webView, UriArgs(&messageArgsVtbl, Utf8(pageUri)));
    } else if (strcmp(command, "request") == 0) {
        Request(argument, FALSE, COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_DOCUMENT);
    } else if (strcmp(command, "request-thread") == 0) {
        Request(argument, TRUE, COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_DOCUMENT);
    } else if (strcmp(command, "request-worker") == 0) {
        Request(argument, FALSE, COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_SERVICE_WORKER);
    } else if (strcmp(command, "navigation") == 0) {
        Object* args = UriArgs(&navigationArgsVtbl, argument);
        args->references++;
        RaiseWith(navigationStarting, webView, args);
        Log("navigation %s cancelled=%d", argument, args->flag);
        ReleaseOf(args);
    } else if (strcmp(command, "newwindow") == 0) {
        Object* args = UriArgs(&newWindowArgsVtbl, argument);
        args->references++;
        RaiseWith(newWindowRequested, webView, args);
        Log("newwindow %s handled=%d", argument, args->flag);
        ReleaseOf(args);
    } else if (strcmp(command, "permission") == 0) {
        Object* args = NewObject(&permissionArgsVtbl, noInterfaces, NULL);
        args->references++;
        RaiseWith(permissionRequested, webView, args);
        Log("permission state=%d", args->number);
        ReleaseOf(args);
    } else if (strcmp(command, "key") == 0) {
        Key(argument);
    } else if (strcmp(command, "minimize") == 0) {
        ShowParent(SW_MINIMIZE);
    } else if (strcmp(command, "restore") == 0) {
        ShowParent(SW_RESTORE);
    } else if (strcmp(command, "maximize") == 0) {
        ShowParent(SW_MAXIMIZE);
    } else if (strcmp(command, "reactivate") == 0) {
        Reactivate();
    } else if (strcmp(command, "process-failed") == 0) {
        ProcessFailed(argument);
    } else if (strcmp(command, "environment") == 0) {
        LogRuntimeVariables("later: ");
    } else if (strcmp(command, "busy") == 0) {
        Busy(argument);
    } else if (strcmp(command, "pause") == 0) {
        Pause(argument);
    } else if (strcmp(command, "close-box") == 0) {
        SendMessageW(parentWindow, WM_CLOSE, 0, 0);
        Log("close-box: window %s", IsWindow(parentWindow) ? "stays" : "destroyed");
    } else if (strcmp(command, "minmax") == 0) {
        MinMax();
    } else if (strcmp(command, "session-end") == 0) {
        EndSession();
    } else if (strcmp(command, "place") == 0) {
        Place(argument);
    } else if (strcmp(command, "dpi") == 0) {
        Dpi();
    } else if (strcmp(command, "await-restore") == 0) {
        if (!HoldStep(!IsIconic(parentWindow), "await-restore"))
            Log("restored: minimized=%d foreground=%d", IsIconic(parentWindow) ? 1 : 0,
                GetForegroundWindow() == parentWindow ? 1 : 0);
    } else if (strcmp(command, "close") == 0) {
        Raise(windowCloseRequested, webView, NULL);
        if (!IsWindow(parentWindow)) {
            ++closingFaults;
            Log("window destroyed inside WindowCloseRequested");
        }
    }
}

static void RunScriptStep(void)
{
    while (scriptNext < scriptCount && scriptLines[scriptNext][0] == '#')
        ++scriptNext;
    if (scriptNext >= scriptCount)
        return;
    char* line = scriptLines[scriptNext++];
    char command[64] = "";
    const char* space = strchr(line, ' ');
    size_t length = space ? (size_t)(space - line) : strlen(line);
    memcpy(command, line, length < 63 ? length : 63);
    Schedule(RunScriptStep);
    RunStep(command, space ? space + 1 : "");
}

/* ---- the engine mode: a real page through the engine bridge ---- */

#define ENGINE_LINE (WM_APP + 1)

/* The port of an "#engine <port>" directive, or 0 for a scripted page. */
static int EnginePort(void)
{
    for (int i = 0; i < scriptCount; ++i) {
        if (strncmp(scriptLines[i], "#engine ", 8) == 0)
            return atoi(scriptLines[i] + 8);
    }
    return 0;
}

static BOOL FieldIs(const char* line, const char* key, const char* expected)
{
    Buffer value = {0};
    BOOL same = JsonField(line, key, &value) && strcmp(value.bytes, expected) == 0;
    BufferFree(&value);
    return same;
}

/* A field's text, malloc'd; "" when the field is missing. */
static char* FieldText(const char* line, const char* key)
{
    Buffer value = {0};
    if (!JsonField(line, key, &value) || !value.bytes)
        BufferAppendText(&value, "");
    return value.bytes;
}

static void SendLine(Buffer* line, const void* body, size_t bodyLength)
{
    EngineSend(line->bytes, body, bodyLength);
    BufferFree(line);
}

/* Answers the bridge with the host's response: the status, reason and
 * header lines, then the body as read from the host's stream on another
 * thread, from position 0 to the end. */
static void EngineRequest(const char* line)
{
    char* id = FieldText(line, "id");
    char* uri = FieldText(line, "uri");
    char* method = FieldText(line, "method");
    char* headers = FieldText(line, "headers");
    /* The runtime counts a dedicated worker's requests as its document's. */
    unsigned source = COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_DOCUMENT;
    if (FieldIs(line, "kind", "service-worker"))
        source = COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_SERVICE_WORKER;
    else if (FieldIs(line, "kind", "shared-worker"))
        source = COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_SHARED_WORKER;
    BOOL intercepted;
    Object* response = RaiseRequest(uri, method[0] ? method : "GET", headers, source, &intercepted);
    Buffer out = {0};
    BufferAppendText(&out, "{\"type\":\"response\",\"id\":");
    BufferAppendText(&out, id);
    if (!response) {
        BufferAppendText(&out, intercepted ? ",\"intercepted\":true,\"answered\":false}" : ",\"intercepted\":false}");
        SendLine(&out, NULL, 0);
    } else {
        Buffer body = {0};
        BodyCopy copy = {(IStream*)response->held, NULL, &body, 0};
        if (copy.body)
            CopyOnThread(&copy);
        char* reason = Utf8Copy(response->text);
        char* lines = Utf8Copy(response->text2);
        char number[64];
        BufferAppendText(&out, ",\"intercepted\":true,\"answered\":true,\"status\":");
        snprintf(number, sizeof number, "%d", response->number);
        BufferAppendText(&out, number);
        BufferAppendText(&out, ",\"reason\":");
        BufferAppendJsonString(&out, reason);
        BufferAppendText(&out, ",\"headers\":");
        BufferAppendJsonString(&out, lines);
        snprintf(number, sizeof number, ",\"stream\":%s,\"bodyLength\":%llu}", copy.body ? "true" : "false",
            (unsigned long long)body.length);
        BufferAppendText(&out, number);
        Log("request %s answered %d with %llu bytes", uri, response->number, (unsigned long long)body.length);
        SendLine(&out, body.bytes, body.length);
        BufferFree(&body);
        free(reason);
        free(lines);
        ReleaseOf(response);
    }
    free(id);
    free(uri);
    free(method);
    free(headers);
}

/* The host's window after it heard of a full-screen change. */
static void EngineWindowReport(void)
{
    WindowPlace place = PlaceOfWindow();
    char text[256];
    snprintf(text, sizeof text,
        "{\"type\":\"window\",\"frame\":[%ld,%ld,%ld,%ld],\"client\":[%ld,%ld],\"monitor\":[%ld,%ld,%ld,%ld]}",
        place.frame.left, place.frame.top, place.frame.right, place.frame.bottom, place.client.right,
        place.client.bottom, place.monitor.left, place.monitor.top, place.monitor.right, place.monitor.bottom);
    EngineSend(text, NULL, 0);
}

/* NavigationStarting or NewWindowRequested for the engine, which waits for
 * the flag the host set (cancel or handled) to go on. */
static void EngineUriEvent(const char* line, void* vtbl, IUnknown* handler, const char* answer, const char* flag)
{
    char* id = FieldText(line, "id");
    char* uri = FieldText(line, "uri");
    Object* args = UriArgs(vtbl, uri);
    args->references++;
    RaiseWith(handler, webView, args);
    Log("%s %s %s=%d", answer, uri, flag, args->flag);
    char text[128];
    snprintf(text, sizeof text, "{\"type\":\"%s\",\"id\":%s,\"%s\":%s}", answer, id, flag, args->flag ? "true" : "false");
    EngineSend(text, NULL, 0);
    ReleaseOf(args);
    free(id);
    free(uri);
}

static void EngineStep(const char* line)
{
    char* type = FieldText(line, "type");
    if (strcmp(type, "request") != 0)
        Log("engine %s", type);
    if (strcmp(type, "request") == 0) {
        EngineRequest(line);
    } else if (strcmp(type, "domcontentloaded") == 0) {
        Raise(domContentLoaded, webView, NULL);
    } else if (strcmp(type, "title") == 0) {
        char* title = FieldText(line, "title");
        MultiByteToWideChar(CP_UTF8, 0, title, -1, documentTitle, 512);
        free(title);
        Raise(documentTitleChanged, webView, NULL);
    } else if (strcmp(type, "fullscreen") == 0) {
        containsFullScreenElement = FieldIs(line, "on", "true");
        Raise(fullScreenChanged, webView, NULL);
        LogWindow();
        EngineWindowReport();
    } else if (strcmp(type, "message") == 0) {
        Buffer text = {0};
        Object* args = UriArgs(&messageArgsVtbl, Utf8(pageUri));
        if (JsonField(line, "text", &text))
            args->text2 = Wide(text.bytes ? text.bytes : "");
        BufferFree(&text);
        RaiseWith(webMessageReceived, webView, args);
    } else if (strcmp(type, "navigation") == 0) {
        EngineUriEvent(line, &navigationArgsVtbl, navigationStarting, "navigation-result", "cancel");
    } else if (strcmp(type, "newwindow") == 0) {
        EngineUriEvent(line, &newWindowArgsVtbl, newWindowRequested, "newwindow-result", "handled");
    } else if (strcmp(type, "close") == 0) {
        Raise(windowCloseRequested, webView, NULL);
    } else if (strcmp(type, "close-box") == 0) {
        PostMessageW(parentWindow, WM_CLOSE, 0, 0);
    }
    free(type);
}

/* Lines from the bridge arrive here, on the UI thread, through the host's
 * own message loop. */
static LRESULT CALLBACK EngineWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != ENGINE_LINE)
        return DefWindowProcW(window, message, wParam, lParam);
    char* line = (char*)lParam;
    if (!line) {
        Log("engine connection ended");
        return 0;
    }
    EngineStep(line);
    free(line);
    return 0;
}

static void EngineNavigate(LPCWSTR uri)
{
    if (!EngineConnected()) {
        WNDCLASSW windowClass = {0};
        windowClass.lpfnWndProc = EngineWindowProc;
        windowClass.hInstance = self;
        windowClass.lpszClassName = L"WebView2DoubleEngine";
        RegisterClassW(&windowClass);
        HWND window = CreateWindowW(windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, self, NULL);
        if (!EngineConnect(EnginePort(), window, ENGINE_LINE)) {
            Log("engine bridge not reachable on port %d", EnginePort());
            return;
        }
        Log("engine connected");
        TellBounds();
    }
    TellEngine("navigate", "uri", uri);
}

/* ---- the loader's exports ---- */

HRESULT STDAPICALLTYPE DoubleGetVersion(PCWSTR browserFolder, LPWSTR* version)
{
    Log("version query folder=%s", browserFolder ? Utf8(browserFolder) : "(none)");
    *version = NULL;
    if (HasDirective("#runtime-after-install")) {
        WCHAR marker[MAX_PATH];
        swprintf(marker, MAX_PATH, L"%lsruntime-installed.txt", folder);
        if (GetFileAttributesW(marker) == INVALID_FILE_ATTRIBUTES)
            return S_OK;
    }
    if (browserFolder) {
        DWORD attributes = GetFileAttributesW(browserFolder);
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    }
    *version = CopyWide(L"134.0.3124.44");
    return S_OK;
}

HRESULT STDAPICALLTYPE DoubleCreateEnvironment(PCWSTR browserFolder, PCWSTR userDataFolder,
    ICoreWebView2EnvironmentOptions* options, ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler)
{
    LPWSTR arguments = NULL, target = NULL;
    void* options8 = NULL;
    options->lpVtbl->get_AdditionalBrowserArguments(options, &arguments);
    options->lpVtbl->get_TargetCompatibleBrowserVersion(options, &target);
    options->lpVtbl->QueryInterface(options, &IID_ICoreWebView2EnvironmentOptions8, &options8);
    uiThread = GetCurrentThreadId();
    CheckThread("CreateCoreWebView2EnvironmentWithOptions");
    Log("create environment folder=%s userdata=%s arguments=%s target=%s options8=%s",
        browserFolder ? Utf8(browserFolder) : "(none)", Utf8(userDataFolder), Utf8(arguments), Utf8(target),
        options8 ? "yes" : "no");
    CoTaskMemFree(arguments);
    CoTaskMemFree(target);
    if (options8)
        ((IUnknown*)options8)->lpVtbl->Release((IUnknown*)options8);
    LogRuntimeVariables("");
    Keep(&environmentCompleted, handler);
    Schedule(CompleteEnvironment);
    return S_OK;
}

/* Whatever of the double's is still referenced when it goes. */
static void ReportAtUnload(void)
{
    /* A creation still pending when the host ends is abandoned, as the
     * runtime abandons it: its completion handler is let go unheard. */
    unloading = TRUE;
    Drop(&environmentCompleted);
    Drop(&controllerCompleted);
    for (Object* object = aliveObjects; object; object = object->nextAlive) {
        ++leaks;
        Log("leaked %s object: %ld references left", object->name ? object->name : "runtime",
            (long)object->references);
    }
    if (controller && !controllerClosed) {
        ++closingFaults;
        Log("controller never closed");
    }
    Log("off-thread calls %d", offThreadCalls);
    Log("nested message loops %d", nestedLoops);
    Log("leaked runtime objects %d", leaks);
    Log("closing faults %d", closingFaults);
}

static void ReadScript(void)
{
    WCHAR path[MAX_PATH];
    char line[4096];
    swprintf(path, MAX_PATH, L"%lswebview2-double-script.txt", folder);
    FILE* script = _wfopen(path, L"rb");
    if (!script)
        return;
    while (scriptCount < 256 && fgets(line, sizeof line, script)) {
        line[strcspn(line, "\r\n")] = 0;
        if (line[0])
            scriptLines[scriptCount++] = _strdup(line);
    }
    fclose(script);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)reserved;
    if (reason == DLL_PROCESS_DETACH) {
        ReportAtUnload();
        return TRUE;
    }
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    self = instance;
    GetModuleFileNameW(self, folder, MAX_PATH);
    *(wcsrchr(folder, L'\\') + 1) = 0;
    WCHAR path[MAX_PATH];
    swprintf(path, MAX_PATH, L"%lswebview2-double-log.txt", folder);
    logFile = _wfopen(path, L"ab");
    ReadScript();
    SetUpVtbls();
    return TRUE;
}
