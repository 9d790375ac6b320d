// A small Windows program for the tests of the Win32 layer: records its arguments to the file named by
// QUORVEL_RECORD_FILE, then stays for QUORVEL_RECORD_STAY_MS milliseconds so a process snapshot can see it.
// Built a second time with a version resource, it is the product the real-window test installs and starts.
#include "support/win32/RecordArguments.h"

int main()
{
    quorvel::test_programs::recordArguments(L"QUORVEL_RECORD_FILE");
    quorvel::test_programs::stayAsAsked(L"QUORVEL_RECORD_STAY_MS");
    return 0;
}
