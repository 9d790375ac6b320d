#pragma once

#include <curl/curl.h>

namespace quorvel {

// The libcurl entry points the HTTP client uses. On Linux the library is opened by the first request, not at program
// start: with the 26 libraries it depends on, loading it would cost about a sixth of the time to the first window,
// and the first request runs on a worker after the window is up (CurlLibraryOpened.cpp). On Windows the entries are
// the linked functions (CurlLibraryLinked.cpp).
struct CurlLibrary
{
    decltype(&::curl_global_init) global_init = nullptr;
    decltype(&::curl_easy_init) easy_init = nullptr;
    decltype(&::curl_easy_cleanup) easy_cleanup = nullptr;
    decltype(&::curl_easy_reset) easy_reset = nullptr;
    decltype(&::curl_easy_setopt) easy_setopt = nullptr;
    decltype(&::curl_easy_perform) easy_perform = nullptr;
    decltype(&::curl_easy_getinfo) easy_getinfo = nullptr;
    decltype(&::curl_easy_strerror) easy_strerror = nullptr;

    // The library, loaded and initialised once for the whole program (any thread); null when it cannot be loaded.
    static const CurlLibrary* get();
};

// Fills the entries; false when the library is not there. One definition per system, chosen by CMake.
bool loadCurlLibrary(CurlLibrary& library);

} // namespace quorvel
