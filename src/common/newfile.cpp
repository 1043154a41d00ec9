#include "newfile.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <csignal>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

// The unfinished files of the process, in a list the interrupt handler walks.
// The list changes only while interrupts are held off, so the handler never
// meets it half-changed.
namespace newfile_detail {
struct Pending {
    std::string path;         // the unfinished name
    std::string target;       // the file it replaces: the final name, or the file its link names
    Pending* next = nullptr;
};
}  // namespace newfile_detail

using newfile_detail::Pending;

namespace {

Pending* pending_head = nullptr;

std::string unfinished_name(const std::string& final_path, unsigned long pid, unsigned attempt)
{
    std::string name = final_path + ".unfinished-" + std::to_string(pid);
    if (attempt > 0)
        name += "-" + std::to_string(attempt);
    return name;
}

#ifdef _WIN32

// errno for the Windows errors that creating, replacing and removing a file meet.
int errno_of(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
        return ENOENT;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    case ERROR_TOO_MANY_OPEN_FILES:
        return EMFILE;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    default:
        return EACCES;
    }
}

// Held by the main thread while the list changes or files are moved into
// place, and taken for good by the console handler, which removes the
// unfinished files and lets the system end the process.
CRITICAL_SECTION& pending_lock()
{
    static struct Lock {
        CRITICAL_SECTION section;
        Lock() { InitializeCriticalSection(&section); }
    } lock;
    return lock.section;
}

BOOL WINAPI on_console_event(DWORD)
{
    EnterCriticalSection(&pending_lock());
    for (Pending* p = pending_head; p; p = p->next)
        DeleteFileA(p->path.c_str());
    return FALSE;  // the system's own handler ends the process as usual
}

class HeldInterrupts {
public:
    HeldInterrupts() { EnterCriticalSection(&pending_lock()); }
    ~HeldInterrupts() { LeaveCriticalSection(&pending_lock()); }
    HeldInterrupts(const HeldInterrupts&) = delete;
    HeldInterrupts& operator=(const HeldInterrupts&) = delete;
};

void watch_interrupts()
{
    static const bool watched = SetConsoleCtrlHandler(on_console_event, TRUE) != 0;
    (void)watched;
}

struct FinalName {
    bool direct = false;  // write final_path itself
    std::string path;     // the file to replace
};

// Would opening the final name for writing fail? Checked without touching it.
bool check_final(const std::string& final_path, FinalName& final)
{
    final.path = final_path;
    const DWORD attributes = GetFileAttributesA(final_path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return true;  // no such file yet; a missing folder fails in make_unfinished
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) {
        errno = EACCES;
        return false;
    }
    return true;
}

std::FILE* make_unfinished(const std::string& path, const FinalName&, NewFile::Mode mode)
{
    // Shared for deletion, so that the console handler can remove it while open.
    const HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        errno = errno_of(GetLastError());
        return nullptr;
    }
    const bool text = mode == NewFile::Mode::text;
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), (text ? _O_TEXT : _O_BINARY) | _O_WRONLY);
    if (fd == -1) {
        CloseHandle(handle);
        DeleteFileA(path.c_str());
        errno = EMFILE;
        return nullptr;
    }
    std::FILE* stream = _fdopen(fd, text ? "w" : "wb");
    if (!stream) {
        const int error = errno;
        _close(fd);
        DeleteFileA(path.c_str());
        errno = error;
    }
    return stream;
}

bool replace_file(const std::string& from, const std::string& to)
{
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING))
        return true;
    errno = errno_of(GetLastError());
    return false;
}

void remove_file(const std::string& path)
{
    DeleteFileA(path.c_str());
}

unsigned long process_id()
{
    return GetCurrentProcessId();
}

#else

constexpr int interrupt_signals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

extern "C" void on_interrupt(int signal_number)
{
    for (Pending* p = pending_head; p; p = p->next)
        unlink(p->path.c_str());
    // Ended as the signal ends a program that does not catch it.
    struct sigaction usual {};
    usual.sa_handler = SIG_DFL;
    sigemptyset(&usual.sa_mask);
    sigaction(signal_number, &usual, nullptr);
    raise(signal_number);  // delivered as the handler returns
}

class HeldInterrupts {
public:
    HeldInterrupts()
    {
        sigset_t held;
        sigemptyset(&held);
        for (const int s : interrupt_signals)
            sigaddset(&held, s);
        sigprocmask(SIG_BLOCK, &held, &before_);
    }
    ~HeldInterrupts() { sigprocmask(SIG_SETMASK, &before_, nullptr); }
    HeldInterrupts(const HeldInterrupts&) = delete;
    HeldInterrupts& operator=(const HeldInterrupts&) = delete;

private:
    sigset_t before_;
};

void watch_interrupts()
{
    static const bool watched = [] {
        struct sigaction ours {};
        ours.sa_handler = on_interrupt;
        sigemptyset(&ours.sa_mask);
        for (const int s : interrupt_signals)
            sigaddset(&ours.sa_mask, s);
        for (const int s : interrupt_signals) {
            struct sigaction current {};
            // A signal the program was started to ignore (nohup) stays ignored.
            if (sigaction(s, nullptr, &current) == 0 && current.sa_handler != SIG_IGN)
                sigaction(s, &ours, nullptr);
        }
        // A file-size limit then fails the write, which the program reports,
        // instead of ending the program.
        std::signal(SIGXFSZ, SIG_IGN);
        return true;
    }();
    (void)watched;
}

