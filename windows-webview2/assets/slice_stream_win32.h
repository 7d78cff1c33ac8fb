#pragma once

#include <windows.h>
#include <objidl.h>
#include <wrl/client.h>

#include <cstdint>
#include <memory>

// A read-only IStream over bytes that stay unchanged while it lives (a
// mapped view), without copying them. keeper holds whatever keeps the bytes
// mapped; every clone shares it. The object is agile and aggregates the
// free-threaded marshaler, since the runtime may read it on any thread;
// each stream and each clone keeps its own position. Throws
// std::runtime_error when COM cannot make the marshaler.
Microsoft::WRL::ComPtr<IStream> CreateSliceStream(const uint8_t* data, uint64_t length,
    std::shared_ptr<const void> keeper);
