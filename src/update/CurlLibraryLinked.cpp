// The library linked into the program (Windows: a static libcurl on the system's TLS).
#include "update/CurlLibrary.h"

namespace quorvel {

bool loadCurlLibrary(CurlLibrary& library)
{
    library = {&curl_global_init, &curl_easy_init,    &curl_easy_cleanup, &curl_easy_reset,
               &curl_easy_setopt, &curl_easy_perform, &curl_easy_getinfo, &curl_easy_strerror};
    return true;
}

} // namespace quorvel
