// The edit-mask engine: a mask and a value, laid on each other every way the masked edit does,
// with characters offered at each position and the texts validated.
#include "FuzzInput.h"
#include "FuzzSupport.h"

#include "platform/core/EditMask.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    TFuzzInput input(Data, Size);
    const String maskText = input.Text();
    const String value = input.Text();
    const String typed = input.RestText();

    const TEditMask mask = ParseEditMask(maskText);
    const qsizetype length = static_cast<qsizetype>(mask.Positions.size());
    FormatMaskText(maskText, value);

    const String blank = MaskBlankText(mask);
    FUZZ_CHECK(blank.size() == length);
    const String editText = MaskEditText(mask, value);
    FUZZ_CHECK(editText.size() >= length);
    MaskEditValue(mask, editText);
    MaskEditValue(mask, typed);

    int errorPos = -1;
    for (const String& text : {blank, editText, typed})
        if (!MaskValidateText(mask, text, errorPos))
            FUZZ_CHECK(errorPos >= 0 && errorPos < std::max<qsizetype>(text.size(), length));

    // Each typed character offered at successive positions, as typing walks the mask.
    for (qsizetype i = 0; i < typed.size() && length > 0; ++i) {
        Char ch = typed[i];
        MaskAcceptChar(mask, static_cast<int>(i % length), ch);
    }
    return 0;
}
