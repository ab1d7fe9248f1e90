// The grid's VCLDBIF importer on arbitrary bytes.
#include "FuzzGridImport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    RunGridImport<TDBGridEhImportAsVCLDBIF>(Data, Size, "TDBGridEhImportAsVCLDBIF.ReadPrefix: ");
    return 0;
}
