#include "assets/slice_stream_win32.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <stdexcept>
#include <vector>


using Microsoft::WRL::ComPtr;

namespace {

// Holds a slim lock for as long as it lives.
class Exclusive {
public:
    explicit Exclusive(SRWLOCK& held) : lock(held) { AcquireSRWLockExclusive(&lock); }
    ~Exclusive() { ReleaseSRWLockExclusive(&lock); }
    Exclusive(const Exclusive&) = delete;
    Exclusive& operator=(const Exclusive&) = delete;

private:
    SRWLOCK& lock;
};

class SliceStream final : public IStream {
public:
    explicit SliceStream(BodyReader from) : reader(std::move(from)) {}

    // Two-step creation: the marshaler aggregates the finished object.
    static ComPtr<IStream> Create(BodyReader from)
    {
        ComPtr<SliceStream> stream;
        *stream.GetAddressOf() = new SliceStream(std::move(from));
        if (FAILED(CoCreateFreeThreadedMarshaler(stream.Get(), &stream->marshaler)))
            throw std::runtime_error("cannot make a free-threaded stream");
        return stream;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (id == IID_IMarshal)
            return marshaler->QueryInterface(id, object);
        // IAgileObject adds no methods, so any of this object's pointers serves.
        if (id != IID_IUnknown && id != IID_ISequentialStream && id != IID_IStream && id != IID_IAgileObject)
            return E_NOINTERFACE;
        *object = static_cast<IStream*>(this);
        AddRef();
        return S_OK;
    }

    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }

    ULONG STDMETHODCALLTYPE Release() override
    {
        ULONG left = --references;
        if (left == 0)
            delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE Read(void* into, ULONG count, ULONG* read) override
    {
        if (!into)
            return STG_E_INVALIDPOINTER;
        Exclusive lock(guard);
        BodyReader::Chunk chunk = reader.Read(into, count);
        if (read)
            *read = static_cast<ULONG>(chunk.got);
        if (chunk.failed)
            return STG_E_READFAULT;
        return chunk.got < count ? S_FALSE : S_OK;
    }

    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) override
    {
        BodyReader::Origin from = BodyReader::Origin::Begin;
        if (origin == STREAM_SEEK_CUR)
            from = BodyReader::Origin::Current;
        else if (origin == STREAM_SEEK_END)
            from = BodyReader::Origin::End;
        else if (origin != STREAM_SEEK_SET)
            return STG_E_INVALIDFUNCTION;
        Exclusive lock(guard);
        // Before the start is an error; past the end is allowed.
        std::optional<uint64_t> now = reader.Seek(move.QuadPart, from);
        if (!now)
            return STG_E_INVALIDFUNCTION;
        if (position)
            position->QuadPart = *now;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD) override
    {
        if (!stat)
            return STG_E_INVALIDPOINTER;
        std::memset(stat, 0, sizeof *stat);
        stat->type = STGTY_STREAM;
        stat->cbSize.QuadPart = reader.Length();
        stat->grfMode = STGM_READ;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE Clone(IStream** copy) override
    {
        if (!copy)
            return STG_E_INVALIDPOINTER;
        *copy = nullptr;
        uint64_t at = 0;
        {
            Exclusive lock(guard);
            at = reader.Position();
        }
        try {
            *copy = Create(BodyReader(reader.Bytes(), at)).Detach();
            return S_OK;
        } catch (const std::exception&) {
            return E_OUTOFMEMORY;
        }
    }

    HRESULT STDMETHODCALLTYPE Write(const void*, ULONG, ULONG* written) override
    {
        if (written)
            *written = 0;
        return STG_E_ACCESSDENIED;
    }
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override { return STG_E_ACCESSDENIED; }
    HRESULT STDMETHODCALLTYPE CopyTo(IStream* target, ULARGE_INTEGER count, ULARGE_INTEGER* read,
        ULARGE_INTEGER* written) override
    {
        if (!target)
            return STG_E_INVALIDPOINTER;
        Exclusive lock(guard);
        std::vector<uint8_t> buffer(static_cast<size_t>(std::min<uint64_t>(count.QuadPart, CopyChunk)));
        uint64_t taken = 0;
        uint64_t put = 0;
        HRESULT result = S_OK;
        while (taken < count.QuadPart && SUCCEEDED(result)) {
            BodyReader::Chunk chunk = reader.Read(buffer.data(), std::min<uint64_t>(count.QuadPart - taken, CopyChunk));
            if (chunk.failed)
                result = STG_E_READFAULT;
            if (chunk.got == 0)
                break;
            taken += chunk.got;
            ULONG wrote = 0;
            result = target->Write(buffer.data(), static_cast<ULONG>(chunk.got), &wrote);
            put += wrote;
            if (wrote < chunk.got)
                break;
        }
        if (read)
            read->QuadPart = taken;
        if (written)
            written->QuadPart = put;
        return FAILED(result) ? result : S_OK;
    }
    HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Revert() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override
    {
        return STG_E_INVALIDFUNCTION;
    }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override
    {
        return STG_E_INVALIDFUNCTION;
    }

private:
    ~SliceStream()
    {
        if (marshaler)
            marshaler->Release();
    }

    static constexpr uint64_t CopyChunk = 1u << 20;

    std::atomic<ULONG> references {1};
    SRWLOCK guard = SRWLOCK_INIT; // over the position, for callers that share one stream
    BodyReader reader;
    IUnknown* marshaler = nullptr;
};

}

ComPtr<IStream> CreateSliceStream(std::shared_ptr<const IBodyBytes> bytes)
{
    return SliceStream::Create(BodyReader(std::move(bytes)));
}
