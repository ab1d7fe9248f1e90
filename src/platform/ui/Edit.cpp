// TCustomEdit on a QLineEdit or, multi-line, a QPlainTextEdit: the edit messages carried out on
// the widget, and every user edit checked and reported in one place.
#include "platform/ui/Edit.h"

#include "platform/ui/Clipboard.h"
#include "platform/ui/EditBox.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/QtConvert.h"
#include "platform/ui/WindowHost.h"

#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>

#include <algorithm>

namespace {

// The widget's own limit stays out of the way: the control keeps its own.
constexpr int UnlimitedLength = 0x3FFFFFFF;

// Shows a chosen character for every character of a password, and no caret while it is hidden.
class TEditStyle : public QProxyStyle {
public:
    TEditStyle(Char PasswordChar, bool CaretHidden) : FPasswordChar(PasswordChar), FCaretHidden(CaretHidden) {}
    int styleHint(StyleHint Hint, const QStyleOption* Option, const QWidget* Widget,
                  QStyleHintReturn* Return) const override
    {
        if (Hint == SH_LineEdit_PasswordCharacter && !FPasswordChar.isNull())
            return FPasswordChar.unicode();
        return QProxyStyle::styleHint(Hint, Option, Widget, Return);
    }
    int pixelMetric(PixelMetric Metric, const QStyleOption* Option, const QWidget* Widget) const override
    {
        if (Metric == PM_TextCursorWidth && FCaretHidden)
            return 0;
        return QProxyStyle::pixelMetric(Metric, Option, Widget);
    }

private:
    Char FPasswordChar;
    bool FCaretHidden;
};

// A single-line edit takes the text up to its first line break.
String FirstLine(const String& S)
{
    const auto end = std::find_if(S.begin(), S.end(), [](Char C) { return C == u'\r' || C == u'\n'; });
    return S.left(end - S.begin());
}

}  // namespace

// The edit window: a line or text edit whose context menu and drops go through the control.
template <class TWidget>
class TEditWidget : public TWidget {
public:
    TEditWidget(TCustomEdit& Control, QWidget* Parent) : TWidget(Parent), FControl(Control) {}

protected:
    void contextMenuEvent(QContextMenuEvent* Event) override
    {
        // The standard commands, as the edit messages, so every check of the control applies.
        QMenu menu;
        const TEditBox box(this);
        const bool editable = !box.IsReadOnly();
        const auto add = [&](const QString& Caption, unsigned Msg, WPARAM WParam, LPARAM LParam, bool Enabled) {
            QAction* action = menu.addAction(Caption);
            action->setEnabled(Enabled);
            QObject::connect(action, &QAction::triggered, [this, Msg, WParam, LParam] {
                CallGuarded(&FControl, [&] { FControl.Perform(Msg, WParam, LParam); });
            });
        };
        const bool selected = box.HasSelectedText();
        const bool secret = box.Secret();
        add(QStringLiteral("撤消(&U)"), WM_UNDO, 0, 0, editable && box.IsUndoAvailable());
        menu.addSeparator();
        add(QStringLiteral("剪切(&T)"), WM_CUT, 0, 0, editable && selected && !secret);
        add(QStringLiteral("复制(&C)"), WM_COPY, 0, 0, selected && !secret);
        add(QStringLiteral("粘贴(&P)"), WM_PASTE, 0, 0, editable && !Clipboard()->AsText().isEmpty());
        add(QStringLiteral("删除(&D)"), WM_CLEAR, 0, 0, editable && selected);
        menu.addSeparator();
        add(QStringLiteral("全选(&A)"), EM_SETSEL, 0, -1, !box.Text().isEmpty());
        menu.exec(Event->globalPos());
    }

    void dropEvent(QDropEvent* Event) override
    {
        if (!Event->mimeData()->hasText())
            return;
        Event->acceptProposedAction();
        const int position = TEditBox(this).PositionAt(Event->position().toPoint());
        const String text = Event->mimeData()->text();
        CallGuarded(&FControl, [&] { FControl.DropText(position, text); });
    }

private:
    TCustomEdit& FControl;
};

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner)
{
    SetControlStyle(csClickEvents | csSetCaption | csDoubleClicks | csFixedHeight);
    SetBounds(0, 0, 121, 21);
    SetTabStop(true);
    SetBorderStyle(TBorderStyle::bsSingle);
}

