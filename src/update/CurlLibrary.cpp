#include "update/CurlLibrary.h"

namespace quorvel {

const CurlLibrary* CurlLibrary::get()
{
    static const CurlLibrary* const library = [] {
        static CurlLibrary loaded;
        if (!loadCurlLibrary(loaded) || loaded.global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK)
            return static_cast<const CurlLibrary*>(nullptr);
        return static_cast<const CurlLibrary*>(&loaded);
    }();
    return library;
}

} // namespace quorvel
