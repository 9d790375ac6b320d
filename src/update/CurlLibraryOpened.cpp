// The library opened at run time by its ABI name (Linux).
#include "update/CurlLibrary.h"

#include <dlfcn.h>

namespace quorvel {

namespace {

// The library's ABI name; its development link name may be missing on a user's machine.
constexpr const char* kSoname = "libcurl.so.4";

template <typename Function>
bool bind(void* handle, const char* name, Function& entry)
{
    entry = reinterpret_cast<Function>(dlsym(handle, name));
    return entry != nullptr;
}

} // namespace

bool loadCurlLibrary(CurlLibrary& library)
{
    // Never closed: the process keeps it to the end, as a linked library would be kept.
    void* handle = dlopen(kSoname, RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        return false;
    return bind(handle, "curl_global_init", library.global_init) && bind(handle, "curl_easy_init", library.easy_init) &&
           bind(handle, "curl_easy_cleanup", library.easy_cleanup) &&
           bind(handle, "curl_easy_reset", library.easy_reset) &&
           bind(handle, "curl_easy_setopt", library.easy_setopt) &&
           bind(handle, "curl_easy_perform", library.easy_perform) &&
           bind(handle, "curl_easy_getinfo", library.easy_getinfo) &&
           bind(handle, "curl_easy_strerror", library.easy_strerror);
}

} // namespace quorvel
