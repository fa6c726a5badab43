// The commit and the start-up recovery under every single fault strace can
// inject: kill -9 before each system call, and EIO or ENOSPC from it. After
// each, a clean start, then the one question that matters: is the request
// delivered (one complete .gdt of it, the request no longer offered) or not
// delivered (no .gdt, the request offered again)? Anything else is counted
// and fails. Also the trace of one commit for its syncs, and the races of a
// practice with two workplaces, made repeatable with strace's delays.
#include "gdt/gdt_line.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>
#include <map>
#include <set>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace tessaro {
namespace {

namespace fsys = std::filesystem;
using namespace std::chrono_literals;

const std::string kDriver = TESSARO_COMMIT_DRIVER;
const std::string kRequest =
    gdt::FormatGdtLine("8000", "6302") + gdt::FormatGdtLine("3000", "4711") +
    gdt::FormatGdtLine("3101", "M\xFCller") + gdt::FormatGdtLine("3102", "J\xFCrgen");
const std::string kLine = gdt::FormatGdtLine("8411", "LW2E");

using test::Slurp;
using test::Spit;

std::string Strace() {
    for (const char* p : {"/usr/bin/strace", "/bin/strace"})
        if (::access(p, X_OK) == 0)
            return p;
    return {};
}

pid_t Spawn(const std::vector<std::string>& args, const fsys::path& out) {
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// Exit status, or 128 + the signal that ended it.
int Wait(pid_t pid) {
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

int RunToEnd(const std::vector<std::string>& args, const fsys::path& out) {
    return Wait(Spawn(args, out));
}

// One practice: the request's folder and the target folder, under a root
// whose path stays the same from run to run, so that every run makes the
// same system calls.
class Practice {
public:
    explicit Practice(fsys::path root) : root_(std::move(root)) {}
    fsys::path Inbox() const { return root_ / "inbox"; }
    fsys::path Outbox() const { return root_ / "outbox"; }
    fsys::path Request(const char* name = "anfrage.gdt") const { return Inbox() / name; }
    // A workplace's program folder, where its lock file keeps the record.
    fsys::path Program(const char* workplace = "wp1") const { return root_ / workplace; }
    fsys::path Out() const { return root_ / "driver.out"; }
    void Fresh(const std::string& request = kRequest) const {
        for (const fsys::path& dir : {Inbox(), Outbox(), Program("wp1"), Program("wp2")}) {
            fsys::create_directories(dir);
            for (const auto& e : fsys::directory_iterator(dir))
                fsys::remove_all(e.path());
        }
        Spit(Request(), request);
    }
    std::vector<std::string> Driver(const char* mode, const char* workplace = "wp1",
                                    const char* request = "anfrage.gdt",
                                    const char* number = "7") const {
        return {kDriver,           mode,  Program(workplace).string(), Request(request).string(),
                Outbox().string(), number};
    }
    // What the folders hold, names and sizes, and the record, as a key for
    // like states.
    std::string Signature() const {
        std::set<std::string> entries;
        for (const fsys::path& dir : {Inbox(), Outbox()})
            for (const auto& e :
                 fsys::directory_iterator(dir, fsys::directory_options::none, ignored_))
                entries.insert(e.path().filename().string() + ":" +
                               std::to_string(fsys::file_size(e.path())));
        std::string key;
        for (const std::string& e : entries)
            key += e + " ";
        return key + "record:" + std::to_string(std::hash<std::string>()(Slurp(LockFile())));
    }
    fsys::path LockFile() const { return Program() / "Tessaro.lock"; }
    // The request's and the target folder's files as hard links, so that a
    // .zzz keeps the identity the record knows it by (the recovery never
    // writes into them); the lock file, which it writes, as a copy.
    void SaveTo(const fsys::path& to) const {
        fsys::remove_all(to);
        fsys::create_directories(to);
        fsys::copy(Inbox(), to / "inbox",
                   fsys::copy_options::create_hard_links | fsys::copy_options::recursive);
        fsys::copy(Outbox(), to / "outbox",
                   fsys::copy_options::create_hard_links | fsys::copy_options::recursive);
        fsys::copy(Program(), to / "wp1");
    }
    // Into the same folders, emptied: the target folder keeps the identity
    // the record knows it by.
    void RestoreFrom(const fsys::path& from) const {
        for (const auto& [dir, saved] :
             {std::pair{Inbox(), from / "inbox"}, std::pair{Outbox(), from / "outbox"},
              std::pair{Program(), from / "wp1"}}) {
            fsys::create_directories(dir);
            for (const auto& e : fsys::directory_iterator(dir))
                fsys::remove_all(e.path());
            fsys::copy(saved, dir,
                       dir == Program()
                           ? fsys::copy_options::none
                           : fsys::copy_options::create_hard_links | fsys::copy_options::recursive);
        }
    }

    // After a clean start: "delivered", "not delivered", "not yet decided"
    // (the target folder away, said, nothing changed), or what is wrong.
    std::string State(const std::string& request = kRequest) const {
        if (RunToEnd(Driver("start"), Out()) != 0)
            return "the clean start failed";
        if (Slurp(Out()).find("Noch nicht entschieden") != std::string::npos)
            return "not yet decided";
        std::vector<std::string> gdt;
        for (const auto& e : fsys::directory_iterator(Outbox()))
            if (e.path().extension() == ".gdt")
                gdt.push_back(Slurp(e.path()));
        bool offered = false;
        for (const auto& e : fsys::directory_iterator(Inbox())) {
            if (e.path().filename() != "anfrage.gdt")
                return "left beside the request: " + e.path().filename().string();
            offered = Slurp(e.path()) == request;
            if (!offered)
                return "the request was changed";
        }
        if (gdt.size() > 1)
            return "two .gdt";
        for (const auto& e : fsys::directory_iterator(Outbox()))
            if (e.path().extension() == ".zzz")
                return "a .zzz left in the target folder";
        if (gdt.size() == 1 && gdt[0] != request + kLine)
            return gdt[0].starts_with(request) ? "a partial .gdt" : "a foreign .gdt";
        if (gdt.size() == 1 && !offered)
            return "delivered";
        if (gdt.empty() && offered)
            return "not delivered";
        return gdt.empty() ? "the request gone without a .gdt" : "delivered and offered again";
    }

private:
    fsys::path root_;
    mutable std::error_code ignored_; // a folder away holds nothing
};

struct Point {
    std::string call;
    int occurrence; // of this call in the whole run, as strace's when= counts
};

// The system calls of a run after its getppid() marker, up to its exit.
std::vector<Point> PointsAfterMarker(const std::vector<std::string>& run, const fsys::path& dir) {
    const fsys::path trace = dir / "reference.trace";
    std::vector<std::string> args = {Strace(), "-qq", "-o", trace.string()};
    args.insert(args.end(), run.begin(), run.end());
    RunToEnd(args, dir / "reference.out");
    std::ifstream in(trace);
    std::map<std::string, int> seen;
    std::vector<Point> points;
    bool after = false;
    for (std::string line; std::getline(in, line);) {
        const auto paren = line.find('(');
        if (paren == std::string::npos || line.starts_with("---") || line.starts_with("+++"))
            continue;
        const std::string call = line.substr(0, paren);
        const int occurrence = ++seen[call];
        if (call == "exit_group")
            break;
        if (after)
            points.push_back({call, occurrence});
        if (call == "getppid")
            after = true;
    }
    return points;
}

std::vector<std::string> Faulted(const Point& p, const std::string& fault,
                                 const std::vector<std::string>& run) {
    const std::string what = fault == "KILL" ? "signal=KILL" : "error=" + fault;
    std::vector<std::string> args = {
        Strace(), "-qq",
        "-o",     "/dev/null",
        "-e",     "trace=" + p.call,
        "-e",     "inject=" + p.call + ":" + what + ":when=" + std::to_string(p.occurrence)};
    args.insert(args.end(), run.begin(), run.end());
    return args;
}

class Faults : public ::testing::Test {
protected:
    void SetUp() override {
        if (Strace().empty())
            GTEST_SKIP() << "strace is not installed (Debian package strace)";
        // The leak check of a sanitized build stops the process with ptrace at
        // its end, which a process strace already traces cannot allow.
        ::setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
        root_ = tmp_.path();
        // strace needs ptrace; a container may forbid it.
        if (RunToEnd({Strace(), "-qq", "-o", "/dev/null", "/bin/true"}, root_ / "probe.out") != 0)
            GTEST_SKIP() << "strace cannot trace here (ptrace not permitted)";
    }
    test::TempDir tmp_;
    fsys::path root_;
};

// Kill before every call; EIO from every call; ENOSPC from every call that
// can report a full disk.
std::vector<std::string> FaultsFor(const std::string& call) {
    static const std::set<std::string> canBeFull = {
        "write",  "pwrite64", "writev",    "fsync", "fdatasync", "openat", "open",      "creat",
        "rename", "renameat", "renameat2", "link",  "linkat",    "mkdir",  "ftruncate", "close"};
    if (canBeFull.count(call))
        return {"KILL", "EIO", "ENOSPC"};
    return {"KILL", "EIO"};
}

struct Job {
    std::string label;
    Point point;
    std::string fault;
    const char* mode;
    fsys::path from; // a saved state to start from; empty: a fresh practice
    int worker = -1; // the practice the saved state came from (its record names its paths)
};

struct Outcome {
    std::string label, state, signature;
    fsys::path saved; // what a killed commit left, for the recovery runs
    int worker = -1;
};

// Runs the jobs on two workers, each in a practice of its own whose path is
// as long as the other's, so that both make the same calls. A job from a
// saved state runs where that state was made.
std::vector<Outcome> RunJobs(const std::vector<Job>& jobs, const fsys::path& root) {
    std::vector<Outcome> outcomes(jobs.size());
    std::atomic<std::size_t> next[2] = {0, 0};
    const auto work = [&](int worker) {
        const Practice practice(root / ("w" + std::to_string(worker)));
        for (std::size_t i; (i = next[worker]++) < jobs.size();) {
            const Job& job = jobs[i];
            if (job.worker >= 0 ? job.worker != worker : i % 2 != static_cast<std::size_t>(worker))
                continue;
            if (job.from.empty())
                practice.Fresh();
            else
                practice.RestoreFrom(job.from);
            RunToEnd(Faulted(job.point, job.fault, practice.Driver(job.mode)), practice.Out());
            Outcome& o = outcomes[i];
            o.label = job.label;
            o.worker = worker;
            if (job.fault == "KILL" && job.from.empty()) {
                o.signature = practice.Signature();
                o.saved = root / ("saved" + std::to_string(i));
                practice.SaveTo(o.saved);
            }
            o.state = practice.State();
        }
    };
    std::thread second(work, 1);
    work(0);
    second.join();
    return outcomes;
}

TEST_F(Faults, EveryKillAndErrorInCommitAndRecoveryEndsDeliveredOrNotDelivered) {
    const Practice reference(root_ / "w0");
    reference.Fresh();
    const std::vector<Point> commit = PointsAfterMarker(reference.Driver("commit"), root_);
    ASSERT_GT(commit.size(), 20u) << "the reference run made too few calls";

    std::vector<Job> jobs;
    for (const Point& p : commit)
        for (const std::string& fault : FaultsFor(p.call))
            jobs.push_back(
                {"commit, " + fault + " at " + p.call + " #" + std::to_string(p.occurrence),
                 p,
                 fault,
                 "commit",
                 {}});
    const std::vector<Outcome> committed = RunJobs(jobs, root_);

    // The recovery itself cut short, from every distinct state a kill left.
    std::map<std::string, const Outcome*> interrupted;
    for (const Outcome& o : committed)
        if (!o.saved.empty())
            interrupted.emplace(o.signature, &o);
    std::vector<Job> recoveryJobs;
    // And from each, a start while the target folder is away (a share not
    // yet mounted) or another folder stands in its place (its mount point):
    // nothing may be decided then; once it is back, the next start decides.
    std::vector<std::string> awayWrong;
    for (const auto& [key, made] : interrupted) {
        const Practice own(root_ / ("w" + std::to_string(made->worker)));
        for (const bool standIn : {false, true}) {
            own.RestoreFrom(made->saved);
            const fsys::path share = own.Outbox().string() + ".share";
            fsys::rename(own.Outbox(), share);
            if (standIn)
                fsys::create_directory(own.Outbox());
            const std::string before = own.Signature();
            RunToEnd(own.Driver("start"), own.Out());
            const std::string said = Slurp(own.Out());
            const bool waited = said.find("Noch nicht entschieden") != std::string::npos;
            if (waited && own.Signature() != before)
                awayWrong.push_back(key + ": changed while the target folder was away");
            if (said.find("Zugestellt") != std::string::npos)
                awayWrong.push_back(key + ": said delivered while the target folder was away");
            fsys::remove_all(own.Outbox());
            fsys::rename(share, own.Outbox());
            const std::string state = own.State();
            if (state != "delivered" && state != "not delivered")
                awayWrong.push_back(key + ", the folder back: " + state);
        }
        own.RestoreFrom(made->saved);
        for (const Point& p : PointsAfterMarker(own.Driver("start"), root_))
            for (const std::string& fault : FaultsFor(p.call))
                recoveryJobs.push_back({"recovery of [" + key + "], " + fault + " at " + p.call +
                                            " #" + std::to_string(p.occurrence),
                                        p, fault, "start", made->saved, made->worker});
    }
    for (const std::string& w : awayWrong)
        ADD_FAILURE() << w;
    const std::vector<Outcome> recovered = RunJobs(recoveryJobs, root_);

    std::map<std::string, int> ends;
    std::vector<std::string> wrong;
    int counts[2][2] = {}; // [commit, recovery][kill, error]
    for (int phase = 0; phase < 2; ++phase) {
        const auto& list = phase == 0 ? jobs : recoveryJobs;
        const auto& outcomes = phase == 0 ? committed : recovered;
        for (std::size_t i = 0; i < list.size(); ++i) {
            ++counts[phase][list[i].fault == "KILL" ? 0 : 1];
            ++ends[outcomes[i].state];
            if (outcomes[i].state != "delivered" && outcomes[i].state != "not delivered")
                wrong.push_back(outcomes[i].label + ": " + outcomes[i].state);
        }
    }
    std::cout << "[ figures  ] commit: " << commit.size() << " system calls, " << counts[0][0]
              << " kill points, " << counts[0][1] << " injected errors (EIO, ENOSPC)\n"
              << "[ figures  ] recovery from " << interrupted.size()
              << " distinct interrupted states: " << counts[1][0] << " kill points, "
              << counts[1][1] << " injected errors\n"
              << "[ figures  ] " << jobs.size() + recoveryJobs.size() << " end states checked:";
    for (const auto& [state, n] : ends)
        std::cout << " " << state << " " << n << ";";
    std::cout << " outside the two allowed: " << wrong.size() << "\n";
    for (const std::string& w : wrong)
        ADD_FAILURE() << w;
    EXPECT_GT(ends["delivered"], 0);
    EXPECT_GT(ends["not delivered"], 0);
}

// The syncs that make a commit survive a power loss, in their order: the
// record before the claim; the claim before the result; the .zzz's data and
// then its name (the target folder) before the record says it is ready; the
// ready record before the rename; the target folder after the rename, before
// the claim goes; the request's folder after that, before the record is
// cleared. Each one missing fails here.
TEST_F(Faults, OneCommitSyncsEachStepBeforeTheNext) {
    const Practice practice(root_ / "practice");
    practice.Fresh();
    const fsys::path trace = root_ / "sync.trace";
    std::vector<std::string> args = {Strace(),
                                     "-qq",
                                     "-y",
                                     "-o",
                                     trace.string(),
                                     "-e",
                                     "trace=fsync,fdatasync,rename,renameat,renameat2,unlink,"
                                     "unlinkat,link,linkat"};
    const auto run = practice.Driver("commit");
    args.insert(args.end(), run.begin(), run.end());
    ASSERT_EQ(RunToEnd(args, practice.Out()), 0);
    std::vector<std::string> calls;
    std::ifstream in(trace);
    for (std::string line; std::getline(in, line);)
        calls.push_back(line);
    const auto find = [&](std::size_t from, const std::string& a, const std::string& b = "") {
        for (std::size_t i = from; i < calls.size(); ++i)
            if (calls[i].find(a) != std::string::npos &&
                (b.empty() || calls[i].find(b) != std::string::npos))
                return i;
        return calls.size();
    };
    const std::string inbox = "<" + practice.Inbox().string() + ">";
    const std::string outbox = "<" + practice.Outbox().string() + ">";
    const std::string record = "Tessaro.lock>";
    const std::size_t intent = find(0, "fdatasync(", record);
    const std::size_t claim = find(0, "rename", ".claim");
    const std::size_t claimSync = find(claim, "fsync(", inbox);
    const std::size_t zzzSync = find(0, "fsync(", "001.7.zzz>");
    const std::size_t zzzNameSync = find(zzzSync, "fsync(", outbox);
    const std::size_t ready = find(zzzNameSync, "fdatasync(", record);
    const std::size_t put = find(0, "rename", "001.7.gdt");
    const std::size_t putSync = find(put, "fsync(", outbox);
    const std::size_t unclaim = find(put, "unlink", ".claim");
    const std::size_t unclaimSync = find(unclaim, "fsync(", inbox);
    const std::size_t cleared = find(unclaimSync, "fdatasync(", record);
    std::string all;
    for (const std::string& c : calls)
        all += c + "\n";
    const std::size_t order[] = {intent, claim,   claimSync, zzzSync,     zzzNameSync, ready,
                                 put,    putSync, unclaim,   unclaimSync, cleared};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        EXPECT_LT(order[i], order[i + 1]) << "step " << i << "\n" << all;
    EXPECT_LT(cleared, calls.size()) << all;
}

// A string as strace prints it with -xx, quotes included or not.
std::string Unquote(std::string_view text) {
    if (text.size() >= 2 && text.front() == '"')
        text = text.substr(1, text.size() - 2);
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 >= text.size()) {
            out += text[i];
        } else if (text[i + 1] == 'x' && i + 3 < text.size()) {
            out += static_cast<char>(std::stoi(std::string(text.substr(i + 2, 2)), nullptr, 16));
            i += 3;
        } else {
            const char c = text[++i];
            out += c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c;
        }
    }
    return out;
}

// What one traced call did to the disk, by path.
struct DiskOp {
    enum Kind { Create, Write, Rename, Unlink, Sync } kind;
    std::string path, to; // to: a rename's new name
    std::string bytes;
    std::size_t offset = 0;
};

// The changes and syncs of one commit, from a trace made with -y -xx.
std::vector<DiskOp> DiskOps(const fsys::path& trace, const std::string& under) {
    std::vector<DiskOp> ops;
    std::map<std::string, std::size_t> offsets; // of the files written with write()
    bool after = false;
    std::ifstream in(trace);
    for (std::string line; std::getline(in, line);) {
        // strace pads short calls before " = ".
        const auto paren = line.find('(');
        const auto equals = line.rfind(" = ");
        const auto result = line.find_last_of(')', equals);
        if (paren == std::string::npos || equals == std::string::npos ||
            result == std::string::npos)
            continue;
        const std::string call = line.substr(0, paren);
        if (call == "getppid") {
            after = true;
            continue;
        }
        if (!after || line.compare(equals + 3, 1, "-") == 0)
            continue;
        // The arguments: strings in quotes, fds as N<path>.
        std::vector<std::string> args;
        for (std::size_t i = paren + 1; i < result;) {
            std::size_t end = i;
            if (line[i] == '"') {
                for (end = i + 1; end < result && line[end] != '"'; ++end)
                    if (line[end] == '\\')
                        ++end;
                ++end;
            } else {
                int depth = 0;
                for (; end < result && (depth > 0 || line[end] != ','); ++end)
                    depth += line[end] == '<' ? 1 : line[end] == '>' ? -1 : 0;
            }
            std::string arg = line.substr(i, end - i);
            if (const auto lt = arg.find('<'); lt != std::string::npos && arg.back() == '>')
                arg = Unquote(arg.substr(lt + 1, arg.size() - lt - 2));
            else
                arg = Unquote(arg);
            args.push_back(arg);
            i = end + 2;
        }
        const auto in_ = [&](const std::string& path) { return path.starts_with(under); };
        if (call == "openat" && args.size() > 2 && args[2].find("O_CREAT") != std::string::npos &&
            in_(args[1])) {
            ops.push_back({DiskOp::Create, args[1], {}, {}, 0});
            offsets[args[1]] = 0;
        } else if ((call == "write" || call == "pwrite64") && args.size() > 1 && in_(args[0])) {
            DiskOp op{DiskOp::Write, args[0], {}, args[1], 0};
            op.offset = call == "pwrite64" ? std::stoul(args[3]) : offsets[args[0]];
            offsets[args[0]] = op.offset + op.bytes.size();
            ops.push_back(op);
        } else if ((call == "fsync" || call == "fdatasync") && in_(args[0])) {
            ops.push_back({DiskOp::Sync, args[0], {}, {}, 0});
        } else if (call == "renameat2" && args.size() > 3 && in_(args[1])) {
            ops.push_back({DiskOp::Rename, args[1], args[3], {}, 0});
        } else if (call == "unlink" && in_(args[0])) {
            ops.push_back({DiskOp::Unlink, args[0], {}, {}, 0});
        } else if (call == "link" || call == "linkat" || call == "unlinkat") {
            ADD_FAILURE() << "a call the model does not know: " << line;
        }
    }
    return ops;
}

// Under the strict model: a write is durable once its file is synced, a
// name once its folder is.
bool Durable(const std::vector<DiskOp>& ops, std::size_t op, std::size_t cut) {
    const DiskOp& o = ops[op];
    const std::string needs =
        o.kind == DiskOp::Write
            ? o.path
            : fsys::path(o.kind == DiskOp::Rename ? o.to : o.path).parent_path().string();
    for (std::size_t j = op + 1; j < cut; ++j)
        if (ops[j].kind == DiskOp::Sync && ops[j].path == needs)
            return true;
    return false;
}

// The files after the first cut ops, those in lost left out and those in
// torn kept only in their first half.
std::map<std::string, std::string> Replay(std::map<std::string, std::string> files,
                                          const std::vector<DiskOp>& ops, std::size_t cut,
                                          const std::set<std::size_t>& lost,
                                          const std::set<std::size_t>& torn) {
    for (std::size_t i = 0; i < cut; ++i) {
        const DiskOp& o = ops[i];
        if (lost.count(i))
            continue;
        if (o.kind == DiskOp::Create) {
            files.emplace(o.path, "");
        } else if (o.kind == DiskOp::Write && files.count(o.path)) {
            std::string& f = files[o.path];
            const std::string bytes =
                torn.count(i) ? o.bytes.substr(0, o.bytes.size() / 2) : o.bytes;
            if (f.size() < o.offset + bytes.size())
                f.resize(o.offset + bytes.size(), '\0');
            f.replace(o.offset, bytes.size(), bytes);
        } else if (o.kind == DiskOp::Rename && files.count(o.path) && !files.count(o.to)) {
            files[o.to] = files[o.path];
            files.erase(o.path);
        } else if (o.kind == DiskOp::Unlink) {
            files.erase(o.path);
        }
    }
    return files;
}

// A power loss at every point of one commit (after ALICE): every state the
// strict model allows, the lock file's own torn writes included, is
// rebuilt in the practice's folders and started once: delivered once, or not
// delivered with the request offered, nothing else.
TEST_F(Faults, EveryPowerLossStateOfOneCommitRecovers) {
    const Practice practice(root_ / "practice");
    practice.Fresh();
    const fsys::path trace = root_ / "power.trace";
    std::vector<std::string> args = {
        Strace(),
        "-qq",
        "-y",
        "-xx",
        "-s",
        "1048576",
        "-o",
        trace.string(),
        "-e",
        "trace=getppid,openat,write,pwrite64,fsync,fdatasync,renameat2,link,linkat,unlink,"
        "unlinkat"};
    const auto run = practice.Driver("commit");
    args.insert(args.end(), run.begin(), run.end());
    ASSERT_EQ(RunToEnd(args, practice.Out()), 0);
    const std::vector<DiskOp> ops = DiskOps(trace, (root_ / "practice").string());
    ASSERT_GT(ops.size(), 10u);

    const std::map<std::string, std::string> before = {{practice.Request().string(), kRequest},
                                                       {practice.LockFile().string(), ""}};
    std::set<std::map<std::string, std::string>> states;
    for (std::size_t cut = 0; cut <= ops.size(); ++cut) {
        std::vector<std::size_t> pending;
        for (std::size_t i = 0; i < cut; ++i)
            if (ops[i].kind != DiskOp::Sync && !Durable(ops, i, cut))
                pending.push_back(i);
        std::vector<std::set<std::size_t>> losses;
        if (pending.size() <= 6) {
            for (std::size_t mask = 0; mask < (1u << pending.size()); ++mask) {
                std::set<std::size_t> lost;
                for (std::size_t b = 0; b < pending.size(); ++b)
                    if (mask & (1u << b))
                        lost.insert(pending[b]);
                losses.push_back(lost);
            }
        } else {
            for (std::size_t n = 0; n <= pending.size(); ++n) {
                losses.push_back({pending.begin() + static_cast<std::ptrdiff_t>(n), pending.end()});
                losses.push_back({pending[n < pending.size() ? n : 0]});
            }
        }
        for (const auto& lost : losses) {
            states.insert(Replay(before, ops, cut, lost, {}));
            for (const std::size_t i : pending)
                if (ops[i].kind == DiskOp::Write && !lost.count(i))
                    states.insert(Replay(before, ops, cut, lost, {i}));
        }
    }
    std::map<std::string, int> ends;
    for (const auto& files : states) {
        practice.Fresh();
        fsys::remove(practice.Request());
        for (const auto& [path, bytes] : files)
            Spit(path, bytes);
        std::string key;
        for (const auto& [path, bytes] : files)
            key += fsys::path(path).filename().string() + ":" + std::to_string(bytes.size()) + " ";
        const std::string state = practice.State();
        ++ends[state];
        if (state != "delivered" && state != "not delivered")
            ADD_FAILURE() << "[" << key << "]: " << state;
    }
    std::cout << "[ figures  ] power loss: " << ops.size() << " changes and syncs, "
              << states.size() << " crash states:";
    for (const auto& [state, n] : ends)
        std::cout << " " << state << " " << n << ";";
    std::cout << "\n";
    EXPECT_GT(ends["delivered"], 0);
    EXPECT_GT(ends["not delivered"], 0);
}

// Races of a practice, each window held open by a delay before one system
// call while the other party acts: withdrawn, changed, the next request, a
// second workplace with the same Lumeo ID and number, one request taken by
// two workplaces, and a request the operator may not move.
TEST_F(Faults, RacesEndDeliveredOnceOrNotAtAll) {
    const Practice practice(root_ / "practice");
    const std::string changed = kRequest + gdt::FormatGdtLine("6220", "neu");
    const std::string newer = gdt::FormatGdtLine("3000", "4712");
    const std::string other = gdt::FormatGdtLine("3000", "4713");
    const auto zzzComplete = [&] {
        return Slurp(practice.Outbox() / "001.7.zzz").size() == (kRequest + kLine).size();
    };
    const auto offered = [&] {
        return Slurp(practice.Out()).find("offered:") != std::string::npos;
    };
    const struct {
        const char* what;
        const char* inject; // on the committing workplace "wp1"
        std::function<bool()> ready;
        std::function<void()> act;
        int status;               // of wp1
        const char* gdtHolds;     // "ours", "theirs", "" none
        std::string requestAfter; // at anfrage.gdt afterwards ("" gone)
    } rows[] = {
        {"withdrawn before the claim", "renameat2:delay_enter=1500000:when=1", offered,
         [&] { fsys::remove(practice.Request()); }, 3, "", ""},
        {"changed before the claim", "renameat2:delay_enter=1500000:when=1", offered,
         [&] { Spit(practice.Request(), changed); }, 3, "", changed},
        {"next request while the result is written", "renameat2:delay_enter=1500000:when=2",
         zzzComplete, [&] { Spit(practice.Request(), newer); }, 0, "ours", newer},
        {"another workplace, same Lumeo ID and number, other request",
         "renameat2:delay_enter=1500000:when=2", zzzComplete,
         [&] {
             Spit(practice.Request("b.gdt"), other);
             EXPECT_EQ(
                 RunToEnd(practice.Driver("commit", "wp2", "b.gdt"), practice.Inbox() / "../b.out"),
                 3);
             EXPECT_EQ(Slurp(practice.Request("b.gdt")), other);
         },
         0, "ours", ""},
        {"another workplace takes the same request", "renameat2:delay_enter=1500000:when=1",
         offered,
         [&] {
             EXPECT_EQ(RunToEnd(practice.Driver("commit", "wp2"), practice.Inbox() / "../b.out"),
                       0);
         },
         3, "theirs", ""},
        {"the operator may not move the request", "renameat2:error=EACCES:when=1", nullptr, nullptr,
         4, "", kRequest},
        {"nor may he here", "renameat2:error=EPERM:when=1", nullptr, nullptr, 4, "", kRequest},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        practice.Fresh();
        std::vector<std::string> args = {Strace(), "-qq",
                                         "-o",     "/dev/null",
                                         "-e",     "trace=renameat2",
                                         "-e",     std::string("inject=") + r.inject};
        const auto run = practice.Driver("commit");
        args.insert(args.end(), run.begin(), run.end());
        const pid_t pid = Spawn(args, practice.Out());
        if (r.ready) {
            const auto deadline = std::chrono::steady_clock::now() + 10s;
            while (!r.ready() && std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(5ms);
            ASSERT_TRUE(r.ready()) << "the committing run did not get there";
            std::this_thread::sleep_for(100ms); // on into the delayed call
            r.act();
        }
        EXPECT_EQ(Wait(pid), r.status) << Slurp(practice.Out());
        std::vector<std::string> gdt;
        for (const auto& e : fsys::directory_iterator(practice.Outbox()))
            if (e.path().extension() == ".gdt")
                gdt.push_back(Slurp(e.path()));
        const std::string holds = r.gdtHolds;
        ASSERT_EQ(gdt.size(), holds.empty() ? 0u : 1u);
        if (!holds.empty()) {
            EXPECT_EQ(gdt[0], kRequest + kLine);
        }
        EXPECT_EQ(Slurp(practice.Request()), r.requestAfter);
        EXPECT_EQ(fsys::exists(practice.Request()), !r.requestAfter.empty());
        for (const auto& e : fsys::directory_iterator(practice.Inbox()))
            EXPECT_NE(e.path().extension(), ".claim") << e.path();
    }
}

} // namespace
} // namespace tessaro
