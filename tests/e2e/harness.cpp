#include "harness.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/personality.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <system_error>
#include <thread>

#include "e2e_programs.h"  // generated: default_program_paths, the programs of this build tree

extern char** environ;

namespace e2e {
namespace {

std::string env_or_empty(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The environment for a child: ours, with the given variables set.
std::vector<std::string> child_environment(const std::map<std::string, std::string>& overrides)
{
    std::vector<std::string> env;
    for (char** entry = environ; entry && *entry; ++entry) {
        const std::string text = *entry;
        const std::string name = text.substr(0, text.find('='));
        if (!overrides.count(name))
            env.push_back(text);
    }
    for (const auto& [name, value] : overrides)
        env.push_back(name + "=" + value);
    return env;
}

std::vector<char*> pointers(std::vector<std::string>& texts)
{
    std::vector<char*> table;
    for (auto& text : texts)
        table.push_back(text.data());
    table.push_back(nullptr);
    return table;
}

struct RawRun {
    std::string file;                  // what is executed
    std::vector<std::string> argv;
    std::vector<std::string> env;
    std::string stdin_text;
    std::filesystem::path cwd;
    std::chrono::milliseconds timeout;
    long long file_size_limit = 0;
};

// In the child, after fork: its folder and limits, then the program. Never returns.
[[noreturn]] void exec_child(const RawRun& run, const std::string& cwd, char** argv, char** envp)
{
    if (!cwd.empty() && chdir(cwd.c_str()) != 0) {
        const char message[] = "e2e: chdir failed\n";
        (void)!write(2, message, sizeof message - 1);
        _exit(127);
    }
    if (run.file_size_limit > 0) {
        const rlimit limit{static_cast<rlim_t>(run.file_size_limit), static_cast<rlim_t>(run.file_size_limit)};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_IGN);
    }
    environ = envp;
    execvp(run.file.c_str(), argv);
    const char message[] = "e2e: exec failed\n";
    (void)!write(2, message, sizeof message - 1);
    _exit(127);
}

// fork/exec with all three standard streams on pipes. Input and both outputs go
// through one poll loop, so a child that writes much before reading its input
// (or the other way round) cannot block us, nor we it.
Result run_raw(RawRun run)
{
    static const bool sigpipe_ignored = [] { return std::signal(SIGPIPE, SIG_IGN) != SIG_ERR; }();
    (void)sigpipe_ignored;

    int in[2], out[2], err[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) {
        ADD_FAILURE() << "pipe: " << std::strerror(errno);
        return {-1, "", ""};
    }
    std::vector<char*> argv = pointers(run.argv);
    std::vector<char*> envp = pointers(run.env);
    const std::string cwd = run.cwd.string();

    const pid_t pid = fork();
    if (pid < 0) {
        ADD_FAILURE() << "fork: " << std::strerror(errno);
        return {-1, "", ""};
    }
    if (pid == 0) {
        dup2(in[0], 0);
        dup2(out[1], 1);
        dup2(err[1], 2);
        exec_child(run, cwd, argv.data(), envp.data());
    }
    close(in[0]);
    close(out[1]);
    close(err[1]);

    int to_child = in[1];
    fcntl(to_child, F_SETFL, O_NONBLOCK);
    std::size_t written = 0;
    if (run.stdin_text.empty()) {
        close(to_child);
        to_child = -1;
    }
    int from_child[2] = {out[0], err[0]};
    std::string* sink[2] = {nullptr, nullptr};
    Result result{-1, "", ""};
    sink[0] = &result.out;
    sink[1] = &result.err;

    const auto deadline = std::chrono::steady_clock::now() + run.timeout;
    bool timed_out = false;
    while (from_child[0] >= 0 || from_child[1] >= 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            timed_out = true;
            break;
        }
        pollfd fds[3];
        int count = 0;
        int who[3];
        for (int i = 0; i < 2; ++i) {
            if (from_child[i] >= 0) {
                fds[count] = {from_child[i], POLLIN, 0};
                who[count++] = i;
            }
        }
        if (to_child >= 0) {
            fds[count] = {to_child, POLLOUT, 0};
            who[count++] = 2;
        }
        const int ready = poll(fds, count, static_cast<int>(std::min<long long>(left.count(), 1000)));
        if (ready < 0 && errno != EINTR) {
            ADD_FAILURE() << "poll: " << std::strerror(errno);
            break;
        }
        for (int k = 0; ready > 0 && k < count; ++k) {
            if (fds[k].revents == 0)
                continue;
            if (who[k] == 2) {
                const ssize_t n = write(to_child, run.stdin_text.data() + written,
                                        run.stdin_text.size() - written);
                if (n > 0)
                    written += static_cast<std::size_t>(n);
                if ((n < 0 && errno != EAGAIN && errno != EINTR) || written == run.stdin_text.size()) {
                    close(to_child);  // all given, or the child will read no more
                    to_child = -1;
                }
            } else {
                char buffer[65536];
                const ssize_t n = read(fds[k].fd, buffer, sizeof buffer);
                if (n > 0) {
                    sink[who[k]]->append(buffer, static_cast<std::size_t>(n));
                } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
                    close(fds[k].fd);
                    from_child[who[k]] = -1;
                }
            }
        }
    }
    if (to_child >= 0)
        close(to_child);
    for (int fd : from_child)
        if (fd >= 0)
            close(fd);