struct FinalName {
    bool direct = false;  // write final_path itself
    std::string path;     // the file to replace: final_path, or the file its links name
    mode_t mode = 0;      // the permissions of the file replaced, kept by the new one
    bool existed = false;
};

// The file a name stands for: the name itself, or the file its link names
// (followed link by link, so a link to a file not made yet counts too). The
// link stays and that file is replaced, as writing through the link would
// have changed that file.
bool follow_links(const std::string& name, std::string& file)
{
    file = name;
    for (int links = 0; links < 40; ++links) {
        char target[PATH_MAX];
        const ssize_t length = readlink(file.c_str(), target, sizeof target - 1);
        if (length < 0)
            return errno == EINVAL || errno == ENOENT;  // not a link, or nothing there yet
        const std::string named(target, static_cast<std::size_t>(length));
        const std::size_t slash = file.rfind('/');
        file = named[0] == '/' || slash == std::string::npos ? named : file.substr(0, slash + 1) + named;
    }
    errno = ELOOP;
    return false;
}

// Would opening the final name for writing fail? Checked without touching it.
bool check_final(const std::string& final_path, FinalName& final)
{
    if (!follow_links(final_path, final.path))
        return false;
    struct stat st {};
    if (stat(final.path.c_str(), &st) != 0)
        return errno == ENOENT;  // no such file yet; a missing folder fails in make_unfinished
    if (S_ISDIR(st.st_mode)) {
        errno = EISDIR;
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        final.direct = true;  // a device or a pipe
        return true;
    }
    const int probe = open(final.path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (probe < 0)
        return false;
    close(probe);
    final.existed = true;
    final.mode = st.st_mode & 07777;
    return true;
}

std::FILE* make_unfinished(const std::string& path, const FinalName& final, NewFile::Mode mode)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return nullptr;
    if (final.existed)
        (void)fchmod(fd, final.mode);
    std::FILE* stream = fdopen(fd, mode == NewFile::Mode::text ? "w" : "wb");
    if (!stream) {
        const int error = errno;
        close(fd);
        unlink(path.c_str());
        errno = error;
    }
    return stream;
}

bool replace_file(const std::string& from, const std::string& to)
{
    return std::rename(from.c_str(), to.c_str()) == 0;
}

void remove_file(const std::string& path)
{
    unlink(path.c_str());
}

unsigned long process_id()
{
    return static_cast<unsigned long>(getpid());
}

#endif

void add_pending(Pending* pending)
{
    watch_interrupts();
    HeldInterrupts held;
    pending->next = pending_head;
    pending_head = pending;
}

void drop_pending(Pending* pending)
{
    HeldInterrupts held;
    for (Pending** at = &pending_head; *at; at = &(*at)->next) {
        if (*at == pending) {
            *at = pending->next;
            return;
        }
    }
}

}  // namespace

NewFile::NewFile() = default;

NewFile::~NewFile()
{
    discard();
}

bool NewFile::open(const std::string& final_path, Mode mode)
{
    discard();
    final_path_ = final_path;
    closed_ = false;
    FinalName final;
    if (!check_final(final_path, final))
        return false;
    if (final.direct) {
        stream_.reset(std::fopen(final_path.c_str(), mode == Mode::text ? "w" : "wb"));
        return stream_ != nullptr;
    }
    auto pending = std::make_unique<Pending>();
    // Listed before the file exists, so that no interrupt can miss it.
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        pending->path = unfinished_name(final.path, process_id(), attempt);
        add_pending(pending.get());
        stream_.reset(make_unfinished(pending->path, final, mode));
        if (stream_) {
            pending->target = final.path;
            pending_ = std::move(pending);
            return true;
        }
        const int error = errno;
        drop_pending(pending.get());
        errno = error;
        if (error != EEXIST)  // else a stale file of an earlier process with our number
            return false;
    }
    return false;
}

bool NewFile::close()
{
    if (!stream_)
        return closed_;
    std::FILE* stream = stream_.release();
    errno = 0;
    bool written = std::fflush(stream) == 0 && !std::ferror(stream);
    int error = errno;
    if (std::fclose(stream) != 0 && written) {
        written = false;
        error = errno;
    }
    closed_ = written;
    errno = error != 0 ? error : EIO;
    return written;
}

void NewFile::discard()
{
    stream_.reset();
    closed_ = false;
    if (pending_) {
        remove_file(pending_->path);
        drop_pending(pending_.get());
        pending_.reset();
    }
}

bool NewFile::move_into_place()
{
    if (!closed_) {
        errno = EIO;
        return false;
    }
    if (!pending_)
        return true;  // written directly
    if (!replace_file(pending_->path, pending_->target))
        return false;
    drop_pending(pending_.get());
    pending_.reset();
    return true;
}

const NewFile* NewFile::install(std::initializer_list<NewFile*> files)
{
    HeldInterrupts held;
    const NewFile* failed = nullptr;
    int error = 0;
    for (NewFile* file : files) {
        if (!failed && !file->move_into_place()) {
            error = errno;
            failed = file;
        }
        if (failed)
            file->discard();
    }
    errno = error;
    return failed;
}
