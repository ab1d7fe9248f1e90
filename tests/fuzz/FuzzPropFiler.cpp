// The stored-property reader: any text as a stored description, read into a shown form with
// named controls and into an object no interceptor stands in for.
#include "FuzzInput.h"
#include "FuzzSupport.h"

#include "controls/PropFilerEh.h"
#include "platform/core/Exceptions.h"
#include "platform/core/StringList.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Forms.h"

namespace {

struct TFuzzForm {
    TForm* Form;

    TFuzzForm()
    {
        EnsureFuzzApplication();
        Form = new TForm(nullptr);
        Form->SetName(QStringLiteral("MainForm"));
        for (const char* name : {"Edit1", "Edit2"}) {
            auto* edit = new TEdit(Form);
            edit->SetName(QString::fromLatin1(name));
            edit->SetBounds(10, 10, 100, 21);
            edit->SetParent(Form);
        }
        Form->Show();
    }
};

TForm& FuzzForm()
{
    static TFuzzForm form;
    return *form.Form;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    TFuzzInput input(Data, Size);
    const bool toForm = input.Bool();
    TStringList description;
    description.SetText(input.RestText());

    TForm& form = FuzzForm();
    form.SetPosition(TPosition::poDesigned);
    form.SetBounds(0, 0, 300, 200);
    try {
        if (toForm)
            FUZZ_CHECK(ReadInterceptedProperties(&form, description));
        else {
            TStringList plain;
            FUZZ_CHECK(!ReadInterceptedProperties(&plain, description));
        }
    } catch (const EReadError&) {
    } catch (const EConvertError&) {
    }
    return 0;
}
