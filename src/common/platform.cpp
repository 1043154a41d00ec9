#include "platform.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <limits>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX  // the MinGW-w64 C++ headers define it already
#define NOMINMAX
#endif
#include <io.h>
#include <windows.h>
#else
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#endif

namespace platform {

namespace {

constexpr const char* day_names[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* month_names[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

bool to_utc(std::time_t t, std::tm& out)
{
#ifdef _WIN32
    return gmtime_s(&out, &t) == 0;
#else
    return gmtime_r(&t, &out) != nullptr;
#endif
}

bool to_local(std::time_t t, std::tm& out)
{
#ifdef _WIN32
    return localtime_s(&out, &t) == 0;
#else
    return localtime_r(&t, &out) != nullptr;
#endif
}

const char* name_of(const char* const* names, int index, int count)
{
    return index >= 0 && index < count ? names[index] : "???";
}

// Writes the running program's path into buffer (not terminated) and returns
// its length, which equals the buffer's size when it may have been cut; -1
// when the system cannot tell.
long long program_path_into(std::string& buffer)
{
#ifdef _WIN32
    const DWORD got = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    return got == 0 ? -1 : static_cast<long long>(got);
#elif defined(__linux__)
    return readlink("/proc/self/exe", buffer.data(), buffer.size());
#else
    (void)buffer;
    return -1;
#endif
}

}  // namespace

bool is_switch(const std::string& arg)
{
#ifdef _WIN32
    return !arg.empty() && (arg[0] == '-' || arg[0] == '/');
#else
    return !arg.empty() && arg[0] == '-';
#endif
}

std::string utc_date_text()
{
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    if (now == static_cast<std::time_t>(-1) || !to_utc(now, tm))
        return "";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.3s %.3s%3d %.2d:%.2d:%.2d %d UTC",
                  name_of(day_names, tm.tm_wday, 7), name_of(month_names, tm.tm_mon, 12),
                  tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, 1900 + tm.tm_year);
    return buf;
}

std::string local_date_dmy()
{
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    if (now == static_cast<std::time_t>(-1) || !to_local(now, tm))
        return "01Jan1970";
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2d%.3s%d", tm.tm_mday, name_of(month_names, tm.tm_mon, 12),
                  1900 + tm.tm_year);
    return buf;
}

std::string running_program_path()
{
    // The path's length is not known beforehand: try ever larger buffers
    // until one holds it with room to spare (a full one may have cut it).
    for (std::size_t size = 256; size <= 64 * 1024; size *= 4) {
        std::string path(size, '\0');
        const long long length = program_path_into(path);
        if (length < 0)
            return "";
        if (static_cast<std::size_t>(length) < size) {
            path.resize(static_cast<std::size_t>(length));
            return path;
        }
    }
    return "";
}

std::string argument_text(const std::filesystem::path& path)
{
#ifdef _WIN32
    const std::wstring& wide = path.native();
    if (wide.empty())
        return "";
    const int size = static_cast<int>(wide.size());
    const int needed = WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(needed > 0 ? needed : 0), '\0');
    if (needed > 0)
        WideCharToMultiByte(CP_ACP, 0, wide.data(), size, text.data(), needed, nullptr, nullptr);
    return text;
#else
    return path.native();
#endif
}

std::optional<FileId> file_id(const std::filesystem::path& path)
{
#ifdef _WIN32
    // A folder is opened only to ask: no access to its contents, and nothing
    // kept from others.
    const HANDLE handle = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = GetFileInformationByHandle(handle, &info);
    CloseHandle(handle);
    if (!known)
        return std::nullopt;
    return FileId{info.dwVolumeSerialNumber,
                  (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
#else
    struct stat st {};
    if (stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return FileId{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
#endif
}

std::FILE* open_for_reading(const std::filesystem::path& path)
{
#ifdef _WIN32
    return _wfopen(path.c_str(), L"rb");
#else
    return std::fopen(path.c_str(), "rb");
#endif
}

bool is_directory(std::FILE* stream)
{
#ifdef _WIN32
    (void)stream;
    return false;  // opening a directory fails on Windows
#else
    struct stat st {};
    return fstat(fileno(stream), &st) == 0 && S_ISDIR(st.st_mode);
#endif
}

void report_system_error(const char* prefix)
{
    report_system_error(prefix, errno);
}

void report_system_error(const char* prefix, int reason)
{
    // The Windows runtime's perror writes past the stream's buffer, where the
    // lines written before it may still wait when the console is redirected.
    std::fflush(stderr);
    errno = reason;
    std::perror(prefix);
}

bool seek(std::FILE* stream, std::int64_t offset)
{
#ifdef _WIN32
    return _fseeki64(stream, offset, SEEK_SET) == 0;
#else
    if constexpr (sizeof(off_t) < sizeof offset) {
        // A 32-bit system built without large-file support.
        if (offset > std::numeric_limits<off_t>::max()) {
            errno = EOVERFLOW;
            return false;
        }
    }
    return fseeko(stream, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

#ifdef _WIN32

namespace {

// Windows locks are mandatory: a locked range can be neither read nor
// written through any other handle. So the lock covers one byte far beyond
// any record (offset 2^62), which nobody reads, and every record stays open
// to a listing or a backup while an editor holds the file.
constexpr DWORD edit_lock_offset_low = 0;
constexpr DWORD edit_lock_offset_high = 0x40000000;

HANDLE handle_of(std::FILE* stream)
{
    return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
}

}  // namespace

EditLock lock_for_editing(std::FILE* stream)
{
    OVERLAPPED at{};
    at.Offset = edit_lock_offset_low;
    at.OffsetHigh = edit_lock_offset_high;
    if (LockFileEx(handle_of(stream), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at))
        return EditLock::taken;
    return GetLastError() == ERROR_LOCK_VIOLATION ? EditLock::held : EditLock::unsupported;
}

void unlock_for_editing(std::FILE* stream)
{
    // The system would also give the lock up when the file is closed, but
    // only when it gets round to it: another editor started at once could
    // still find the file held.
    UnlockFile(handle_of(stream), edit_lock_offset_low, edit_lock_offset_high, 1, 0);
}

#else

// flock belongs to the open file, not to the process: no other open and
// close of the same file in this program can give it up by the way, as
// closing any descriptor of the file gives up a POSIX record lock.
EditLock lock_for_editing(std::FILE* stream)
{
    const int fd = fileno(stream);
    int result;
    while ((result = flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
    }
    if (result == 0)
        return EditLock::taken;
    return errno == EWOULDBLOCK ? EditLock::held : EditLock::unsupported;
}

void unlock_for_editing(std::FILE* stream)
{
    flock(fileno(stream), LOCK_UN);
}

#endif

}  // namespace platform
