// The grid's Text importer on arbitrary bytes.
#include "FuzzGridImport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    RunGridImport<TDBGridEhImportAsText>(Data, Size, "TDBGridEhImportAsText.CheckState: ");
    return 0;
}
