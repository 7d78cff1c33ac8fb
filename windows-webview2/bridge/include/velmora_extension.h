/* The extension library's side of the host, for extension authors.
 *
 * Velmora loads "Tandrel.dll" from its own folder at start-up and calls the
 * four functions declared below, exported under exactly these names. "Init"
 * is called only when all four are exported; each of the others is called
 * whenever it is exported. The order of a run is: Init, OnMainWindowCreated,
 * any number of OnExtensionMessage, Release; then the library is unloaded.
 *
 * Threads: every call into the library, and every call it makes through
 * IWrapperApp, happens on the host's UI thread. Work done on other threads
 * must be handed back to that thread (for example by posting a window
 * message to the main window) before it calls IWrapperApp.
 *
 * Strings are NUL-terminated UTF-8.
 * - The three folders given to Init are owned by the host and stay valid
 *   until after Release returns.
 * - The list Init returns (component identifiers, ended by a null pointer,
 *   or a null list for none) stays owned by the library; the host copies it
 *   before Init's caller goes on, so it may be freed or reused afterwards.
 * - The message given to OnExtensionMessage is the page's JSON text exactly
 *   as it was posted; it is valid only during that call.
 * - SendMessageToPage copies the JSON text before it returns. Before the
 *   page exists (during Init and OnMainWindowCreated) the text is dropped.
 * - ResolveFolderPlaceholder returns a path owned by the host, empty for an
 *   unknown placeholder and before the page's first "wrapper-init". It
 *   stays valid until the page's next "wrapper-init"; copy it to keep it.
 *
 * The layout is the same for C and C++: IWrapperApp is an object whose
 * first member points to a table of the two functions, each taking the
 * object first. That is the 64-bit Windows calling convention for both, so
 * extensions may also be written in Rust, Zig or anything that can export
 * C functions. The host is a 64-bit program; so must the library be. */
#ifndef VELMORA_EXTENSION_H
#define VELMORA_EXTENSION_H

#if defined(_WIN32) && !defined(_WIN64)
#error "Velmora extension libraries are 64-bit"
#endif

#ifdef __cplusplus
#define VELMORA_EXTERN_C extern "C"
#else
#define VELMORA_EXTERN_C
#endif

#if defined(_WIN32)
#define VELMORA_EXTENSION_EXPORT VELMORA_EXTERN_C __declspec(dllexport)
#else
#define VELMORA_EXTENSION_EXPORT VELMORA_EXTERN_C __attribute__((visibility("default")))
#endif

#ifdef __cplusplus

/* The host, as the library sees it. The host owns it; never delete it. */
class IWrapperApp {
public:
    /* Posts the JSON text to the page, which receives it parsed as the data
     * of a web message. */
    virtual void SendMessageToPage(const char* json) = 0;
    /* The folder behind a placeholder such as "<documents>". */
    virtual const char* ResolveFolderPlaceholder(const char* placeholder) = 0;

protected:
    ~IWrapperApp() = default;
};

#else

typedef struct IWrapperApp IWrapperApp;

typedef struct IWrapperAppVtbl {
    void (*SendMessageToPage)(IWrapperApp* self, const char* json);
    const char* (*ResolveFolderPlaceholder)(IWrapperApp* self, const char* placeholder);
} IWrapperAppVtbl;

struct IWrapperApp {
    const IWrapperAppVtbl* vtbl;
};

#endif

/* The main window's handle. In C++ on Windows it is the type HWND has
 * (under STRICT, the default), so that OnMainWindowCreated may be defined
 * as taking an HWND with <windows.h> included; in C it is void*, which an
 * HWND converts to and from without a cast. */
#if defined(__cplusplus) && defined(_WIN32) && !defined(NO_STRICT)
struct HWND__;
typedef HWND__* VelmoraWindow;
#else
typedef void* VelmoraWindow;
#endif

/* The entry points, as the host calls them. */
typedef const char* const* (*VelmoraInitFunction)(const char* appFolder, const char* webResourceFolder,
    const char* userDataFolder, IWrapperApp* app);
/* mainWindow is the main window's HWND, still hidden. */
typedef void (*VelmoraMainWindowCreatedFunction)(VelmoraWindow mainWindow);
typedef void (*VelmoraExtensionMessageFunction)(const char* messageJson);
typedef void (*VelmoraReleaseFunction)(void);

/* appFolder is the host's folder and ends with a backslash; webResourceFolder
 * is the relative "www\" below it; userDataFolder is the app's own folder
 * under the local application data. Returns the component identifiers that
 * the page receives as "registeredComponentIds". */
VELMORA_EXTENSION_EXPORT const char* const* Init(const char* appFolder, const char* webResourceFolder,
    const char* userDataFolder, IWrapperApp* app);
VELMORA_EXTENSION_EXPORT void OnMainWindowCreated(VelmoraWindow mainWindow);
/* Every "extension-message" the page posts. */
VELMORA_EXTENSION_EXPORT void OnExtensionMessage(const char* messageJson);
/* After the main window has closed; the page still exists. */
VELMORA_EXTENSION_EXPORT void Release(void);

#endif
