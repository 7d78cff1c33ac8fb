// Asset delivery costs: bundle parsing, lookups and answers, against memcpy.
// Run: build/native/bench/velmora_bench
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <malloc.h>
#include <fstream>
#include <vector>

#include "assets/byte_slice.h"
#include "assets/resource_answer.h"
#include "assets/std_disk_files.h"
#include "tests/support/bundle_bytes.h"

namespace {

std::string EntryName(size_t i)
{
    return "assets/folder" + std::to_string(i % 97) + "/file" + std::to_string(i) + ".png";
}

std::string BundleOf(size_t entries, uint64_t entrySize)
{
    std::string fdir;
    for (size_t i = 0; i < entries; ++i)
        fdir += DirectoryEntry(EntryName(i), 0, entrySize);
    return BundleBytes().Header().Chunk("blob", std::string(entrySize, 'x'))
        .Chunk("fdir", Directory(static_cast<uint32_t>(entries), fdir)).bytes;
}

void BM_ParseBundle(benchmark::State& state)
{
    std::string image = BundleOf(static_cast<size_t>(state.range(0)), 16);
    size_t heap = 0;
    for (auto _ : state) {
        size_t before = mallinfo2().uordblks;
        AssetBundle bundle;
        bundle.AttachMemory(reinterpret_cast<const uint8_t*>(image.data()), image.size());
        bundle.Parse();
        heap = mallinfo2().uordblks - before;
        benchmark::DoNotOptimize(bundle.Directory().size());
    }
    state.counters["bytes/entry"] = static_cast<double>(heap) / static_cast<double>(state.range(0));
    state.counters["ns/entry"] = benchmark::Counter(static_cast<double>(state.range(0)),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ParseBundle)->Arg(100000)->Unit(benchmark::kMillisecond);

// The answer plus the body the host makes of a bundle entry: a read position
// over the mapped bytes, whatever their size. The bytes are copied only when
// the runtime reads them, into its own buffer.
void Answer(benchmark::State& state, const ResourceSite& site, const std::string& uri, const std::string* range)
{
    for (auto _ : state) {
        ResourceAnswer answer = AnswerResourceRequest(site, uri, range);
        const ResourceBody& body = answer.body;
        if (body.kind == ResourceBody::Kind::BundleSlice) {
            ByteSlice slice(site.bundle.FileData(body.offset), body.length);
            benchmark::DoNotOptimize(slice);
        }
        benchmark::DoNotOptimize(answer);
    }
}

void BM_LookupAnswer(benchmark::State& state)
{
    size_t entries = static_cast<size_t>(state.range(0));
    std::string image = BundleOf(entries, 16);
    AssetBundle bundle;
    bundle.AttachMemory(reinterpret_cast<const uint8_t*>(image.data()), image.size());
    bundle.Parse();
    StdDiskFiles disk;
    Answer(state, {bundle, disk, "/nonexistent/www/", '/'}, EntryName(entries / 2), nullptr);
}
BENCHMARK(BM_LookupAnswer)->Arg(1000)->Arg(100000);

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
