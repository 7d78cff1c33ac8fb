#pragma once

#include <cstdint>

// A read position over bytes that never change while it exists, such as a
// mapped bundle entry: reading copies only into the reader's buffer.
class ByteSlice {
public:
    enum class Origin { Begin, Current, End };

    ByteSlice(const uint8_t* sliceData, uint64_t sliceLength) : data(sliceData), length(sliceLength) {}

    // Copies up to count bytes from the position on and moves past them.
    uint64_t Read(void* into, uint64_t count);
    // Moves the position, clamped to [0, length], and gives it.
    uint64_t Seek(int64_t move, Origin origin);

    const uint8_t* Data() const { return data; }
    uint64_t Length() const { return length; }
    uint64_t Position() const { return position; }

private:
    const uint8_t* data;
    uint64_t length;
    uint64_t position = 0;
};
