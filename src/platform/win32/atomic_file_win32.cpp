// The Windows file primitives of the private-profile engine (platform/profile/
// file_primitives.h): wide services on "\\?\" paths, a lock file held with LockFileEx, and
// replacement by a flushed temporary file renamed over the file, with an in-place fallback.
#include <windows.h>

#include <string>

#include "platform/profile/file_primitives.h"
#include "platform/win32/wide_path.h"

namespace morlane::platform::win32 {
namespace {

using profile::FileProbe;
using profile::FileStatus;
using profile::Pieces;
using profile::ReplaceOptions;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// A handle closed when it goes out of scope.
class Handle {
 public:
  explicit Handle(HANDLE h) : h_(h) {}
  ~Handle() { Close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return h_; }
  bool Close() {
    const bool ok = !valid() || ::CloseHandle(h_) != 0;
    h_ = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  HANDLE h_;
};

HANDLE Open(const std::wstring& path, DWORD access, DWORD share, DWORD disposition,
            DWORD flags = FILE_ATTRIBUTE_NORMAL) {
  return ::CreateFileW(path.c_str(), access, share, nullptr, disposition, flags, nullptr);
}

// Opens a file that another program may hold for a moment without sharing (Wine does so with
// the target of every rename): a sharing violation is waited out for up to a second, so only a
// file held for longer is a failure.
HANDLE OpenPatiently(const std::wstring& path, DWORD access, DWORD flags) {
  const ULONGLONG patience = ::GetTickCount64() + 1000;
  for (;;) {
    const HANDLE h = Open(path, access, kShareAll, OPEN_EXISTING, flags);
    if (h != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_SHARING_VIOLATION ||
        ::GetTickCount64() > patience) {
      return h;
    }
    ::Sleep(2);
  }
}

// The status of an open file, asked of the file alone: its size, times and attributes. The
// volume serial number and file index that GetFileInformationByHandle (or the file id
// information) add are left out: Wine answers them through its mount manager, another process,
// and at every engine call that round trip cost more than the read itself. The creation time
// stands in for the identity, as the write time alone does for Windows' own private-profile
// cache: a file put in the place of another brings its own.
bool QueryStatus(HANDLE file, FileStatus& status) {
  FILE_BASIC_INFO basic;
  FILE_STANDARD_INFO standard;
  if (::GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic) == 0 ||
      ::GetFileInformationByHandleEx(file, FileStandardInfo, &standard, sizeof standard) == 0) {
    return false;
  }
  status = FileStatus{};
  status.size = static_cast<std::uint64_t>(standard.EndOfFile.QuadPart);
  status.written = basic.LastWriteTime.QuadPart;
  status.changed = basic.CreationTime.QuadPart;
  status.mode = basic.FileAttributes;
  return true;
}

// Why a file could not be opened: no file there, or one that cannot be read.
FileProbe Failed(DWORD error, const std::wstring& path, std::error_code& code) {
  code = std::error_code(static_cast<int>(error), std::system_category());
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
      return FileProbe::kMissing;
    default:
      break;
  }
  // A folder opened as a file is refused as "access denied": it is no file.
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return FileProbe::kMissing;
  }
  return FileProbe::kUnreadable;
}

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD n = 0;
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    if (::WriteFile(file, bytes.data(), chunk, &n, nullptr) == 0 || n == 0) return false;
    bytes.remove_prefix(n);
  }
  return true;
}

bool Seek(HANDLE file, std::size_t offset) {
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(offset);
  return ::SetFilePointerEx(file, at, nullptr, FILE_BEGIN) != 0;
}

std::wstring::size_type LastSeparator(const std::wstring& path) {
  return path.find_last_of(L"\\/");
}

// Where the file cannot be replaced (a folder that takes no new file, a file another program
// holds without delete sharing) but may be written: only the changed tail, in one write, then
// cut (see TailFrom). A kill within that write or a power loss before the flush can leave a
// mix, as on POSIX.
bool RewriteInPlace(const std::wstring& path, std::string_view old, const Pieces& content,
                    const ReplaceOptions& options) {
  Handle file(Open(path, GENERIC_WRITE, kShareAll, OPEN_EXISTING));
  if (!file.valid()) return false;
  const std::size_t newSize = profile::TotalSize(content);
  const std::size_t from = profile::CommonPrefix(old, content);
  const std::string tail = profile::TailFrom(content, from, old.size(), options.blank);
  bool ok =
      Seek(file.get(), from) && WriteAll(file.get(), tail) &&
      (newSize >= old.size() || (Seek(file.get(), newSize) && ::SetEndOfFile(file.get()) != 0)) &&
      (!options.sync || ::FlushFileBuffers(file.get()) != 0);
  ok = file.Close() && ok;
  return ok;
}

