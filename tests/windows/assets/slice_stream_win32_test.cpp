#include <gtest/gtest.h>

#include <windows.h>
#include <shlwapi.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "assets/slice_stream_win32.h"

using Microsoft::WRL::ComPtr;

namespace {

// Runs every job on a thread of its own, all at once, and waits for them.
// The assertions stay on the test's thread: the test framework's results
// are not kept for several threads.
void RunAtOnce(std::vector<std::function<void()>>& jobs)
{
    std::vector<HANDLE> threads;
    for (std::function<void()>& job : jobs) {
        auto run = [](void* what) -> DWORD {
            (*static_cast<std::function<void()>*>(what))();
            return 0;
        };
        threads.push_back(CreateThread(nullptr, 0, run, &job, 0, nullptr));
    }
    WaitForMultipleObjects(static_cast<DWORD>(threads.size()), threads.data(), TRUE, INFINITE);
    for (HANDLE thread : threads)
        CloseHandle(thread);
}

uint64_t SeekTo(IStream* stream, int64_t move, DWORD origin)
{
    LARGE_INTEGER by = {};
    by.QuadPart = move;
    ULARGE_INTEGER now = {};
    EXPECT_EQ(S_OK, stream->Seek(by, origin, &now));
    return now.QuadPart;
}

ComPtr<IStream> StreamOver(const std::string& text, size_t skip, size_t length, std::shared_ptr<const void> keeper = nullptr)
{
    return CreateSliceStream(
        std::make_shared<MemoryBodyBytes>(reinterpret_cast<const uint8_t*>(text.data()) + skip, length, std::move(keeper)));
}

std::string ReadAll(IStream* stream, ULONG chunk)
{
    std::string bytes;
    std::vector<char> buffer(chunk);
    ULONG got = 0;
    while (SUCCEEDED(stream->Read(buffer.data(), chunk, &got)) && got > 0)
        bytes.append(buffer.data(), got);
    return bytes;
}

}

TEST(SliceStream, ReadsSeeksAndClonesItsBytesOnly)
{
    std::string text = "0123456789";
    ComPtr<IStream> stream = StreamOver(text, 2, 6);
    STATSTG stat = {};
    ASSERT_EQ(S_OK, stream->Stat(&stat, STATFLAG_NONAME));
    EXPECT_EQ(6u, stat.cbSize.QuadPart);

    char buffer[4] = {};
    ULONG got = 0;
    EXPECT_EQ(S_OK, stream->Read(buffer, 4, &got));
    EXPECT_EQ("2345", std::string(buffer, got));
    EXPECT_EQ(S_FALSE, stream->Read(buffer, 4, &got)) << "a short read says the end is reached";
    EXPECT_EQ("67", std::string(buffer, got));

    EXPECT_EQ(1u, SeekTo(stream.Get(), 1, STREAM_SEEK_SET));
    EXPECT_EQ(3u, SeekTo(stream.Get(), 2, STREAM_SEEK_CUR));
    EXPECT_EQ(4u, SeekTo(stream.Get(), -2, STREAM_SEEK_END));
    // Before the start is an error that leaves the position; past the end
    // is allowed and reads nothing.
    LARGE_INTEGER back = {};
    back.QuadPart = -100;
    ULARGE_INTEGER unchanged = {};
    EXPECT_EQ(STG_E_INVALIDFUNCTION, stream->Seek(back, STREAM_SEEK_CUR, &unchanged));
    EXPECT_EQ(4u, SeekTo(stream.Get(), 0, STREAM_SEEK_CUR));
    EXPECT_EQ(100u, SeekTo(stream.Get(), 100, STREAM_SEEK_SET));
    EXPECT_EQ(S_FALSE, stream->Read(buffer, 4, &got));
    EXPECT_EQ(0u, got);
    LARGE_INTEGER zero = {};
    EXPECT_EQ(STG_E_INVALIDFUNCTION, stream->Seek(zero, 7, nullptr));

    SeekTo(stream.Get(), 4, STREAM_SEEK_SET);
    ComPtr<IStream> clone;
    ASSERT_EQ(S_OK, stream->Clone(&clone));
    EXPECT_EQ("67", ReadAll(clone.Get(), 3)) << "a clone starts where its source stood";
    EXPECT_EQ(0u, SeekTo(clone.Get(), 0, STREAM_SEEK_SET));
    EXPECT_EQ("234567", ReadAll(clone.Get(), 3));
    EXPECT_EQ("67", ReadAll(stream.Get(), 3)) << "and moves on its own";

    ComPtr<IStream> copy;
    *copy.GetAddressOf() = SHCreateMemStream(nullptr, 0);
    SeekTo(stream.Get(), 1, STREAM_SEEK_SET);
    ULARGE_INTEGER most = {}, read = {}, put = {};
    most.QuadPart = 3;
    ASSERT_EQ(S_OK, stream->CopyTo(copy.Get(), most, &read, &put));
    EXPECT_EQ(3u, read.QuadPart);
    EXPECT_EQ(3u, put.QuadPart);
    most.QuadPart = 100;
    ASSERT_EQ(S_OK, stream->CopyTo(copy.Get(), most, &read, nullptr));
    EXPECT_EQ(2u, read.QuadPart) << "never past the end";
    SeekTo(copy.Get(), 0, STREAM_SEEK_SET);
    EXPECT_EQ("34567", ReadAll(copy.Get(), 10));

    ULONG written = 7;
    EXPECT_EQ(STG_E_ACCESSDENIED, stream->Write("x", 1, &written));
    EXPECT_EQ(0u, written);
    ULARGE_INTEGER size = {};
    EXPECT_EQ(STG_E_ACCESSDENIED, stream->SetSize(size));
    EXPECT_EQ("0123456789", text);
}