    if (timed_out)
        kill(pid, SIGKILL);
    int wait_status = 0;
    while (waitpid(pid, &wait_status, 0) < 0 && errno == EINTR) {
    }
    if (timed_out) {
        ADD_FAILURE() << run.argv.front() << ": no end after " << run.timeout.count() << " ms, killed";
        result.status = -1;
    } else if (WIFEXITED(wait_status)) {
        result.status = WEXITSTATUS(wait_status);
    } else if (WIFSIGNALED(wait_status)) {
        result.status = -WTERMSIG(wait_status);
    }
    return result;
}

std::map<std::string, std::string> wine_variables(const Target& target)
{
    return {
        {"WINEPREFIX", target.wineprefix},
        // Quiet unless a diagnosis asks for Wine's channels (E2E_WINEDEBUG=err+all).
        {"WINEDEBUG", env_or_empty("E2E_WINEDEBUG").empty() ? "-all" : env_or_empty("E2E_WINEDEBUG")},
        // No Mono or Gecko installer dialogs: the programs need neither.
        {"WINEDLLOVERRIDES", "mscoree,mshtml="},
    };
}

}  // namespace

std::string wine_complaint(const std::string& err)
{
    // Wine writes these itself, whatever WINEDEBUG says, when it cannot start or
    // keep running a program (the loader's and ntdll's fatal errors, a lost
    // connection to the wine server, a working directory it cannot map).
    static const char* const heads[] = {"wine: ", "wine client error", "wineserver: ",
                                        "Warning: could not find DOS drive"};
    std::size_t start = 0;
    while (start < err.size()) {
        std::size_t end = err.find_first_of("\r\n", start);  // the progress counter ends its lines in "\r"
        if (end == std::string::npos)
            end = err.size();
        const std::string line = err.substr(start, end - start);
        for (const char* head : heads)
            if (line.rfind(head, 0) == 0)
                return line;
        start = end + 1;
    }
    return "";
}