TCustomEdit::~TCustomEdit() = default;

TEditBox TCustomEdit::Box() const { return TEditBox(const_cast<TCustomEdit*>(this)->Handle()); }

QWidget* TCustomEdit::CreateWindowHandle(const TCreateParams& Params)
{
    QWidget* parent = Params.WndParent != nullptr ? Params.WndParent->Handle() : nullptr;
    const bool framed = (Params.ExStyle & WS_EX_CLIENTEDGE) != 0 || (Params.Style & WS_BORDER) != 0;
    QWidget* window = nullptr;
    if (FMultiLine) {
        auto* lines = new TEditWidget<TEditLinesWidget>(*this, parent);
        lines->setFrameShape(framed ? QFrame::StyledPanel : QFrame::NoFrame);
        lines->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        lines->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        lines->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        lines->setTabChangesFocus(true);
        window = lines;
    } else {
        auto* line = new TEditWidget<QLineEdit>(*this, parent);
        line->setMaxLength(UnlimitedLength);
        line->setFrame(framed);
        if (!FPasswordChar.isNull())
            line->setEchoMode(QLineEdit::Password);
        window = line;
    }
    TEditBox box(window);
    box.SetAlignment(FAlignment);
    box.SetReadOnly(FReadOnly);
    box.SetText(Params.Caption);
    box.SetCursorPosition(0);
    ApplyEditStyle(window);
    return window;
}

void TCustomEdit::DestroyWnd()
{
    FText = Box().Text();
    TWinControl::DestroyWnd();
    // The margins belong to the window; a new one has its own.
    FLeftMargin = FRightMargin = 0;
    FFormatRect = TRect();
}

String TCustomEdit::WindowText() const { return HandleAllocated() ? Box().Text() : FText; }

void TCustomEdit::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_GETTEXT: *reinterpret_cast<String*>(Message.LParam) = WindowText(); return;
    case WM_SETTEXT:
        TWinControl::Dispatch(Message);
        if (HandleAllocated()) {
            Box().SetText(FText);
            Box().SetCursorPosition(0);
        }
        return;
    case WM_PAINT: {
        DefaultHandler(Message);
        if (!HandleAllocated())
            return;
        // The marks go on the surface that shows the text, over what it painted.
        QWidget* surface = Box().Surface();
        QPainter painter(surface);
        const TPoint origin = ScreenToClient(FromQPoint(surface->mapToGlobal(QPoint(0, 0))));
        painter.translate(-origin.X, -origin.Y);
        PaintWindow(&painter);
        PaintControls(&painter);
        return;
    }
    case CM_ENTER:
        // The mouse places the caret itself.
        if (FAutoSelect && GetKeyState(VK_LBUTTON) >= 0)
            SelectAll();
        TWinControl::Dispatch(Message);
        return;
    default: TWinControl::Dispatch(Message); return;
    }
}

void TCustomEdit::DefaultHandler(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_CHAR: TypeCharacter(Message); return;
    case WM_KEYDOWN: EditKey(Message); return;
    // Alt with a key edits nothing.
    case WM_SYSKEYDOWN:
    case WM_SYSCHAR: return;
    case WM_SETFOCUS: {
        // The control decides about selecting on entry, not the widget.
        QFocusEvent focus(QEvent::FocusIn, Qt::OtherFocusReason);
        static_cast<QObject*>(Handle())->event(&focus);
        return;
    }
    // The window system's middle-button paste would pass no check.
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK: return;
    case WM_GETDLGCODE: Message.Result = EditDialogCode; return;
    case WM_CUT:
    case WM_COPY:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_GETSEL:
    case EM_SETSEL:
    case EM_REPLACESEL:
    case EM_GETMODIFY:
    case EM_SETMODIFY:
    case EM_CANUNDO:
    case EM_UNDO:
    case EM_EMPTYUNDOBUFFER:
    case EM_SETREADONLY:
    case EM_SETMARGINS:
    case EM_GETMARGINS:
    case EM_SETRECT:
    case EM_SETRECTNP:
    case EM_GETRECT:
    case EM_SCROLLCARET:
    case EM_CHARFROMPOS:
    case EM_GETLINECOUNT:
    case EM_LINEFROMCHAR: HandleEditMessage(Message); return;
    default: TWinControl::DefaultHandler(Message); return;
    }
}