// Replacement of the file refused because of how another program holds it, or a folder
// that takes no new file: the in-place rewrite may still work.
bool RefusedByHolder(DWORD error) {
  return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
         error == ERROR_LOCK_VIOLATION;
}

}  // namespace
}  // namespace morlane::platform::win32

namespace morlane::platform::profile {

using win32::Handle;
using win32::kShareAll;
using win32::Open;
using win32::WidePath;

// Windows finds files whatever the case of their names; the wide form is made per call.
std::string SystemPath(const std::string& corePath) {
  return corePath;
}

// Making a symbolic link on Windows takes a privilege that a plant user lacks, so no other
// user can aim a run at a file of his choosing this way.
bool MayWriteThrough(const std::string&) {
  return true;
}

FileProbe StatusOf(const std::string& path, FileStatus& status, std::error_code& error) {
  const std::wstring wide = WidePath(path);
  // One call and no handle, as this is asked at every engine call; allowed also while another
  // program holds the file without sharing. The same fields as QueryStatus gives for a read.
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (::GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data) == 0) {
    return win32::Failed(::GetLastError(), wide, error);
  }
  if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return FileProbe::kMissing;
  const auto number = [](DWORD high, DWORD low) {
    return static_cast<std::uint64_t>(high) << 32 | low;
  };
  status = FileStatus{};
  status.size = number(data.nFileSizeHigh, data.nFileSizeLow);
  status.written = static_cast<std::int64_t>(
      number(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime));
  status.changed = static_cast<std::int64_t>(
      number(data.ftCreationTime.dwHighDateTime, data.ftCreationTime.dwLowDateTime));
  status.mode = data.dwFileAttributes;
  return FileProbe::kPresent;
}

FileProbe FileBytes::Read(const std::string& path, FileStatus& status, std::error_code& error) {
  const std::wstring wide = WidePath(path);
  Handle file(
      win32::OpenPatiently(wide, GENERIC_READ, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN));
  if (!file.valid() || !win32::QueryStatus(file.get(), status)) {
    return win32::Failed(::GetLastError(), wide, error);
  }
  std::size_t capacity = static_cast<std::size_t>(status.size) + 1;
  data_.reset(new char[capacity]);
  size_ = 0;
  for (;;) {
    DWORD n = 0;
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(capacity - size_, 1u << 30));
    if (::ReadFile(file.get(), data_.get() + size_, chunk, &n, nullptr) == 0) {
      return win32::Failed(::GetLastError(), wide, error);
    }
    size_ += n;
    if (n == 0 || size_ < capacity) break;
    // The file grew meanwhile.
    std::unique_ptr<char[]> bigger(new char[capacity * 2]);
    std::copy(data_.get(), data_.get() + size_, bigger.get());
    data_ = std::move(bigger);
    capacity *= 2;
  }
  return FileProbe::kPresent;
}

bool MayReplace(const std::string& path, const FileStatus& status) {
  if ((status.mode & FILE_ATTRIBUTE_READONLY) != 0) return false;
  Handle file(Open(WidePath(path), FILE_WRITE_DATA, kShareAll, OPEN_EXISTING));
  // Held by another program: whether it lets the file be replaced shows when that is tried.
  return file.valid() || ::GetLastError() == ERROR_SHARING_VIOLATION;
}

