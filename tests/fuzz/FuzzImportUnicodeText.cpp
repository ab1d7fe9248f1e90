// The grid's UnicodeText importer on arbitrary bytes.
#include "FuzzGridImport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    RunGridImport<TDBGridEhImportAsUnicodeText>(Data, Size, "TDBGridEhImportAsUnicodeText.CheckState: ");
    return 0;
}
