#pragma once

#include <QString>
#include <optional>

namespace quorvel {

// An absolute web address in its plain form: scheme "://" host [":" port] and then nothing, or a path, query or
// fragment. Addresses come from the network and end up with libcurl and the shell, which may read an unusual one
// differently from us; so anything else (user info, backslashes, blanks, control characters, odd host characters)
// is not taken for a web address at all.
struct WebAddress
{
    QString scheme; // lower case
    QString host;   // lower case
    QString port;   // empty when none
};

std::optional<WebAddress> parseWebAddress(const QString& text);

// An https address of that plain form: the only kind the launcher downloads from or hands to the browser.
bool isHttpsWebAddress(const QString& text);

} // namespace quorvel