// The lock is a byte of a lock file beside the file, ".<name>.lock", which its last holder's
// handle deletes on closing (also when the process is killed). While it is being deleted,
// Windows refuses to open it: the next writer waits as for a held lock.
WriterLock::WriterLock(const std::string& path) {
  const std::wstring wide = WidePath(path);
  const auto separator = win32::LastSeparator(wide);
  const std::wstring lockPath =
      wide.substr(0, separator + 1) + L"." + wide.substr(separator + 1) + L".lock";
  // Writers hold it for one read-modify-write only; one that takes longer is stuck.
  const ULONGLONG deadline = ::GetTickCount64() + 10000;
  HANDLE lock = INVALID_HANDLE_VALUE;
  while (lock == INVALID_HANDLE_VALUE) {
    lock = Open(lockPath, GENERIC_READ | GENERIC_WRITE | DELETE, kShareAll, OPEN_ALWAYS,
                FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE);
    if (lock != INVALID_HANDLE_VALUE) break;
    // A lock file that is there but cannot be opened is being deleted; without one, the folder
    // takes no file and nobody can lock here.
    if (::GetLastError() != ERROR_ACCESS_DENIED) return;
    if (::GetFileAttributesW(lockPath.c_str()) == INVALID_FILE_ATTRIBUTES) {
      const DWORD why = ::GetLastError();
      if (why == ERROR_FILE_NOT_FOUND || why == ERROR_PATH_NOT_FOUND) return;
    }
    if (::GetTickCount64() > deadline) {
      busy_ = true;
      return;
    }
    ::Sleep(2);
  }
  handle_ = reinterpret_cast<std::intptr_t>(lock);
  for (;;) {
    OVERLAPPED at{};
    if (::LockFileEx(lock, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
      held_ = true;
      return;
    }
    if (::GetLastError() != ERROR_LOCK_VIOLATION) return;  // no locks here: the write fails
    if (::GetTickCount64() > deadline) {
      busy_ = true;
      return;
    }
    ::Sleep(2);
  }
}

WriterLock::~WriterLock() {
  // Closing releases the lock and, for the last holder, deletes the lock file.
  if (handle_ != kNone) ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

// Writes the content to a temporary file beside path with the old file's attributes and
// creation time, flushes it and renames it over the file in one step (MoveFileExW with
// write-through): a reader sees the old file or the new one, and a crash leaves one of them.
// ReplaceFileW would keep more of the old file (its own security) but is no single step
// everywhere (Wine moves the old file aside first, and leaves it there when refused).
bool ReplaceContent(const std::string& path, std::string_view old, const Pieces& content,
                    const FileStatus* oldStatus, const ReplaceOptions& options) {
  const std::wstring wide = WidePath(path);
  const auto separator = win32::LastSeparator(wide);
  const std::wstring temp =
      wide.substr(0, separator + 1) + L"." + wide.substr(separator + 1) +
      (options.locked ? L".new" : L"." + std::to_wstring(::GetCurrentProcessId()) + L".new");
  constexpr DWORD kKept = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                          FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  const DWORD attributes = oldStatus != nullptr ? oldStatus->mode & kKept : 0;
  // A stale temporary file from a crash may be hidden: CREATE_ALWAYS must match that.
  ::SetFileAttributesW(temp.c_str(), FILE_ATTRIBUTE_NORMAL);
  Handle file(Open(temp, GENERIC_WRITE | DELETE, 0, CREATE_ALWAYS,
                   attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL));
  if (!file.valid()) {
    const DWORD error = ::GetLastError();
    if (oldStatus != nullptr && error == ERROR_ACCESS_DENIED) {
      return win32::RewriteInPlace(wide, old, content, options);
    }
    return false;
  }
  bool ok = true;
  for (const std::string_view piece : content)
    ok = ok && win32::WriteAll(file.get(), piece);
  if (ok && oldStatus != nullptr) {
    FILETIME created;
    created.dwLowDateTime = static_cast<DWORD>(oldStatus->changed & 0xFFFFFFFF);
    created.dwHighDateTime =
        static_cast<DWORD>(static_cast<std::uint64_t>(oldStatus->changed) >> 32);
    ::SetFileTime(file.get(), &created, nullptr, nullptr);
  }
  ok = ok && (!options.sync || ::FlushFileBuffers(file.get()) != 0);
  ok = file.Close() && ok;
  const DWORD flags = MOVEFILE_REPLACE_EXISTING | (options.sync ? MOVEFILE_WRITE_THROUGH : 0);
  // A reader that opened the file without delete sharing (most programs do) blocks the rename
  // while it reads: wait a moment for it rather than rewrite in place under its eyes.
  const ULONGLONG patience = ::GetTickCount64() + 1000;
  DWORD error = ERROR_SUCCESS;
  while (ok) {
    if (::MoveFileExW(temp.c_str(), wide.c_str(), flags) != 0) return true;
    error = ::GetLastError();
    if (oldStatus == nullptr || !win32::RefusedByHolder(error) || ::GetTickCount64() > patience) {
      break;
    }
    ::Sleep(2);
  }
  ::DeleteFileW(temp.c_str());
  if (ok && oldStatus != nullptr && win32::RefusedByHolder(error)) {
    return win32::RewriteInPlace(wide, old, content, options);
  }
  return false;
}

}  // namespace morlane::platform::profile
