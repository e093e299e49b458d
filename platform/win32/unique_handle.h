#pragma once
// Owners for the kernel and registry handles the services open, so that every
// path out of a function closes what it opened.

#include <windows.h>

#include <utility>

namespace platform::win32 {

template <typename Traits>
class UniqueResource {
public:
    using Handle = typename Traits::Handle;

    UniqueResource() = default;
    explicit UniqueResource(Handle handle) : handle_(handle) {}
    ~UniqueResource() { reset(); }

    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : handle_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    Handle get() const { return handle_; }
    explicit operator bool() const { return Traits::Valid(handle_); }

    // For functions that hand back a new handle through a pointer.
    Handle* receive() {
        reset();
        return &handle_;
    }
    Handle release() { return std::exchange(handle_, Traits::Empty()); }
    void reset(Handle handle = Traits::Empty()) {
        Handle old = std::exchange(handle_, handle);
        if (Traits::Valid(old)) Traits::Close(old);
    }

private:
    Handle handle_ = Traits::Empty();
};

// Kernel objects: files, processes, threads, mutexes. CreateFile reports
// failure as INVALID_HANDLE_VALUE, the others as null; both mean "nothing".
struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Empty() { return nullptr; }
    static bool Valid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { ::CloseHandle(h); }
};

struct RegistryKeyTraits {
    using Handle = HKEY;
    static Handle Empty() { return nullptr; }
    static bool Valid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { ::RegCloseKey(h); }
};

// Memory the system allocated with LocalAlloc for the caller (security
// descriptors, for one).
struct LocalMemoryTraits {
    using Handle = HLOCAL;
    static Handle Empty() { return nullptr; }
    static bool Valid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { ::LocalFree(h); }
};

// The service control manager and the services opened through it.
struct ServiceHandleTraits {
    using Handle = SC_HANDLE;
    static Handle Empty() { return nullptr; }
    static bool Valid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { ::CloseServiceHandle(h); }
};

using UniqueHandle = UniqueResource<KernelHandleTraits>;
using UniqueKey = UniqueResource<RegistryKeyTraits>;
using UniqueLocalMemory = UniqueResource<LocalMemoryTraits>;
using UniqueService = UniqueResource<ServiceHandleTraits>;

}  // namespace platform::win32
