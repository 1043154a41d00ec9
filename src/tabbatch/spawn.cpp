#include "spawn.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#endif

#include <map>

namespace spawn {

#ifdef _WIN32

namespace {

// One argument quoted for the C runtime's command-line parser: backslashes
// count only before a quote, where each must be doubled.
std::wstring quoted(const std::wstring& arg)
{
    if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos)
        return arg;
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    return out + L"\"";
}

}  // namespace

struct Children::Impl {
    std::vector<HANDLE> processes;
    std::vector<std::size_t> tags;
    HANDLE null_device = INVALID_HANDLE_VALUE;
};

Children::Children() : impl_(std::make_unique<Impl>())
{
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    impl_->null_device = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     &inherit, OPEN_EXISTING, 0, nullptr);
}

Children::~Children()
{
    for (HANDLE process : impl_->processes) {
        WaitForSingleObject(process, INFINITE);
        CloseHandle(process);
    }
    if (impl_->null_device != INVALID_HANDLE_VALUE)
        CloseHandle(impl_->null_device);
}

bool Children::start(const std::filesystem::path& program, const std::vector<std::filesystem::path>& args,
                     const std::filesystem::path& dir, std::size_t tag)
{
    std::wstring command;
    for (const std::filesystem::path& arg : args)
        command += (command.empty() ? L"" : L" ") + quoted(arg.native());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = startup.hStdOutput = startup.hStdError = impl_->null_device;
    PROCESS_INFORMATION info{};
    const std::wstring program_path = program.wstring();
    const std::wstring folder = dir.wstring();
    if (!CreateProcessW(program_path.c_str(), command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                        folder.c_str(), &startup, &info))
        return false;
    CloseHandle(info.hThread);
    impl_->processes.push_back(info.hProcess);
    impl_->tags.push_back(tag);
    return true;
}

std::size_t Children::running() const
{
    return impl_->processes.size();
}

Ended Children::wait_any()
{
    Ended ended;
    const DWORD count = static_cast<DWORD>(impl_->processes.size());
    const DWORD result = WaitForMultipleObjects(count, impl_->processes.data(), FALSE, INFINITE);
    const std::size_t index = result >= WAIT_OBJECT_0 && result < WAIT_OBJECT_0 + count ? result - WAIT_OBJECT_0 : 0;
    HANDLE process = impl_->processes[index];
    if (result == WAIT_FAILED)
        WaitForSingleObject(process, INFINITE);
    DWORD code = 0;
    ended.tag = impl_->tags[index];
    // An exit status above 255 is an exception code: the program crashed.
    if (GetExitCodeProcess(process, &code) && code <= 255) {
        ended.exited = true;
        ended.status = static_cast<int>(code);
    }
    CloseHandle(process);
    impl_->processes.erase(impl_->processes.begin() + static_cast<std::ptrdiff_t>(index));
    impl_->tags.erase(impl_->tags.begin() + static_cast<std::ptrdiff_t>(index));
    return ended;
}

unsigned processors()
{
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return info.dwNumberOfProcessors > 0 ? info.dwNumberOfProcessors : 1;
}

#else

// A child that cannot run its program ends with this status before it gets there.
constexpr int cannot_run = 127;

struct Children::Impl {
    std::map<pid_t, std::size_t> tags;
};

Children::Children() : impl_(std::make_unique<Impl>()) {}

Children::~Children()
{
    for (const auto& [pid, tag] : impl_->tags) {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
}

bool Children::start(const std::filesystem::path& program, const std::vector<std::filesystem::path>& args,
                     const std::filesystem::path& dir, std::size_t tag)
{
    if (access(program.c_str(), X_OK) != 0)
        return false;
    std::vector<char*> argv;
    for (const std::filesystem::path& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        // The child: only async-signal-safe calls from here to exec.
        const int null_device = open("/dev/null", O_RDWR);
        if (null_device < 0 || chdir(dir.c_str()) != 0)
            _exit(cannot_run);
        dup2(null_device, 0);
        dup2(null_device, 1);
        dup2(null_device, 2);
        execv(program.c_str(), argv.data());
        _exit(cannot_run);
    }
    impl_->tags[pid] = tag;
    return true;
}

std::size_t Children::running() const
{
    return impl_->tags.size();
}

Ended Children::wait_any()
{
    for (;;) {
        int status = 0;
        const pid_t pid = waitpid(-1, &status, 0);
        if (pid < 0) {
            if (errno == EINTR)
                continue;
            // No child left to wait for: give back one that is lost.
            Ended lost;
            lost.tag = impl_->tags.begin()->second;
            impl_->tags.erase(impl_->tags.begin());
            return lost;
        }
        const auto known = impl_->tags.find(pid);
        if (known == impl_->tags.end())
            continue;
        Ended ended;
        ended.tag = known->second;
        impl_->tags.erase(known);
        if (WIFEXITED(status) && WEXITSTATUS(status) != cannot_run) {
            ended.exited = true;
            ended.status = WEXITSTATUS(status);
        }
        return ended;
    }
}

unsigned processors()
{
    const long online = sysconf(_SC_NPROCESSORS_ONLN);
    return online > 0 ? static_cast<unsigned>(online) : 1;
}

#endif

}  // namespace spawn
