// qelctl dump (plain and --textconv) and build of the layout near the template limit (25 pictures,
// 40 pages of 20 objects): what the two commands do between reading their
// input and writing their output.
#include "LayoutJson.h"
#include "NearLimitLayout.h"

#include "AtomicFile.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <sys/resource.h>
#include <unistd.h>

namespace
{

std::vector<uint8_t> NearLimitTemplate()
{
    std::vector<uint8_t> file = {0xD5, 0xCA, 0xAD, 0xAB};
    const std::vector<uint8_t> image = NearLimitLayout().SaveToBytes();
    file.insert(file.end(), image.begin(), image.end());
    return file;
}

void BM_Dump(benchmark::State& state)
{
    const std::vector<uint8_t> file = NearLimitTemplate();
    std::string json;
    for (auto _ : state)
    {
        CLayoutJsonWriter writer;
        std::string reason;
        benchmark::DoNotOptimize(FileToJson(file, false, writer, json, reason));
    }
    state.counters["template bytes"] = static_cast<double>(file.size());
    state.counters["json bytes"] = static_cast<double>(json.size());
}
BENCHMARK(BM_Dump)->Unit(benchmark::kMillisecond);

// dump --textconv, as git runs it on each side of a diff: a SHA-256 of every
// picture's PNG block instead of its base64.
void BM_DumpTextconv(benchmark::State& state)
{
    const std::vector<uint8_t> file = NearLimitTemplate();
    std::string json;
    for (auto _ : state)
    {
        CLayoutJsonWriter writer;
        writer.SetDigestPictures(true);
        std::string reason;
        benchmark::DoNotOptimize(FileToJson(file, false, writer, json, reason));
    }
    state.counters["json bytes"] = static_cast<double>(json.size());
}
BENCHMARK(BM_DumpTextconv)->Unit(benchmark::kMillisecond);

void BM_BuildFromBase64(benchmark::State& state)
{
    const std::vector<uint8_t> file = NearLimitTemplate();
    CLayoutJsonWriter writer;
    std::string json;
    std::string reason;
    FileToJson(file, false, writer, json, reason);
    std::vector<uint8_t> built;
    for (auto _ : state)
    {
        TBuildProblem problem;
        benchmark::DoNotOptimize(JsonToFile(json, "", {}, built, problem));
    }
    state.counters["same bytes"] = built == file ? 1 : 0;
}
BENCHMARK(BM_BuildFromBase64)->Unit(benchmark::kMillisecond);

// The layout kept as a folder: the JSON and 25 PNG files beside it.
void BM_BuildFromFolder(benchmark::State& state)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("qel-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::vector<uint8_t> file = NearLimitTemplate();
    CLayoutJsonWriter writer((dir / "pictures").string(), dir.string());
    std::string json;
    std::string reason;
    FileToJson(file, false, writer, json, reason);
    fs::create_directories(dir / "pictures");
    for (const CLayoutJsonWriter::TPictureFile& picture : writer.PictureFiles())
        WriteFileAtomically(picture.path, picture.png);
    std::vector<uint8_t> built;
    for (auto _ : state)
    {
        TBuildProblem problem;
        benchmark::DoNotOptimize(JsonToFile(json, dir.string(), {}, built, problem));
    }
    state.counters["same bytes"] = built == file ? 1 : 0;
    fs::remove_all(dir);
}
BENCHMARK(BM_BuildFromFolder)->Unit(benchmark::kMillisecond);

// The process's peak resident size so far, in MiB.
double PeakMiB()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// JSON that no layout is, but that build must still refuse (or build) in
// linear time and bounded memory: 100,000 pages (too large for a template
// once built), one object of 200,000 members, and a 32 MB list of numbers.
void BuildRefusesQuickly(benchmark::State& state, const std::string& json)
{
    std::vector<uint8_t> built;
    TBuildProblem problem;
    for (auto _ : state)
    {
        problem = {};
        benchmark::DoNotOptimize(JsonToFile(json, "", {}, built, problem));
    }
    state.counters["json MB"] = static_cast<double>(json.size()) / 1e6;
    state.counters["peak RSS MiB"] = PeakMiB();
    state.SetLabel(problem.message.substr(0, 60));
}

void BM_BuildHundredThousandPages(benchmark::State& state)
{
    std::string json = "{\"kind\": \"template\", \"pages\": [\n";
    for (int i = 0; i < 100000; ++i)
        json += std::string(i == 0 ? "" : ",\n") + "  {\"type\": 8, \"name\": \"Page " + std::to_string(i) +
                "\", \"objects\": []}";
    json += "\n]}\n";
    BuildRefusesQuickly(state, json);
}
BENCHMARK(BM_BuildHundredThousandPages)->Unit(benchmark::kMillisecond);

void BM_BuildObjectOfManyKeys(benchmark::State& state)
{
    std::string json = "{";
    for (int i = 0; i < 200000; ++i)
        json += std::string(i == 0 ? "" : ", ") + "\"k" + std::to_string(i) + "\": 0";
    json += "}";
    BuildRefusesQuickly(state, json);
}
BENCHMARK(BM_BuildObjectOfManyKeys)->Unit(benchmark::kMillisecond);

void BM_BuildLongListOfNumbers(benchmark::State& state)
{
    std::string json = "[0";
    json.reserve(32u << 20);
    while (json.size() + 3 < (32u << 20))
        json += ",0";
    json += "]";
    BuildRefusesQuickly(state, json);
}
BENCHMARK(BM_BuildLongListOfNumbers)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
