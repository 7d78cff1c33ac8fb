#include <winsock2.h>

#include "engine_link.h"
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static SOCKET engine = INVALID_SOCKET;
static CRITICAL_SECTION sending;
static HWND lineWindow;
static UINT lineMessage;

void BufferAppend(Buffer* buffer, const void* bytes, size_t length)
{
    if (buffer->length + length + 1 > buffer->capacity) {
        size_t capacity = buffer->capacity ? buffer->capacity : 256;
        while (capacity < buffer->length + length + 1)
            capacity *= 2;
        buffer->bytes = (char*)realloc(buffer->bytes, capacity);
        buffer->capacity = capacity;
    }
    memcpy(buffer->bytes + buffer->length, bytes, length);
    buffer->length += length;
    buffer->bytes[buffer->length] = 0;
}

void BufferAppendText(Buffer* buffer, const char* text)
{
    BufferAppend(buffer, text, strlen(text));
}

void BufferAppendJsonString(Buffer* buffer, const char* utf8)
{
    if (!utf8) {
        BufferAppendText(buffer, "null");
        return;
    }
    BufferAppendText(buffer, "\"");
    for (const unsigned char* c = (const unsigned char*)utf8; *c; ++c) {
        char escaped[8];
        if (*c == '"' || *c == '\\') {
            escaped[0] = '\\';
            escaped[1] = (char)*c;
            BufferAppend(buffer, escaped, 2);
        } else if (*c < 0x20) {
            snprintf(escaped, sizeof escaped, "\\u%04x", *c);
            BufferAppendText(buffer, escaped);
        } else {
            BufferAppend(buffer, c, 1);
        }
    }
    BufferAppendText(buffer, "\"");
}

void BufferFree(Buffer* buffer)
{
    free(buffer->bytes);
    memset(buffer, 0, sizeof *buffer);
}

static DWORD WINAPI ReadLines(void* unused)
{
    (void)unused;
    Buffer pending = {0};
    char chunk[4096];
    int got;
    while ((got = recv(engine, chunk, sizeof chunk, 0)) > 0) {
        BufferAppend(&pending, chunk, (size_t)got);
        char* end;
        while ((end = memchr(pending.bytes, '\n', pending.length)) != NULL) {
            size_t length = (size_t)(end - pending.bytes);
            char* line = (char*)malloc(length + 1);
            memcpy(line, pending.bytes, length);
            line[length] = 0;
            PostMessageW(lineWindow, lineMessage, 0, (LPARAM)line);
            pending.length -= length + 1;
            memmove(pending.bytes, end + 1, pending.length);
        }
    }
    BufferFree(&pending);
    PostMessageW(lineWindow, lineMessage, 0, 0);
    return 0;
}

