#include "spawn.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#endif

#include <algorithm>
#include <map>

#include "file.h"

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

// A temporary file that the system removes when its handle is closed; not
// inherited until a child is given it. INVALID_HANDLE_VALUE when none can be made.
HANDLE temporary_file()
{
    const DWORD needed = GetTempPathW(0, nullptr);
    if (needed == 0)
        return INVALID_HANDLE_VALUE;
    std::wstring folder(needed, L'\0');
    const DWORD length = GetTempPathW(needed, folder.data());
    if (length == 0 || length >= needed)
        return INVALID_HANDLE_VALUE;
    folder.resize(length);
    std::wstring name(folder.size() + 16, L'\0');  // the folder, "tbb", four hex digits, ".tmp"
    if (GetTempFileNameW(folder.c_str(), L"tbb", 0, name.data()) == 0)
        return INVALID_HANDLE_VALUE;
    return CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
}

// Everything written to the file, read from its start.
std::string read_whole(HANDLE file)
{
    LARGE_INTEGER size{}, start{};
    if (!GetFileSizeEx(file, &size) || !SetFilePointerEx(file, start, nullptr, FILE_BEGIN))
        return "";
    std::string text(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t used = 0;
    DWORD got = 0;
    while (used < text.size() &&
           ReadFile(file, text.data() + used, static_cast<DWORD>(std::min<std::size_t>(text.size() - used, 1 << 30)),
                    &got, nullptr) &&
           got > 0)
        used += got;
    text.resize(used);
    return text;
}

}  // namespace

struct Children::Impl {
    std::vector<HANDLE> processes;
    std::vector<std::size_t> tags;
    std::vector<HANDLE> errors;  // each child's standard error file, or INVALID_HANDLE_VALUE
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
    for (HANDLE file : impl_->errors)
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
    if (impl_->null_device != INVALID_HANDLE_VALUE)
        CloseHandle(impl_->null_device);
}

bool Children::start(const std::filesystem::path& program, const std::vector<std::filesystem::path>& args,
                     const std::filesystem::path& dir, std::size_t tag)
{
    std::wstring command;
    for (const std::filesystem::path& arg : args)
        command += (command.empty() ? L"" : L" ") + quoted(arg.native());
    const HANDLE errors = temporary_file();
    const bool keep_errors = errors != INVALID_HANDLE_VALUE;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = startup.hStdOutput = impl_->null_device;
    startup.hStdError = keep_errors ? errors : impl_->null_device;
    PROCESS_INFORMATION info{};
    const std::wstring program_path = program.wstring();
    const std::wstring folder = dir.wstring();
    // Only this child inherits its file: the others started later do not.
    if (keep_errors)
        SetHandleInformation(errors, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    const bool started = CreateProcessW(program_path.c_str(), command.data(), nullptr, nullptr, TRUE,
                                        CREATE_NO_WINDOW, nullptr, folder.c_str(), &startup, &info);
    if (keep_errors)
        SetHandleInformation(errors, HANDLE_FLAG_INHERIT, 0);
    if (!started) {
        if (keep_errors)
            CloseHandle(errors);
        return false;
    }
    CloseHandle(info.hThread);
    impl_->processes.push_back(info.hProcess);
    impl_->tags.push_back(tag);
    impl_->errors.push_back(errors);
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
    if (HANDLE errors = impl_->errors[index]; errors != INVALID_HANDLE_VALUE) {
        ended.errors = read_whole(errors);
        CloseHandle(errors);
    }
    const auto at = static_cast<std::ptrdiff_t>(index);
    impl_->processes.erase(impl_->processes.begin() + at);
    impl_->tags.erase(impl_->tags.begin() + at);
    impl_->errors.erase(impl_->errors.begin() + at);
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

using TemporaryFile = File;

// A temporary file with no name, gone when closed; kept from the children
// that are not given it. Null when none can be made.
TemporaryFile temporary_file()
{
    TemporaryFile file(std::tmpfile());
    if (file)
        fcntl(fileno(file.get()), F_SETFD, FD_CLOEXEC);
    return file;
}

// Everything written to the file, read from its start.
std::string read_whole(std::FILE* file)
{
    struct stat info {};
    if (fstat(fileno(file), &info) != 0)
        return "";
    std::string text(static_cast<std::size_t>(info.st_size), '\0');
    std::rewind(file);
    text.resize(std::fread(text.data(), 1, text.size(), file));
    return text;
}

struct Child {
    std::size_t tag = 0;
    TemporaryFile errors;  // its standard error, or null
};

struct Children::Impl {
    std::map<pid_t, Child> children;
};

Children::Children() : impl_(std::make_unique<Impl>()) {}

Children::~Children()
{
    for (const auto& [pid, child] : impl_->children) {
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
    TemporaryFile errors = temporary_file();
    const int errors_fd = errors ? fileno(errors.get()) : -1;
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
        dup2(errors_fd >= 0 ? errors_fd : null_device, 2);
        execv(program.c_str(), argv.data());
        _exit(cannot_run);
    }
    impl_->children[pid] = Child{tag, std::move(errors)};
    return true;
}

std::size_t Children::running() const
{
    return impl_->children.size();
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
            lost.tag = impl_->children.begin()->second.tag;
            impl_->children.erase(impl_->children.begin());
            return lost;
        }
        const auto known = impl_->children.find(pid);
        if (known == impl_->children.end())
            continue;
        Ended ended;
        ended.tag = known->second.tag;
        if (known->second.errors)
            ended.errors = read_whole(known->second.errors.get());
        impl_->children.erase(known);
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
