#include "platform/CommandLine.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using quorvel::platform::splitWindowsArguments;

TEST(WindowsArguments, SplitLikeTheWindowsRuntime)
{
    const struct
    {
        const char* text;
        QStringList expected;
    } cases[] = {
        {"", {}},
        {"   \t ", {}},
        {"a b\tc", {"a", "b", "c"}},
        {"  a   b  ", {"a", "b"}},
        // The launcher's forwarded parameters without arguments: one empty argument.
        {" \"\"", {""}},
        {"a \"b c\" d", {"a", "b c", "d"}},
        {"\"\" \"\"", {"", ""}},
        {"ab\"c d\"ef", {"abc def"}},
        // Backslashes are literal unless they precede a quote.
        {"C:\\Program Files\\x", {"C:\\Program", "Files\\x"}},
        {"\"C:\\Program Files\\\\\" next", {"C:\\Program Files\\", "next"}},
        {"a\\\\\\\"b", {"a\\\"b"}},
        {"a\\\\\\\\\"b c\"", {"a\\\\b c"}},
        {"\\\"quoted\\\"", {"\"quoted\""}},
        // Doubled quotes inside a quoted part give one literal quote.
        {"\"a\"\"b\"", {"a\"b"}},
        {"\"a\"\"\"b", {"a\"b"}},
        {"\"unterminated text", {"unterminated text"}},
        {"é \"ação\"", {"é", "ação"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(splitWindowsArguments(QString::fromUtf8(c.text)), c.expected) << c.text;
}
