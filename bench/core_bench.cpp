// The in-process parts of make bench, each beside its reference:
//   import of a 32,767-line request (about 1 MB)  vs  one read() of its bytes,
//     from the page cache and from the disk;
//   the commit (claim, write, rename, unclaim)     vs  cp plus sync of the bytes,
//     both as the two commands and as the same work done in-process.
// Files live in BENCH_DIR (default: a new directory under /var/tmp, a disk, so
// that the syncs cost what they cost on a practice PC).
#include "config/settings_values.h"
#include "gdt/commit.h"
#include "gdt/gdt_line.h"
#include "gdt/request_import.h"
#include "gdt/result_writer.h"
#include "platform/files.h"
#include "platform/message_box.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using namespace tessaro;

class SilentMessageBox : public platform::OperatorMessages {
public:
    void ShowError(const std::string& text) override { last = text; }
    std::string last;
};

const std::string& Dir() {
    static const std::string dir = [] {
        if (const char* d = std::getenv("BENCH_DIR"))
            return std::string(d);
        std::string pattern = "/var/tmp/tessaro-bench-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("mkdtemp");
        return pattern;
    }();
    return dir;
}

// 32,767 lines of about 32 bytes; the last has no CR LF, so the text splits
// into 32,767 pieces, the most the import takes without an overflow report.
const std::string& Request() {
    static const std::string text = [] {
        std::string t = gdt::FormatGdtLine("8000", "6302") + gdt::FormatGdtLine("3000", "4711") +
                        gdt::FormatGdtLine("3101", "Mustermann") +
                        gdt::FormatGdtLine("3102", "Erika");
        for (int i = 4; i < 32767; ++i)
            t += gdt::FormatGdtLine("6228", "Befundzeile " + std::to_string(100000 + i));
        t.resize(t.size() - 2);
        return t;
    }();
    return text;
}

void Spit(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string RequestFile() {
    const std::string path = Dir() + "/request.gdt";
    if (!std::filesystem::exists(path))
        Spit(path, Request());
    return path;
}

// Drops the file's pages from the page cache, so that the next read goes to
// the disk, as on a start-up long after the request was written.
void DropFromCache(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
}

// state.range(0): 1 when each read starts from the disk.
void BM_Import(benchmark::State& state) {
    const std::string path = RequestFile();
    SilentMessageBox messages;
    for (auto _ : state) {
        if (state.range(0) != 0) {
            state.PauseTiming();
            DropFromCache(path);
            state.ResumeTiming();
        }
        gdt::ImportResult r = gdt::ReadRequestFile(path, messages);
        benchmark::DoNotOptimize(r);
    }
    if (!messages.last.empty())
        state.SkipWithError("the import reported a failure");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Request().size()));
}

// The reference read: the whole file with one read() at its own size.
std::string ReadOnce(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    ::fstat(fd, &st);
    std::string bytes(static_cast<std::size_t>(st.st_size), '\0');
    const ssize_t n = ::read(fd, bytes.data(), bytes.size());
    ::close(fd);
    bytes.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return bytes;
}

void BM_ReadOnce(benchmark::State& state) {
    const std::string path = RequestFile();
    for (auto _ : state) {
        if (state.range(0) != 0) {
            state.PauseTiming();
            DropFromCache(path);
            state.ResumeTiming();
        }
        std::string bytes = ReadOnce(path);
        benchmark::DoNotOptimize(bytes);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Request().size()));
}

void BM_Commit(benchmark::State& state) {
    config::ProgramSettings settings;
    settings.PathD = Dir() + "/out";
    std::filesystem::create_directories(settings.PathD);
    settings.PathS = Dir() + "/pending.gdt";
    const std::string final = gdt::FinalFileName(settings, 7);
    SilentMessageBox messages;
    const std::string code = "LW2E";
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(final);
        Spit(settings.PathS, Request());
        state.ResumeTiming();
        gdt::CommitRequest(gdt::CommitInput{settings, 7, Request(), code, settings.PathS, "bench"},
                           messages);
    }
}

void Run(const char* const* argv) {
    pid_t pid = 0;
    if (::posix_spawnp(&pid, argv[0], nullptr, nullptr, const_cast<char* const*>(argv), environ) !=
        0)
        throw std::runtime_error("spawn");
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(argv[0]);
}

// The reference as an operator's script would do it: cp, then sync of the file.
void BM_CpSync(benchmark::State& state) {
    const std::string from = RequestFile();
    const std::string to = Dir() + "/copy.gdt";
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(to);
        state.ResumeTiming();
        const char* cp[] = {"cp", from.c_str(), to.c_str(), nullptr};
        Run(cp);
        const char* sync[] = {"sync", to.c_str(), nullptr};
        Run(sync);
    }
}

// The same work without the two process starts: read, write, fsync, close.
void BM_CopyFsync(benchmark::State& state) {
    const std::string from = RequestFile();
    const std::string to = Dir() + "/copy.gdt";
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(to);
        state.ResumeTiming();
        const std::string bytes = ReadOnce(from);
        const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        benchmark::DoNotOptimize(::write(out, bytes.data(), bytes.size()));
        ::fsync(out);
        ::close(out);
    }
}

BENCHMARK(BM_Import)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadOnce)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Commit)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CpSync)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CopyFsync)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    // Freed memory stays with the process, for the measured code and its
    // reference alike: otherwise every iteration pays the kernel again for
    // pages that a single run pays for once, and the figures measure that.
    mallopt(M_MMAP_THRESHOLD, 256 << 20);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (std::getenv("BENCH_DIR") == nullptr) {
        std::error_code ec;
        std::filesystem::remove_all(Dir(), ec);
    }
    return 0;
}
