// TMemo on a QPlainTextEdit: the lines as a TStrings view of the window's text.
#include "platform/ui/Memo.h"

#include "platform/ui/Edit.h"
#include "platform/ui/WindowHost.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextDocument>
#include <QTextOption>

#include <algorithm>

namespace {

// The memo's lines: CR LF, LF or CR end a line; a final empty line is no line.
QStringList SplitLines(const String& Text)
{
    QStringList lines = String(Text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n').split(u'\n');
    if (lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

}  // namespace

// Lines of a memo: every read and write goes to the memo's text.
class TMemoStrings : public TStrings {
public:
    explicit TMemoStrings(TMemo& Memo) : FMemo(Memo) {}

    int Count() const override { return static_cast<int>(SplitLines(FMemo.Text()).size()); }
    String Strings(int Index) const override { return SplitLines(FMemo.Text()).value(Index); }
    void SetStrings(int Index, const String& S) override
    {
        QStringList lines = SplitLines(FMemo.Text());
        lines[Index] = S;
        Store(lines);
    }
    void Insert(int Index, const String& S) override
    {
        QStringList lines = SplitLines(FMemo.Text());
        lines.insert(std::clamp<qsizetype>(Index, 0, lines.size()), S);
        Store(lines);
    }
    void Delete(int Index) override
    {
        QStringList lines = SplitLines(FMemo.Text());
        lines.removeAt(Index);
        Store(lines);
    }
    void Clear() override { FMemo.SetText(String()); }

protected:
    const char* ClassName() const override { return "TMemoStrings"; }

private:
    // Each line ends with CR LF, as the platform's memo lines write them.
    void Store(const QStringList& Lines)
    {
        FMemo.SetText(Lines.isEmpty() ? String() : Lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
    }

    TMemo& FMemo;
};

TMemo::TMemo(TComponent* AOwner) : TWinControl(AOwner), FLines(std::make_unique<TMemoStrings>(*this))
{
    SetBounds(0, 0, 185, 89);
    SetTabStop(true);
    SetBorderStyle(TBorderStyle::bsSingle);
}

TMemo::~TMemo() = default;

QPlainTextEdit* TMemo::Editor() const { return static_cast<QPlainTextEdit*>(const_cast<TMemo*>(this)->Handle()); }

QWidget* TMemo::CreateWindowHandle(const TCreateParams& Params)
{
    auto* edit = new QPlainTextEdit(Params.WndParent != nullptr ? Params.WndParent->Handle() : nullptr);
    edit->setFrameShape((Params.ExStyle & WS_EX_CLIENTEDGE) != 0 || (Params.Style & WS_BORDER) != 0 ? QFrame::StyledPanel
                                                                                                   : QFrame::NoFrame);
    edit->setPlainText(String(Params.Caption).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    edit->setReadOnly(FReadOnly);
    edit->setLineWrapMode(FWordWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    ApplyTextLayout(edit);
    ApplyScrollBars(edit);
    KeepALineInView(edit);
    return edit;
}

void TMemo::DestroyWnd()
{
    FText = WindowText();
    TWinControl::DestroyWnd();
}

String TMemo::WindowText() const
{
    return HandleAllocated() ? Editor()->toPlainText().replace(u'\n', QStringLiteral("\r\n")) : FText;
}

// The platform scrolls a memo by whole lines and never past its last line: a memo lower than a
// line (a totals box one line high) keeps that line in view. Qt would let End or Down scroll it
// away, as no whole line fits.
void TMemo::KeepALineInView(QPlainTextEdit* Edit)
{
    QScrollBar* bar = Edit->verticalScrollBar();
    QObject::connect(bar, &QScrollBar::rangeChanged, Edit, [Edit, bar](int, int Max) {
        const int lastLine = std::max(0, Edit->document()->lineCount() - 1);
        if (Max > lastLine)
            bar->setMaximum(lastLine);
    });
}

void TMemo::ApplyTextLayout(QPlainTextEdit* Edit) const
{
    // The platform's memo sets its lines a pixel inside the client area, not Qt's four.
    Edit->document()->setDocumentMargin(1);
    QTextOption option = Edit->document()->defaultTextOption();
    option.setAlignment(FAlignment == TAlignment::taRightJustify ? Qt::AlignRight
                        : FAlignment == TAlignment::taCenter     ? Qt::AlignHCenter
                                                                 : Qt::AlignLeft);
    Edit->document()->setDefaultTextOption(option);
}

void TMemo::ApplyScrollBars(QPlainTextEdit* Edit) const
{
    const bool horz = FScrollBars == TScrollStyle::ssHorizontal || FScrollBars == TScrollStyle::ssBoth;
    const bool vert = FScrollBars == TScrollStyle::ssVertical || FScrollBars == TScrollStyle::ssBoth;
    Edit->setHorizontalScrollBarPolicy(horz ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    Edit->setVerticalScrollBarPolicy(vert ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

void TMemo::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_GETTEXT: *reinterpret_cast<String*>(Message.LParam) = WindowText(); return;
    case WM_SETTEXT:
        TWinControl::Dispatch(Message);
        if (HandleAllocated()) {
            Editor()->setPlainText(String(FText).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
            // Setting the text resets the document's options.
            ApplyTextLayout(Editor());
        }
        return;
    default: TWinControl::Dispatch(Message); return;
    }
}

void TMemo::DefaultHandler(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        Message.Result = EditDialogCode | (FWantReturns ? DLGC_WANTALLKEYS : 0);
        return;
    case WM_CHAR:
    case WM_KEYDOWN: {
        // The user typed, deleted, pasted or undid through the window's own keys.
        const String before = WindowText();
        TWinControl::DefaultHandler(Message);
        if (WindowText() != before)
            Change();
        return;
    }
    default: TWinControl::DefaultHandler(Message); return;
    }
}

void TMemo::Change()
{
    if (OnChange)
        OnChange(this);
}

void TMemo::SetReadOnly(bool Value)
{
    FReadOnly = Value;
    if (HandleAllocated())
        Editor()->setReadOnly(Value);
}

void TMemo::SetAlignment(TAlignment Value)
{
    FAlignment = Value;
    if (HandleAllocated())
        ApplyTextLayout(Editor());
}

void TMemo::SetWordWrap(bool Value)
{
    FWordWrap = Value;
    if (HandleAllocated())
        Editor()->setLineWrapMode(Value ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TMemo::SetScrollBars(TScrollStyle Value)
{
    FScrollBars = Value;
    if (HandleAllocated())
        ApplyScrollBars(Editor());
}

void TMemo::SelectAll() { Editor()->selectAll(); }
