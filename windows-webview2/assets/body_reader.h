#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

// Where a body's bytes come from: the bundle's mapped memory, or a disk
// file read at a position. Reads may come from any thread at once.
class IBodyBytes {
public:
    virtual ~IBodyBytes() = default;
    virtual uint64_t Length() const = 0;
    // Exactly count bytes at offset (within Length); false when they cannot
    // be read, as from a network share that went away or a removed drive.
    virtual bool ReadAt(uint64_t offset, void* into, size_t count) const = 0;
};

// Bytes that never change while they are read, such as a mapped bundle
// entry; keeper holds whatever keeps them there.
class MemoryBodyBytes : public IBodyBytes {
public:
    MemoryBodyBytes(const uint8_t* bodyData, uint64_t bodyLength, std::shared_ptr<const void> owner = nullptr)
        : data(bodyData), length(bodyLength), keeper(std::move(owner))
    {
    }
    uint64_t Length() const override { return length; }
    bool ReadAt(uint64_t offset, void* into, size_t count) const override;

private:
    const uint8_t* data;
    uint64_t length;
    std::shared_ptr<const void> keeper;
};

// A read position over a body, with the rules of a COM stream: a seek
// before the start fails and leaves the position, a seek past the end is
// allowed and reads nothing. Not locked: its owner serialises the calls.
class BodyReader {
public:
    enum class Origin { Begin, Current, End };
    struct Chunk {
        uint64_t got = 0;
        bool failed = false; // the bytes could not be read; the position stays
    };

    explicit BodyReader(std::shared_ptr<const IBodyBytes> body, uint64_t start = 0)
        : bytes(std::move(body)), position(start)
    {
    }

    // Up to count bytes from the position on, moving past those read.
    Chunk Read(void* into, uint64_t count);
    // The new position, or none when it would lie before the start or past
    // the largest position there is.
    std::optional<uint64_t> Seek(int64_t move, Origin origin);

    uint64_t Length() const { return bytes->Length(); }
    uint64_t Position() const { return position; }
    const std::shared_ptr<const IBodyBytes>& Bytes() const { return bytes; }

private:
    std::shared_ptr<const IBodyBytes> bytes;
    uint64_t position;
};
