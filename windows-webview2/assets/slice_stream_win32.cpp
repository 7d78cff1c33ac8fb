#include "assets/slice_stream_win32.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <stdexcept>

#include "assets/byte_slice.h"

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
    SliceStream(const ByteSlice& from, std::shared_ptr<const void> owner) : slice(from), keeper(std::move(owner)) {}

    // Two-step creation: the marshaler aggregates the finished object.
    static ComPtr<IStream> Create(const ByteSlice& from, std::shared_ptr<const void> owner)
    {
        ComPtr<SliceStream> stream;
        *stream.GetAddressOf() = new SliceStream(from, std::move(owner));
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
        ULONG got = static_cast<ULONG>(slice.Read(into, count));
        if (read)
            *read = got;
        return got < count ? S_FALSE : S_OK;
    }

    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) override
    {
        ByteSlice::Origin from = ByteSlice::Origin::Begin;
        if (origin == STREAM_SEEK_CUR)
            from = ByteSlice::Origin::Current;
        else if (origin == STREAM_SEEK_END)
            from = ByteSlice::Origin::End;
        else if (origin != STREAM_SEEK_SET)
            return STG_E_INVALIDFUNCTION;
        Exclusive lock(guard);
        uint64_t now = slice.Seek(move.QuadPart, from);
        if (position)
            position->QuadPart = now;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD) override
    {
        if (!stat)
            return STG_E_INVALIDPOINTER;
        std::memset(stat, 0, sizeof *stat);
        stat->type = STGTY_STREAM;
        stat->cbSize.QuadPart = slice.Length();
        stat->grfMode = STGM_READ;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE Clone(IStream** copy) override
    {
        if (!copy)
            return STG_E_INVALIDPOINTER;
        *copy = nullptr;
        ByteSlice from(slice.Data(), slice.Length());
        {
            Exclusive lock(guard);
            from.Seek(static_cast<int64_t>(slice.Position()), ByteSlice::Origin::Begin);
        }
        try {
            *copy = Create(from, keeper).Detach();
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
        uint64_t want = std::min<uint64_t>(count.QuadPart, slice.Length() - slice.Position());
        const uint8_t* from = slice.Data() + slice.Position();
        uint64_t done = 0;
        HRESULT result = S_OK;
        while (done < want) {
            ULONG piece = static_cast<ULONG>(std::min<uint64_t>(want - done, 1u << 30));
            ULONG put = 0;
            result = target->Write(from + done, piece, &put);
            done += put;
            if (FAILED(result) || put < piece)
                break;
        }
        slice.Seek(static_cast<int64_t>(done), ByteSlice::Origin::Current);
        if (read)
            read->QuadPart = done;
        if (written)
            written->QuadPart = done;
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

    std::atomic<ULONG> references {1};
    SRWLOCK guard = SRWLOCK_INIT; // over the position, for callers that share one stream
    ByteSlice slice;
    std::shared_ptr<const void> keeper;
    IUnknown* marshaler = nullptr;
};

}

ComPtr<IStream> CreateSliceStream(const uint8_t* data, uint64_t length, std::shared_ptr<const void> keeper)
{
    return SliceStream::Create(ByteSlice(data, length), std::move(keeper));
}