void TCustomEdit::HandleEditMessage(TMessage& Message)
{
    TEditBox edit = Box();
    const bool secret = edit.Secret();
    switch (Message.Msg) {
    case WM_CUT:
        if (edit.HasSelectedText() && !secret && MayChangeText()) {
            Clipboard()->SetAsText(edit.SelectedText());
            UserEdit([&edit] { edit.Delete(); });
        }
        return;
    case WM_COPY:
        if (edit.HasSelectedText() && !secret)
            Clipboard()->SetAsText(edit.SelectedText());
        return;
    case WM_PASTE: {
        const String text = Clipboard()->AsText();
        if (!text.isEmpty() && MayChangeText())
            InsertUserText(text);
        return;
    }
    case WM_CLEAR:
        if (edit.HasSelectedText() && MayChangeText())
            UserEdit([&edit] { edit.Delete(); });
        return;
    case WM_UNDO:
    case EM_UNDO:
        if (edit.IsUndoAvailable() && MayChangeText())
            UserEdit([&edit] { edit.Undo(); });
        Message.Result = 1;
        return;
    case EM_GETSEL: {
        const int start = edit.HasSelectedText() ? edit.SelectionStart() : edit.CursorPosition();
        const int end = edit.HasSelectedText() ? edit.SelectionEnd() : start;
        if (Message.WParam != 0)
            *reinterpret_cast<std::uint32_t*>(Message.WParam) = static_cast<std::uint32_t>(start);
        if (Message.LParam != 0)
            *reinterpret_cast<std::uint32_t*>(Message.LParam) = static_cast<std::uint32_t>(end);
        Message.Result = MAKELPARAM(std::min(start, 0xFFFF), std::min(end, 0xFFFF));
        return;
    }
    case EM_SETSEL: {
        const int length = static_cast<int>(edit.Text().size());
        const auto start = static_cast<std::intptr_t>(Message.WParam);
        const auto end = Message.LParam;
        if (start < 0) {
            edit.Deselect();
            return;
        }
        const int from = static_cast<int>(std::min<std::intptr_t>(start, length));
        const int to = end < 0 ? length : static_cast<int>(std::min<std::intptr_t>(end, length));
        // The caret goes to the end named second, as on the platform.
        edit.SetSelection(from, to - from);
        return;
    }
    case EM_REPLACESEL: edit.Insert(ApplyCharCase(*reinterpret_cast<const String*>(Message.LParam))); return;
    case EM_GETMODIFY: Message.Result = edit.IsModified() ? 1 : 0; return;
    case EM_SETMODIFY: edit.SetModified(Message.WParam != 0); return;
    case EM_CANUNDO: Message.Result = edit.IsUndoAvailable() ? 1 : 0; return;
    case EM_EMPTYUNDOBUFFER: {
        // Setting the text anew is the line edit's only way to forget its history.
        const bool modified = edit.IsModified();
        const int start = edit.SelectionStart();
        const int length = static_cast<int>(edit.SelectedText().size());
        const int cursor = edit.CursorPosition();
        edit.SetText(edit.Text());
        edit.SetModified(modified);
        if (length > 0)
            edit.SetSelection(cursor == start ? start + length : start, cursor == start ? -length : length);
        else
            edit.SetCursorPosition(cursor);
        return;
    }
    case EM_SETREADONLY:
        edit.SetReadOnly(Message.WParam != 0);
        Message.Result = 1;
        return;
    case EM_SETMARGINS:
        if (Message.WParam & EC_LEFTMARGIN)
            FLeftMargin = LOWORD(static_cast<std::uintptr_t>(Message.LParam));
        if (Message.WParam & EC_RIGHTMARGIN)
            FRightMargin = HIWORD(static_cast<std::uintptr_t>(Message.LParam));
        ApplyTextMargins();
        return;
    case EM_GETMARGINS: Message.Result = MAKELPARAM(FLeftMargin, FRightMargin); return;
    case EM_SETRECT:
    case EM_SETRECTNP:
        FFormatRect = Message.LParam != 0 ? *reinterpret_cast<const TRect*>(Message.LParam) : TRect();
        ApplyTextMargins();
        return;
    case EM_GETRECT: {
        const TRect client = ClientRect();
        TRect rect = FFormatRect.IsEmpty() ? client : FFormatRect;
        rect.Left += FLeftMargin;
        rect.Right -= FRightMargin;
        *reinterpret_cast<TRect*>(Message.LParam) = rect;
        return;
    }
    case EM_SCROLLCARET: edit.ScrollCaret(); return;
    case EM_GETLINECOUNT: Message.Result = edit.LineCount(); return;
    case EM_LINEFROMCHAR: {
        // -1 names the line of the caret.
        const auto at = static_cast<std::intptr_t>(Message.WParam);
        Message.Result = edit.LineAt(at < 0 ? edit.CursorPosition() : static_cast<int>(at));
        return;
    }
    case EM_CHARFROMPOS: {
        const TPoint at = Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
        Message.Result = edit.PositionAt(edit.Surface()->mapFromGlobal(ToQPoint(ClientToScreen(at))));
        return;
    }
    default: return;
    }
}

