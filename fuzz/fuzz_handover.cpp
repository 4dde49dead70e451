// What a later start hands over: the message text and the quotes around an address.
#include "core/singleinstance.h"
#include "fuzzinput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = SingleInstance::decodeHandOver(fuzzBytes(data, size));
    (void)SingleInstance::stripCommandLineQuotes(text);
    return 0;
}
