// The masked edit driven as a user drives it: a mask and a starting text, then key strokes,
// input-method commits, pastes, cuts, undo, validation and selections read from the input.
#include "FuzzInput.h"
#include "FuzzSupport.h"

#include "platform/ui/Clipboard.h"
#include "platform/ui/Forms.h"
#include "platform/ui/MaskEdit.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QWidget>

namespace {

struct TFuzzForm {
    TForm* Form;
    TMaskEdit* Edit;

    TFuzzForm()
    {
        EnsureFuzzApplication();
        Clipboard()->SetStore(std::make_unique<TMemoryClipboardStore>());
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 120);
        Edit = new TMaskEdit(Form);
        Edit->SetBounds(10, 10, 150, 21);
        Edit->SetParent(Form);
        Form->Show();
        QApplication::setActiveWindow(Form->Handle());
    }
};

TFuzzForm& FuzzForm()
{
    static TFuzzForm form;
    return form;
}

void SendKey(QWidget* Target, int QtKey, const QString& Text, Qt::KeyboardModifiers Modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, QtKey, Modifiers, Text);
    QApplication::sendEvent(Target, &press);
    QKeyEvent release(QEvent::KeyRelease, QtKey, Modifiers, Text);
    QApplication::sendEvent(Target, &release);
}

struct TKeyStroke {
    int Key;
    const char* Text;
    Qt::KeyboardModifiers Modifiers;
};

constexpr TKeyStroke Strokes[] = {
    {Qt::Key_Left, "", Qt::NoModifier},       {Qt::Key_Right, "", Qt::NoModifier},
    {Qt::Key_Home, "", Qt::NoModifier},       {Qt::Key_End, "", Qt::NoModifier},
    {Qt::Key_Left, "", Qt::ShiftModifier},    {Qt::Key_Right, "", Qt::ShiftModifier},
    {Qt::Key_Home, "", Qt::ShiftModifier},    {Qt::Key_End, "", Qt::ShiftModifier},
    {Qt::Key_Backspace, "\b", Qt::NoModifier}, {Qt::Key_Delete, "\x7f", Qt::NoModifier},
    {Qt::Key_Delete, "", Qt::ShiftModifier},  {Qt::Key_Insert, "", Qt::ShiftModifier},
    {Qt::Key_Escape, "\x1b", Qt::NoModifier}, {Qt::Key_Return, "\r", Qt::NoModifier},
    {Qt::Key_X, "\x18", Qt::ControlModifier}, {Qt::Key_C, "\x03", Qt::ControlModifier},
    {Qt::Key_V, "\x16", Qt::ControlModifier}, {Qt::Key_Z, "\x1a", Qt::ControlModifier},
    {Qt::Key_A, "\x01", Qt::ControlModifier}, {Qt::Key_Left, "", Qt::ControlModifier},
};

void Act(TMaskEdit& Edit, TFuzzInput& Input)
{
    QWidget* widget = Edit.Handle();
    switch (Input.Byte() % 8) {
    case 0: {  // a typed character
        const Char ch(static_cast<char16_t>(Input.Bool() ? Input.Byte() : Input.Raw<std::uint16_t>()));
        const char16_t upper = ch.toUpper().unicode();
        SendKey(widget, upper >= 0x20 && upper < 0x7F ? int(upper) : int(Qt::Key_unknown), String(ch),
                ch.isUpper() ? Qt::ShiftModifier : Qt::NoModifier);
        break;
    }
    case 1:
    case 2: {
        const TKeyStroke& stroke = Input.PickOne(Strokes);
        SendKey(widget, stroke.Key, QString::fromLatin1(stroke.Text), stroke.Modifiers);
        break;
    }
    case 3: {
        QInputMethodEvent commit;
        commit.setCommitString(Input.Text());
        QApplication::sendEvent(widget, &commit);
        break;
    }
    case 4:
        Clipboard()->SetAsText(Input.Text());
        Edit.PasteFromClipboard();
        break;
    case 5:
        Edit.SetSelStart(static_cast<int>(Input.IntInRange(-2, 40)));
        Edit.SetSelLength(static_cast<int>(Input.IntInRange(-2, 40)));
        break;
    case 6:
        try {
            Edit.ValidateEdit();
        } catch (const EDBEditError&) {
        }
        break;
    case 7:
        if (Input.Bool())
            Edit.Undo();
        else
            Edit.CutToClipboard();
        break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    TFuzzInput input(Data, Size);
    TMaskEdit& edit = *FuzzForm().Edit;
    edit.SetEditMask(String());
    edit.SetText(String());
    edit.SetEditMask(input.Text());
    edit.SetText(input.Text());
    edit.SetFocus();
    for (int steps = 0; steps < 200 && !input.Empty(); ++steps) {
        Act(edit, input);
        const int textLength = static_cast<int>(edit.EditText().size());
        FUZZ_CHECK(edit.SelStart() >= 0 && edit.SelStart() + edit.SelLength() <= textLength);
    }
    edit.Text();
    return 0;
}