void TCustomEdit::ApplyTextMargins()
{
    const TRect client = ClientRect();
    const TRect format = FFormatRect.IsEmpty() ? client : FFormatRect;
    Box().SetTextMargins(std::max(format.Left, 0) + FLeftMargin, std::max(format.Top, 0),
                             std::max(client.Right - format.Right, 0) + FRightMargin,
                             std::max(client.Bottom - format.Bottom, 0));
}

void TCustomEdit::TypeCharacter(TMessage& Message)
{
    const Char ch(static_cast<char16_t>(Message.WParam));
    switch (ch.unicode()) {
    case 1: SelectAll(); return;
    case 3: Perform(WM_COPY); return;
    case 22: Perform(WM_PASTE); return;
    case 24: Perform(WM_CUT); return;
    case 26: Perform(WM_UNDO); return;
    case 8:
        if (MayChangeText())
            UserEdit([&] { TWinControl::DefaultHandler(Message); });
        return;
    default: break;
    }
    // Enter and Ctrl+Enter break a multi-line text; Esc, Tab and the other control characters
    // type nothing.
    if (FMultiLine && (ch == u'\r' || ch == u'\n')) {
        if (MayChangeText())
            InsertUserText(QStringLiteral("\r\n"));
        return;
    }
    if (ch.unicode() < 32 || !MayChangeText())
        return;
    const String typed = ApplyCharCase(String(ch));
    const TEditBox edit = Box();
    if (FMaxLength > 0 && edit.Text().size() - edit.SelectedText().size() >= FMaxLength) {
        MessageBeep(0);
        return;
    }
    Message.WParam = typed.front().unicode();
    UserEdit([&] { TWinControl::DefaultHandler(Message); });
}

void TCustomEdit::EditKey(TMessage& Message)
{
    const TShiftState shift = KeyDataToShiftState(Message.LParam);
    switch (Message.WParam) {
    case VK_DELETE:
        if (shift == ssShift)
            Perform(WM_CUT);
        else if (MayChangeText())
            UserEdit([&] { TWinControl::DefaultHandler(Message); });
        return;
    case VK_INSERT:
        if (shift == ssShift)
            Perform(WM_PASTE);
        else if (shift == ssCtrl)
            Perform(WM_COPY);
        return;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_HOME:
    case VK_END: TWinControl::DefaultHandler(Message); return;
    case VK_UP:
    case VK_DOWN:
        if (FMultiLine)
            TWinControl::DefaultHandler(Message);
        return;
    // The line edit's other keys are editing shortcuts that would bypass the checks.
    default: return;
    }
}

bool TCustomEdit::MayChangeText() { return !FReadOnly && EditCanModify() && !Box().IsReadOnly(); }

void TCustomEdit::InsertUserText(const String& S)
{
    TEditBox edit = Box();
    String text = ApplyCharCase(FMultiLine ? S : FirstLine(S));
    if (FMaxLength > 0) {
        const auto room = FMaxLength - (edit.Text().size() - edit.SelectedText().size());
        text.truncate(std::max<qsizetype>(room, 0));
    }
    UserEdit([&] { edit.Insert(text); });
}

void TCustomEdit::DropText(int Position, const String& S)
{
    if (!MayChangeText())
        return;
    Box().SetCursorPosition(Position);
    InsertUserText(S);
}

void TCustomEdit::ReplaceText(const String& S, int Start, int Length)
{
    TEditBox edit = Box();
    if (edit.Text() != S) {
        edit.SelectAll();
        edit.Insert(S);
    }
    edit.SetSelection(Start, Length);
}