TEST(SliceStream, IsAgileAndKeepsItsViewWhileAnyCloneLives)
{
    auto view = std::make_shared<std::string>("kept bytes");
    std::weak_ptr<std::string> watch = view;
    ComPtr<IStream> stream = StreamOver(*view, 0, view->size(), view);
    view.reset();
    ComPtr<IUnknown> agile, marshal;
    EXPECT_EQ(S_OK, stream->QueryInterface(IID_IAgileObject, &agile));
    EXPECT_EQ(S_OK, stream->QueryInterface(IID_IMarshal, &marshal));
    ComPtr<IUnknown> storage;
    EXPECT_EQ(E_NOINTERFACE, stream->QueryInterface(IID_IStorage, &storage));
    ComPtr<IStream> clone;
    ASSERT_EQ(S_OK, stream->Clone(&clone));
    agile.Reset();
    marshal.Reset();
    stream.Reset();
    EXPECT_FALSE(watch.expired());
    EXPECT_EQ("kept bytes", ReadAll(clone.Get(), 4));
    clone.Reset();
    EXPECT_TRUE(watch.expired());
}

TEST(SliceStream, ThreadsReadTheirOwnClonesAtOnce)
{
    std::string bytes(3u << 20, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 31 >> 7);
    ComPtr<IStream> stream = StreamOver(bytes, 0, bytes.size());
    std::vector<std::string> reads(4);
    std::vector<std::function<void()>> jobs;
    for (size_t i = 0; i < reads.size(); ++i) {
        ComPtr<IStream> clone;
        ASSERT_EQ(S_OK, stream->Clone(&clone));
        jobs.push_back([clone, &reads, i] { reads[i] = ReadAll(clone.Get(), static_cast<ULONG>(4093 + i)); });
    }
    // One stream shared by two threads still hands out every byte once.
    std::string first, second;
    jobs.push_back([&] { first = ReadAll(stream.Get(), 1000); });
    jobs.push_back([&] { second = ReadAll(stream.Get(), 1000); });
    RunAtOnce(jobs);
    for (const std::string& read : reads)
        EXPECT_TRUE(read == bytes);
    EXPECT_EQ(bytes.size(), first.size() + second.size());
}

TEST(SliceStream, BytesThatCannotBeReadGiveTheReaderAnError)
{
    // A body whose bytes from 4 on can no longer be read, as from a share
    // that went away.
    struct Vanishing : IBodyBytes {
        uint64_t Length() const override { return 10; }
        bool ReadAt(uint64_t offset, void* into, size_t count) const override
        {
            std::memset(into, 'x', count);
            return offset + count <= 4;
        }
    };
    ComPtr<IStream> stream = CreateSliceStream(std::make_shared<Vanishing>());
    char buffer[4] = {};
    ULONG got = 9;
    EXPECT_EQ(S_OK, stream->Read(buffer, 4, &got));
    EXPECT_EQ(4u, got);
    EXPECT_EQ(STG_E_READFAULT, stream->Read(buffer, 4, &got));
    EXPECT_EQ(0u, got);
    ComPtr<IStream> copy;
    *copy.GetAddressOf() = SHCreateMemStream(nullptr, 0);
    ULARGE_INTEGER most = {}, read = {};
    most.QuadPart = 6;
    EXPECT_EQ(STG_E_READFAULT, stream->CopyTo(copy.Get(), most, &read, nullptr));
    EXPECT_EQ(0u, read.QuadPart);
}