BOOL EngineConnect(int port, HWND window, UINT message)
{
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return FALSE;
    engine = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    struct sockaddr_in address = {0};
    address.sin_family = AF_INET;
    address.sin_port = htons((u_short)port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (engine == INVALID_SOCKET || connect(engine, (struct sockaddr*)&address, sizeof address) != 0) {
        closesocket(engine);
        engine = INVALID_SOCKET;
        return FALSE;
    }
    InitializeCriticalSection(&sending);
    lineWindow = window;
    lineMessage = message;
    CloseHandle(CreateThread(NULL, 0, ReadLines, NULL, 0, NULL));
    return TRUE;
}

BOOL EngineConnected(void)
{
    return engine != INVALID_SOCKET;
}

static void SendAll(const char* bytes, size_t length)
{
    while (length > 0) {
        int sent = send(engine, bytes, length > 65536 ? 65536 : (int)length, 0);
        if (sent <= 0)
            return;
        bytes += sent;
        length -= (size_t)sent;
    }
}

void EngineSend(const char* line, const void* body, size_t bodyLength)
{
    if (engine == INVALID_SOCKET)
        return;
    EnterCriticalSection(&sending);
    SendAll(line, strlen(line));
    SendAll("\n", 1);
    if (body)
        SendAll((const char*)body, bodyLength);
    LeaveCriticalSection(&sending);
}

static const char* SkipSpace(const char* at)
{
    while (*at == ' ' || *at == '\t' || *at == '\r' || *at == '\n')
        ++at;
    return at;
}

static void AppendCodePoint(Buffer* value, unsigned point)
{
    char utf8[4];
    size_t length;
    if (point < 0x80) {
        utf8[0] = (char)point;
        length = 1;
    } else if (point < 0x800) {
        utf8[0] = (char)(0xC0 | (point >> 6));
        utf8[1] = (char)(0x80 | (point & 0x3F));
        length = 2;
    } else if (point < 0x10000) {
        utf8[0] = (char)(0xE0 | (point >> 12));
        utf8[1] = (char)(0x80 | ((point >> 6) & 0x3F));
        utf8[2] = (char)(0x80 | (point & 0x3F));
        length = 3;
    } else {
        utf8[0] = (char)(0xF0 | (point >> 18));
        utf8[1] = (char)(0x80 | ((point >> 12) & 0x3F));
        utf8[2] = (char)(0x80 | ((point >> 6) & 0x3F));
        utf8[3] = (char)(0x80 | (point & 0x3F));
        length = 4;
    }
    BufferAppend(value, utf8, length);
}

/* Reads the string starting after its opening quote; returns what follows
 * its closing quote. */
static const char* ReadString(const char* at, Buffer* value)
{
    while (*at && *at != '"') {
        if (*at != '\\') {
            BufferAppend(value, at++, 1);
            continue;
        }
        char kind = at[1];
        at += 2;
        if (kind == 'u') {
            unsigned point = (unsigned)strtoul((char[5]){at[0], at[1], at[2], at[3], 0}, NULL, 16);
            at += 4;
            if (point >= 0xD800 && point < 0xDC00 && at[0] == '\\' && at[1] == 'u') {
                unsigned low = (unsigned)strtoul((char[5]){at[2], at[3], at[4], at[5], 0}, NULL, 16);
                point = 0x10000 + ((point - 0xD800) << 10) + (low - 0xDC00);
                at += 6;
            }
            AppendCodePoint(value, point);
            continue;
        }
        const char* plain = strchr("\"\\/bfnrt", kind);
        const char* means = "\"\\/\b\f\n\r\t";
        if (plain)
            BufferAppend(value, means + (plain - "\"\\/bfnrt"), 1);
    }
    return *at ? at + 1 : at;
}

/* Skips one value of any kind; returns what follows it. */
static const char* SkipValue(const char* at)
{
    Buffer ignored = {0};
    if (*at == '"') {
        at = ReadString(at + 1, &ignored);
        BufferFree(&ignored);
        return at;
    }
    int depth = 0;
    for (; *at; ++at) {
        if (*at == '"') {
            at = ReadString(at + 1, &ignored) - 1;
        } else if (*at == '{' || *at == '[') {
            ++depth;
        } else if (*at == '}' || *at == ']') {
            if (depth-- == 0)
                break;
        } else if (*at == ',' && depth == 0) {
            break;
        }
    }
    BufferFree(&ignored);
    return at;
}

BOOL JsonField(const char* json, const char* key, Buffer* value)
{
    value->length = 0;
    const char* at = SkipSpace(json);
    if (*at != '{')
        return FALSE;
    at = SkipSpace(at + 1);
    while (*at == '"') {
        Buffer name = {0};
        at = SkipSpace(ReadString(at + 1, &name));
        BOOL wanted = name.bytes && strcmp(name.bytes, key) == 0;
        BufferFree(&name);
        if (*at != ':')
            return FALSE;
        at = SkipSpace(at + 1);
        if (wanted && *at == '"') {
            ReadString(at + 1, value);
            if (!value->bytes)
                BufferAppend(value, "", 0);
            return TRUE;
        }
        const char* end = SkipValue(at);
        if (wanted) {
            BufferAppend(value, at, (size_t)(end - at));
            return strcmp(value->bytes, "null") != 0;
        }
        at = SkipSpace(end);
        if (*at == ',')
            at = SkipSpace(at + 1);
    }
    return FALSE;
}