String TCustomEdit::ApplyCharCase(const String& S) const
{
    switch (FCharCase) {
    case TEditCharCase::ecUpperCase: return S.toUpper();
    case TEditCharCase::ecLowerCase: return S.toLower();
    default: return S;
    }
}

void TCustomEdit::Change()
{
    if (OnChange)
        OnChange(this);
}

void TCustomEdit::PaintWindow(HDC) {}

void TCustomEdit::SetAlignment(TAlignment Value)
{
    FAlignment = Value;
    if (HandleAllocated())
        Box().SetAlignment(Value);
}

void TCustomEdit::SetCharCase(TEditCharCase Value) { FCharCase = Value; }

void TCustomEdit::SetMaxLength(int Value) { FMaxLength = std::max(Value, 0); }

void TCustomEdit::SetPasswordChar(Char Value)
{
    if (Value == FPasswordChar)
        return;
    FPasswordChar = Value;
    RecreateWnd();
}

void TCustomEdit::SetCaretHidden(bool Value)
{
    if (Value == FCaretHidden)
        return;
    FCaretHidden = Value;
    if (HandleAllocated())
        ApplyEditStyle(Handle());
}

void TCustomEdit::SetMultiLine(bool Value)
{
    if (Value == FMultiLine)
        return;
    FMultiLine = Value;
    RecreateWnd();
}

void TCustomEdit::ApplyEditStyle(QWidget* Window)
{
    if (auto* lines = dynamic_cast<QPlainTextEdit*>(Window)) {
        lines->setCursorWidth(FCaretHidden ? 0 : 1);
        return;
    }
    auto* line = static_cast<QLineEdit*>(Window);
    QStyle* old = line->style();
    const bool own = dynamic_cast<TEditStyle*>(old) != nullptr;
    if (FPasswordChar.isNull() && !FCaretHidden) {
        if (own)
            line->setStyle(nullptr);
    } else {
        auto* style = new TEditStyle(FPasswordChar, FCaretHidden);
        style->setParent(line);
        // A new style makes the line edit read its caret width again.
        line->setStyle(style);
    }
    if (own)
        delete old;
}

void TCustomEdit::SetReadOnly(bool Value)
{
    FReadOnly = Value;
    if (HandleAllocated())
        Perform(EM_SETREADONLY, Value ? 1 : 0);
}

bool TCustomEdit::Modified() const { return const_cast<TCustomEdit*>(this)->Perform(EM_GETMODIFY) != 0; }

void TCustomEdit::SetModified(bool Value) { Perform(EM_SETMODIFY, Value ? 1 : 0); }

int TCustomEdit::SelStart() const
{
    std::uint32_t start = 0;
    const_cast<TCustomEdit*>(this)->Perform(EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<int>(start);
}

void TCustomEdit::SetSelStart(int Value) { Perform(EM_SETSEL, static_cast<WPARAM>(Value), Value); }

int TCustomEdit::SelLength() const
{
    std::uint32_t start = 0;
    std::uint32_t end = 0;
    const_cast<TCustomEdit*>(this)->Perform(EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                                            reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}

void TCustomEdit::SetSelLength(int Value)
{
    const int start = SelStart();
    Perform(EM_SETSEL, static_cast<WPARAM>(start), start + Value);
}

String TCustomEdit::SelText() const { return WindowText().mid(SelStart(), SelLength()); }

void TCustomEdit::SetSelText(const String& Value) { Perform(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(&Value)); }

void TCustomEdit::SelectAll() { Perform(EM_SETSEL, 0, -1); }

void TCustomEdit::Clear() { SetText(String()); }

void TCustomEdit::ClearSelection() { Perform(WM_CLEAR); }

void TCustomEdit::CopyToClipboard() { Perform(WM_COPY); }

void TCustomEdit::CutToClipboard() { Perform(WM_CUT); }

void TCustomEdit::PasteFromClipboard() { Perform(WM_PASTE); }

void TCustomEdit::Undo() { Perform(WM_UNDO); }

bool TCustomEdit::CanUndo() const { return const_cast<TCustomEdit*>(this)->Perform(EM_CANUNDO) != 0; }

void TCustomEdit::ClearUndo() { Perform(EM_EMPTYUNDOBUFFER); }

TPoint TCustomEdit::CaretPos() const
{
    const TEditBox edit = Box();
    const QPoint corner = edit.Surface()->mapToGlobal(edit.CursorRect().topLeft());
    return ScreenToClient(FromQPoint(corner));
}
