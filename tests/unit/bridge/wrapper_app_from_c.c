/* Calls the host's IWrapperApp the way an extension written in C does. */
#include "bridge/include/velmora_extension.h"

void SendFromC(IWrapperApp* app, const char* json)
{
    app->vtbl->SendMessageToPage(app, json);
}

const char* ResolveFromC(IWrapperApp* app, const char* placeholder)
{
    return app->vtbl->ResolveFolderPlaceholder(app, placeholder);
}
