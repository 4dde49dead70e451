// The form-data file ("form.bin").
#include "core/formstore.h"
#include "fuzzinput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FormStore store;
    if (store.parse(fuzzBytes(data, size))) {
        FormStore again;
        again.parse(store.serialize());
    }
    return 0;
}
