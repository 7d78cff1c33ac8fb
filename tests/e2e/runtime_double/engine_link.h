/* The runtime double's line to the engine bridge: one TCP connection on
 * 127.0.0.1 carrying JSON lines both ways. A line may be followed by raw
 * body bytes, as its "bodyLength" field says. */
#ifndef ENGINE_LINK_H
#define ENGINE_LINK_H

#include <stddef.h>
#include <windows.h>

/* A growable byte buffer; text in it stays NUL-terminated. */
typedef struct Buffer {
    char* bytes;
    size_t length;
    size_t capacity;
} Buffer;

void BufferAppend(Buffer* buffer, const void* bytes, size_t length);
void BufferAppendText(Buffer* buffer, const char* text);
/* The text as a JSON string, quotes included; NULL becomes null. */
void BufferAppendJsonString(Buffer* buffer, const char* utf8);
void BufferFree(Buffer* buffer);

/* Connects and starts a thread that posts each line it receives to the
 * window as `message` with a malloc'd NUL-terminated line in lParam; an
 * ended connection posts lParam 0. */
BOOL EngineConnect(int port, HWND window, UINT message);
/* Sends a line (a newline is added) and then the body bytes, if any. */
void EngineSend(const char* line, const void* body, size_t bodyLength);
BOOL EngineConnected(void);

/* The value of a top-level key of a flat JSON object: strings unescaped to
 * UTF-8, other values as written. FALSE when the key is missing or null. */
BOOL JsonField(const char* json, const char* key, Buffer* value);

#endif
