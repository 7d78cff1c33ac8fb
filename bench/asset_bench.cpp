// Asset delivery costs: bundle parsing, lookups and answers, against memcpy.
// Run: build/native/bench/velmora_bench
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <memory>
#include <new>
#include <random>
#include <vector>

#include "assets/body_reader.h"
#include "assets/resource_answer.h"
#include "assets/std_disk_files.h"
#include "tests/support/bundle_bytes.h"

// Every allocation of the process is counted, so that a case can report
// how many its work makes.
std::atomic<uint64_t> allocations {0};

void* operator new(size_t size)
{
    ++allocations;
    if (void* memory = std::malloc(size ? size : 1))
        return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, size_t) noexcept
{
    std::free(memory);
}

namespace {

std::string EntryName(size_t i)
{
    return "assets/folder" + std::to_string(i % 97) + "/file" + std::to_string(i) + ".png";
}

// Entry names in the packer's order (sorted), or shuffled with a fixed seed.
std::vector<std::string> EntryNames(size_t entries, bool packerOrder)
{
    std::vector<std::string> names;
    for (size_t i = 0; i < entries; ++i)
        names.push_back(EntryName(i));
    std::sort(names.begin(), names.end());
    if (!packerOrder)
        std::shuffle(names.begin(), names.end(), std::mt19937(7));
    return names;
}

std::string BundleOf(const std::vector<std::string>& names, uint64_t entrySize)
{
    std::string fdir;
    for (const std::string& name : names)
        fdir += DirectoryEntry(name, 0, entrySize);
    return BundleBytes().Header().Chunk("blob", std::string(entrySize, 'x'))
        .Chunk("fdir", Directory(static_cast<uint32_t>(names.size()), fdir)).bytes;
}

std::string BundleOf(size_t entries, uint64_t entrySize)
{
    return BundleOf(EntryNames(entries, true), entrySize);
}

// Parse only inside the loop; the heap and the allocations of one parse are
// measured outside it.
void BM_ParseBundle(benchmark::State& state)
{
    size_t entries = static_cast<size_t>(state.range(0));
    std::string image = BundleOf(EntryNames(entries, state.range(1) != 0), 16);
    for (auto _ : state) {
        auto bundle = std::make_unique<AssetBundle>();
        bundle->AttachMemory(reinterpret_cast<const uint8_t*>(image.data()), image.size());
        bundle->Parse();
        benchmark::DoNotOptimize(bundle->Directory().data());
        state.PauseTiming();
        bundle.reset();
        state.ResumeTiming();
    }
    AssetBundle once;
    once.AttachMemory(reinterpret_cast<const uint8_t*>(image.data()), image.size());
    size_t heapBefore = mallinfo2().uordblks;
    uint64_t allocationsBefore = allocations;
    once.Parse();
    double perEntry = static_cast<double>(entries);
    state.counters["bytes/entry"] = static_cast<double>(mallinfo2().uordblks - heapBefore) / perEntry;
    state.counters["allocs/entry"] = static_cast<double>(allocations - allocationsBefore) / perEntry;
}
BENCHMARK(BM_ParseBundle)->ArgNames({"entries", "packer-order"})->ArgsProduct({{1000, 100000}, {1, 0}})
    ->Unit(benchmark::kMillisecond);

// Lookups of 4,096 different names, so that the index is not all in cache.
void BM_Lookup(benchmark::State& state)
{
    size_t entries = static_cast<size_t>(state.range(0));
    std::string image = BundleOf(entries, 16);
    AssetBundle bundle;
    bundle.AttachMemory(reinterpret_cast<const uint8_t*>(image.data()), image.size());
    bundle.Parse();
    std::vector<std::string> wanted = EntryNames(entries, false);
    wanted.resize(std::min<size_t>(wanted.size(), 4096));
    size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(bundle.Find(wanted[next]));
        next = (next + 1) % wanted.size();
    }
}
BENCHMARK(BM_Lookup)->Arg(1000)->Arg(100000);

// A small whole answer and the allocations it makes.
void BM_SmallAnswer(benchmark::State& state)
{
    std::string image = BundleOf(1000, 16);
    AssetBundle bundle;
    bundle.AttachMemory(reinterpret_cast<const uint8_t*>(image.data()), image.size());
    bundle.Parse();
    StdDiskFiles disk;
    ResourceSite site {bundle, disk, "/nonexistent/www/", '/'};
    std::string uri = EntryName(500);
    uint64_t allocationsBefore = allocations;
    for (auto _ : state)
        benchmark::DoNotOptimize(AnswerResourceRequest(site, uri, nullptr));
    state.counters["allocs"] = static_cast<double>(allocations - allocationsBefore) /
                               static_cast<double>(state.iterations());
}
BENCHMARK(BM_SmallAnswer);

// The answer plus the body the host makes of a bundle entry: a read position
// over the mapped bytes, whatever their size. The bytes are copied only when
// the runtime reads them, into its own buffer.
void Answer(benchmark::State& state, const ResourceSite& site, const std::string& uri, const std::string* range)
{
    for (auto _ : state) {
        ResourceAnswer answer = AnswerResourceRequest(site, uri, range);
        const ResourceBody& body = answer.body;
        if (body.kind == ResourceBody::Kind::BundleSlice) {
            BodyReader reader(std::make_shared<MemoryBodyBytes>(site.bundle.FileData(body.offset), body.length));
            benchmark::DoNotOptimize(reader);
        }
        benchmark::DoNotOptimize(answer);
    }
}

void BM_BundleAnswer(benchmark::State& state)
{
    uint64_t size = static_cast<uint64_t>(state.range(0));
    bool ranged = state.range(1) != 0;
    std::string image = BundleOf(1, size);
    AssetBundle bundle;
    bundle.AttachMemory(reinterpret_cast<const uint8_t*>(image.data()), image.size());
    bundle.Parse();
    StdDiskFiles disk;
    std::string range = "bytes=0-" + std::to_string(size / 2 - 1);
    Answer(state, {bundle, disk, "/nonexistent/www/", '/'}, EntryName(0), ranged ? &range : nullptr);
}
BENCHMARK(BM_BundleAnswer)->ArgsProduct({{1 << 10, 1 << 20, 100 << 20}, {0, 1}});

void BM_DiskAnswer(benchmark::State& state)
{
    uint64_t size = static_cast<uint64_t>(state.range(0));
    std::string folder = std::filesystem::temp_directory_path() / "velmora-bench-www/";
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "file.bin", std::ios::binary) << std::string(size, 'y');
    AssetBundle empty;
    StdDiskFiles disk;
    std::string range = "bytes=0-" + std::to_string(size / 2 - 1);
    Answer(state, {empty, disk, folder, '/'}, "file.bin", state.range(1) ? &range : nullptr);
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_DiskAnswer)->ArgsProduct({{1 << 10, 1 << 20, 100 << 20}, {0, 1}});

void BM_Memcpy(benchmark::State& state)
{
    size_t size = static_cast<size_t>(state.range(0));
    std::vector<char> from(size, 'x'), to(size);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), size);
        benchmark::DoNotOptimize(to.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(size));
}
BENCHMARK(BM_Memcpy)->Arg(1 << 10)->Arg(1 << 20)->Arg(100 << 20);

}
