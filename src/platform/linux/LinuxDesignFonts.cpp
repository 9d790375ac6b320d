#include "platform/DesignFonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QStringList>

namespace quorvel::platform {

void provideDesignFonts()
{
    // Registering costs a file read each, far less than asking fontconfig for the family list first.
    const QStringList files{QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"),
                            QStringLiteral("/usr/share/wine/fonts/tahomabd.ttf")};
    for (const QString& file : files) {
        if (QFile::exists(file))
            QFontDatabase::addApplicationFont(file);
    }
}

} // namespace quorvel::platform