namespace {

std::string wineserver_of(const std::string& wine)
{
    const auto beside = std::filesystem::path(wine).parent_path() / "wineserver";
    return e2e::exists(beside) ? beside.string() : "wineserver";
}

// Runs a helper with its output thrown away (a daemon it leaves behind must not
// hold our pipes open) and returns its exit status.
int run_quietly(const std::vector<std::string>& args, const std::vector<std::string>& env)
{
    std::vector<std::string> argv_texts = args;
    std::vector<std::string> env_texts = env;
    std::vector<char*> argv = pointers(argv_texts);
    std::vector<char*> envp = pointers(env_texts);
    const pid_t pid = fork();
    if (pid < 0)
        return -1;
    if (pid == 0) {
        const int null = open("/dev/null", O_RDWR);
        dup2(null, 0);
        dup2(null, 1);
        dup2(null, 2);
        environ = envp.data();
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A prefix is initialised once (wineboot takes a few seconds); a prefix made by
// us is removed when the test process ends. A wine server kept running for the
// whole test process saves seconds on every program start.
void prepare_wineprefix(const Target& target, bool ours)
{
    const auto env = child_environment(wine_variables(target));
    const std::string server = wineserver_of(target.wine);
    if (!e2e::exists(std::filesystem::path(target.wineprefix) / ".update-timestamp")) {
        std::filesystem::create_directories(target.wineprefix);
        if (run_quietly({target.wine, "wineboot", "--init"}, env) != 0)
            std::fprintf(stderr, "e2e: wineboot failed in %s\n", target.wineprefix.c_str());
        run_quietly({server, "-w"}, env);  // the server wineboot started ends by itself
    }
    // What the clean-up at exit needs, kept apart from Target, which is gone by then.
    struct Cleanup {
        std::string server;
        std::vector<std::string> env;
        std::string prefix;
        bool server_is_ours;
        bool prefix_is_ours;
    };
    static const Cleanup* cleanup = nullptr;
    const bool server_is_ours = run_quietly({server, "-p"}, env) == 0;  // 2: one runs already
    // The first program of a server's life starts Wine's background services,
    // which would inherit that program's output pipes and hold them open.
    run_quietly({target.wine, "wineboot"}, env);
    cleanup = new Cleanup{server, env, target.wineprefix, server_is_ours, ours};
    std::atexit([] {
        if (cleanup->server_is_ours || cleanup->prefix_is_ours) {
            run_quietly({cleanup->server, "-k"}, cleanup->env);
            run_quietly({cleanup->server, "-w"}, cleanup->env);  // until it has gone
        }
        if (cleanup->prefix_is_ours) {
            std::error_code ignored;
            std::filesystem::remove_all(cleanup->prefix, ignored);
        }
    });
}

}  // namespace

const Target& Target::get()
{
    static const Target target = [] {
        Target t;
        t.bin_dir = env_or_empty("E2E_BIN_DIR");
        t.wine = env_or_empty("E2E_WINE");
        t.windows = !t.wine.empty();
        if (!t.windows)
            return t;
        // Wine must map its shared user data at one fixed address in every
        // process it starts. With the address space laid out at random, now and
        // then a mapping already stands there: Wine's start-up then fails
        // (STATUS_CONFLICTING_ADDRESSES) and the process ends with status 1
        // before the program runs, silently under WINEDEBUG=-all. Every process
        // started from here (servers, wineboot, the programs) inherits a fixed
        // layout instead.
        if (personality(0xffffffff) != -1)
            personality(static_cast<unsigned long>(personality(0xffffffff)) | ADDR_NO_RANDOMIZE);
        t.sep = '\\';
        t.newline = "\r\n";
        t.exe_suffix = ".exe";
        t.wineprefix = env_or_empty("E2E_WINEPREFIX");
        const bool ours = t.wineprefix.empty();
        if (ours) {
            char pattern[] = "/tmp/e2e-wineprefix-XXXXXX";
            if (!mkdtemp(pattern)) {
                std::perror("e2e: mkdtemp");
                std::abort();
            }
            t.wineprefix = pattern;
        }
        prepare_wineprefix(t, ours);
        return t;
    }();
    return target;
}

std::string Target::native(const std::filesystem::path& path) const
{
    std::string text = path.string();
    if (!windows)
        return text;
    if (!text.empty() && text.front() == '/')
        text = "Z:" + text;
    std::replace(text.begin(), text.end(), '/', '\\');
    return text;
}

std::string Target::program(const std::string& name) const
{
    if (!bin_dir.empty())
        return (std::filesystem::path(bin_dir) / (name + exe_suffix)).string();
    for (const auto& [known, path] : default_program_paths)
        if (name == known)
            return path;
    return "";
}

std::string Target::text(const std::string& lf_text) const
{
    std::string result;
    for (char c : lf_text) {
        if (c == '\n')
            result += newline;
        else
            result += c;
    }
    return result;
}

namespace {

// What is executed for an invocation: the program itself, or Wine running it.
bool prepare(const Invocation& invocation, RawRun& raw)
{
    const Target& target = Target::get();
    const std::string path = invocation.program.find('/') != std::string::npos
                                 ? invocation.program
                                 : target.program(invocation.program);
    if (path.empty() || !e2e::exists(path)) {
        ADD_FAILURE() << "no program " << invocation.program << " (looked for \"" << path << "\")";
        return false;
    }
    raw = RawRun{path, {}, {}, invocation.stdin_text, invocation.cwd, invocation.timeout,
                 invocation.file_size_limit};
    if (target.windows) {
        // Wine makes argv[0] from the program's path; it cannot be chosen, nor left out.
        if (invocation.argv0 || invocation.no_argv) {
            ADD_FAILURE() << "argv[0] cannot be set under Wine: skip this test there";
            return false;
        }
        raw.file = target.wine;
        raw.argv = {target.wine, path};
        raw.env = child_environment(wine_variables(target));
    } else {
        raw.argv = {invocation.argv0.value_or(path)};
        raw.env = child_environment({});
    }
    if (invocation.no_argv)
        raw.argv.clear();
    raw.argv.insert(raw.argv.end(), invocation.args.begin(), invocation.args.end());
    return true;
}

// Told apart from the program's own failures, which the test's checks report.
void check_wine(const std::string& program, const Result& result)
{
    if (!Target::get().windows)
        return;
    const std::string complaint = wine_complaint(result.err);
    if (!complaint.empty())
        ADD_FAILURE() << "Wine failed, not the program: " << program << " got status " << result.status
                      << " with Wine's message \"" << complaint << "\"";
}

int status_of(int wait_status)
{
    if (WIFEXITED(wait_status))
        return WEXITSTATUS(wait_status);
    return WIFSIGNALED(wait_status) ? -WTERMSIG(wait_status) : -1;
}

}  // namespace

Result run(const Invocation& invocation)
{
    RawRun raw;
    if (!prepare(invocation, raw))
        return {-1, "", ""};
    Result result = run_raw(std::move(raw));
    check_wine(invocation.program, result);
    return result;
}

Started::Started(const Invocation& invocation) : program_(invocation.program), timeout_(invocation.timeout)
{
    RawRun raw;
    if (!prepare(invocation, raw))
        return;
    char out_name[] = "/tmp/e2e-out-XXXXXX", err_name[] = "/tmp/e2e-err-XXXXXX";
    const int out = mkstemp(out_name), err = mkstemp(err_name);
    int in[2];
    if (out < 0 || err < 0 || pipe2(in, O_CLOEXEC) != 0) {
        ADD_FAILURE() << "cannot start " << program_ << ": " << std::strerror(errno);
        return;
    }
    out_ = out_name;
    err_ = err_name;
    std::vector<char*> argv = pointers(raw.argv);
    std::vector<char*> envp = pointers(raw.env);
    const std::string cwd = raw.cwd.string();
    pid_ = fork();
    if (pid_ == 0) {
        dup2(in[0], 0);
        dup2(out, 1);
        dup2(err, 2);
        exec_child(raw, cwd, argv.data(), envp.data());
    }
    close(in[0]);
    close(out);
    close(err);
    input_ = in[1];
    if (pid_ < 0) {
        ADD_FAILURE() << "fork: " << std::strerror(errno);
        return;
    }
    for (std::size_t done = 0; done < raw.stdin_text.size();) {
        const ssize_t n = write(input_, raw.stdin_text.data() + done, raw.stdin_text.size() - done);
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
}

Started::~Started()
{
    if (pid_ > 0 && !ended_) {
        kill(pid_, SIGKILL);
        while (waitpid(pid_, &wait_status_, 0) < 0 && errno == EINTR) {
        }
    }
    if (input_ >= 0)
        close(input_);
    std::error_code ignored;
    std::filesystem::remove(out_, ignored);
    std::filesystem::remove(err_, ignored);
}

bool Started::running()
{
    if (pid_ <= 0 || ended_)
        return false;
    ended_ = waitpid(pid_, &wait_status_, WNOHANG) == pid_;
    return !ended_;
}

void Started::signal(int signal_number)
{
    if (running())
        kill(pid_, signal_number);
}

std::string Started::err_so_far() const
{
    return read_file(err_);
}

bool Started::wait_for(const std::string& text, std::chrono::seconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const bool was_running = running();  // asked first: what it wrote before its end is read after
        if (err_so_far().find(text) != std::string::npos)
            return true;
        if (!was_running || std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

Result Started::finish()
{
    if (input_ >= 0) {
        close(input_);
        input_ = -1;
    }
    if (pid_ <= 0)
        return {-1, "", ""};
    const auto deadline = std::chrono::steady_clock::now() + timeout_;
    while (running() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const bool timed_out = running();
    if (timed_out) {
        kill(pid_, SIGKILL);
        while (waitpid(pid_, &wait_status_, 0) < 0 && errno == EINTR) {
        }
        ended_ = true;
        ADD_FAILURE() << program_ << ": no end after " << timeout_.count() << " s, killed";
    }
    Result result{timed_out ? -1 : status_of(wait_status_), read_file(out_), read_file(err_)};
    check_wine(program_, result);
    return result;
}

Result run(const std::string& program, const std::vector<std::string>& args,
           const std::string& stdin_text, const std::filesystem::path& cwd)
{
    Invocation invocation;
    invocation.program = program;
    invocation.args = args;
    invocation.stdin_text = stdin_text;
    invocation.cwd = cwd;
    return run(invocation);
}

TempDir::TempDir(const std::filesystem::path& parent)
{
    std::string pattern = (parent / "e2e-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::system_error(errno, std::generic_category(), "mkdtemp " + pattern);
    path_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string read_file(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void write_file(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

bool exists(const std::filesystem::path& path)
{
    std::error_code ignored;
    return std::filesystem::exists(path, ignored);
}

std::string mask_date(std::string listing)
{
    static const std::string head = "Error listing for tabulon (";
    const std::size_t line = listing.find(head);
    if (line == std::string::npos)
        return listing;
    const std::size_t version = listing.find(") v", line);
    const std::size_t line_end = listing.find('\n', line);
    if (version == std::string::npos || version > line_end)
        return listing;
    const std::size_t date = listing.find(' ', version + 3);  // the blank after the version
    if (date == std::string::npos || date > line_end)
        return listing;
    const std::size_t date_end = listing.find(" converting ", date + 1);
    if (date_end == std::string::npos || date_end > line_end)
        return listing;
    listing.replace(date + 1, date_end - (date + 1), "<DATE>");
    return listing;
}

std::string lines(std::initializer_list<std::string> text_lines)
{
    std::string result;
    for (const auto& line : text_lines)
        result += line + Target::get().newline;
    return result;
}

std::filesystem::path stage_program(const std::string& name, const std::filesystem::path& dir)
{
    const std::filesystem::path from = Target::get().program(name);
    const std::filesystem::path to = dir / from.filename();
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
    return to;
}

}  // namespace e2e
