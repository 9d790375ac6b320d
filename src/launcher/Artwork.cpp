#include "launcher/Artwork.h"

#include <QtGlobal>
#include <mutex>

// Q_INIT_RESOURCE names a function of the global namespace.
static void initArtworkResource()
{
    Q_INIT_RESOURCE(artwork);
}

namespace quorvel {

void registerArtwork()
{
    static std::once_flag once;
    std::call_once(once, initArtworkResource);
}

} // namespace quorvel
