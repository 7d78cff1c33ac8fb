#pragma once

#include <windows.h>
#include <objidl.h>
#include <wrl/client.h>

#include <memory>

#include "assets/body_reader.h"

// A read-only IStream over a body's bytes, copied only as they are read.
// The object is agile and aggregates the free-threaded marshaler, since the
// runtime may read it on any thread; each stream and each clone keeps its
// own position and shares the bytes. Bytes that cannot be read give the
// reader an error, never a shorter body. Throws std::runtime_error when COM
// cannot make the marshaler.
Microsoft::WRL::ComPtr<IStream> CreateSliceStream(std::shared_ptr<const IBodyBytes> bytes);
