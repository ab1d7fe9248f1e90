// TCustomEdit on a QLineEdit: the edit messages carried out on the widget, and every user edit
// checked and reported in one place.
#include "platform/ui/Edit.h"

#include "platform/ui/Clipboard.h"
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

Qt::Alignment ToQtAlignment(TAlignment Alignment)
{
    switch (Alignment) {
    case TAlignment::taRightJustify: return Qt::AlignRight | Qt::AlignVCenter;
    case TAlignment::taCenter: return Qt::AlignHCenter | Qt::AlignVCenter;
    default: return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

// A single-line edit takes the text up to its first line break.
String FirstLine(const String& S)
{
    const auto end = std::find_if(S.begin(), S.end(), [](Char C) { return C == u'\r' || C == u'\n'; });
    return S.left(end - S.begin());
}

}  // namespace

// The edit window: a line edit whose context menu and drops go through the control.
class TEditWidget : public QLineEdit {
public:
    TEditWidget(TCustomEdit& Control, QWidget* Parent) : QLineEdit(Parent), FControl(Control) {}

protected:
    void contextMenuEvent(QContextMenuEvent* Event) override
    {
        // The standard commands, as the edit messages, so every check of the control applies.
        QMenu menu;
        const bool editable = !isReadOnly();
        const auto add = [&](const QString& Caption, unsigned Msg, WPARAM WParam, LPARAM LParam, bool Enabled) {
            QAction* action = menu.addAction(Caption);
            action->setEnabled(Enabled);
            QObject::connect(action, &QAction::triggered, [this, Msg, WParam, LParam] {
                CallGuarded(&FControl, [&] { FControl.Perform(Msg, WParam, LParam); });
            });
        };
        const bool selected = hasSelectedText();
        const bool secret = echoMode() != QLineEdit::Normal;
        add(QStringLiteral("撤消(&U)"), WM_UNDO, 0, 0, editable && isUndoAvailable());
        menu.addSeparator();
        add(QStringLiteral("剪切(&T)"), WM_CUT, 0, 0, editable && selected && !secret);
        add(QStringLiteral("复制(&C)"), WM_COPY, 0, 0, selected && !secret);
        add(QStringLiteral("粘贴(&P)"), WM_PASTE, 0, 0, editable && !Clipboard()->AsText().isEmpty());
        add(QStringLiteral("删除(&D)"), WM_CLEAR, 0, 0, editable && selected);
        menu.addSeparator();
        add(QStringLiteral("全选(&A)"), EM_SETSEL, 0, -1, !text().isEmpty());
        menu.exec(Event->globalPos());
    }

    void dropEvent(QDropEvent* Event) override
    {
        if (!Event->mimeData()->hasText())
            return;
        Event->acceptProposedAction();
        const int position = cursorPositionAt(Event->position().toPoint());
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

QLineEdit* TCustomEdit::Editor() { return static_cast<QLineEdit*>(Handle()); }

const QLineEdit* TCustomEdit::Editor() const { return const_cast<TCustomEdit*>(this)->Editor(); }

QWidget* TCustomEdit::CreateWindowHandle(const TCreateParams& Params)
{
    auto* edit = new TEditWidget(*this, Params.WndParent != nullptr ? Params.WndParent->Handle() : nullptr);
    edit->setMaxLength(UnlimitedLength);
    edit->setFrame((Params.ExStyle & WS_EX_CLIENTEDGE) != 0 || (Params.Style & WS_BORDER) != 0);
    edit->setAlignment(ToQtAlignment(FAlignment));
    edit->setReadOnly(FReadOnly);
    if (!FPasswordChar.isNull())
        edit->setEchoMode(QLineEdit::Password);
    ApplyEditStyle(edit);
    edit->setText(Params.Caption);
    edit->setCursorPosition(0);
    return edit;
}

void TCustomEdit::DestroyWnd()
{
    FText = Editor()->text();
    TWinControl::DestroyWnd();
    // The margins belong to the window; a new one has its own.
    FLeftMargin = FRightMargin = 0;
    FFormatRect = TRect();
}

String TCustomEdit::WindowText() const { return HandleAllocated() ? Editor()->text() : FText; }

void TCustomEdit::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_GETTEXT: *reinterpret_cast<String*>(Message.LParam) = WindowText(); return;
    case WM_SETTEXT:
        TWinControl::Dispatch(Message);
        if (HandleAllocated()) {
            Editor()->setText(FText);
            Editor()->setCursorPosition(0);
        }
        return;
    case WM_PAINT: {
        DefaultHandler(Message);
        if (!HandleAllocated())
            return;
        QPainter painter(Editor());
        const TPoint origin = ScreenToClient(FromQPoint(Editor()->mapToGlobal(QPoint(0, 0))));
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
        static_cast<QObject*>(Editor())->event(&focus);
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
    case EM_CHARFROMPOS: HandleEditMessage(Message); return;
    default: TWinControl::DefaultHandler(Message); return;
    }
}

void TCustomEdit::HandleEditMessage(TMessage& Message)
{
    QLineEdit* edit = Editor();
    const bool secret = edit->echoMode() != QLineEdit::Normal;
    switch (Message.Msg) {
    case WM_CUT:
        if (edit->hasSelectedText() && !secret && MayChangeText()) {
            Clipboard()->SetAsText(edit->selectedText());
            UserEdit([edit] { edit->del(); });
        }
        return;
    case WM_COPY:
        if (edit->hasSelectedText() && !secret)
            Clipboard()->SetAsText(edit->selectedText());
        return;
    case WM_PASTE: {
        const String text = Clipboard()->AsText();
        if (!text.isEmpty() && MayChangeText())
            InsertUserText(text);
        return;
    }
    case WM_CLEAR:
        if (edit->hasSelectedText() && MayChangeText())
            UserEdit([edit] { edit->del(); });
        return;
    case WM_UNDO:
    case EM_UNDO:
        if (edit->isUndoAvailable() && MayChangeText())
            UserEdit([edit] { edit->undo(); });
        Message.Result = 1;
        return;
    case EM_GETSEL: {
        const int start = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
        const int end = edit->hasSelectedText() ? edit->selectionEnd() : start;
        if (Message.WParam != 0)
            *reinterpret_cast<std::uint32_t*>(Message.WParam) = static_cast<std::uint32_t>(start);
        if (Message.LParam != 0)
            *reinterpret_cast<std::uint32_t*>(Message.LParam) = static_cast<std::uint32_t>(end);
        Message.Result = MAKELPARAM(std::min(start, 0xFFFF), std::min(end, 0xFFFF));
        return;
    }
    case EM_SETSEL: {
        const int length = static_cast<int>(edit->text().size());
        const auto start = static_cast<std::intptr_t>(Message.WParam);
        const auto end = Message.LParam;
        if (start < 0) {
            edit->deselect();
            return;
        }
        const int from = static_cast<int>(std::min<std::intptr_t>(start, length));
        const int to = end < 0 ? length : static_cast<int>(std::min<std::intptr_t>(end, length));
        // The caret goes to the end named second, as on the platform.
        edit->setSelection(from, to - from);
        return;
    }
    case EM_REPLACESEL: edit->insert(ApplyCharCase(*reinterpret_cast<const String*>(Message.LParam))); return;
    case EM_GETMODIFY: Message.Result = edit->isModified() ? 1 : 0; return;
    case EM_SETMODIFY: edit->setModified(Message.WParam != 0); return;
    case EM_CANUNDO: Message.Result = edit->isUndoAvailable() ? 1 : 0; return;
    case EM_EMPTYUNDOBUFFER: {
        // Setting the text anew is the line edit's only way to forget its history.
        const bool modified = edit->isModified();
        const int start = edit->selectionStart();
        const int length = static_cast<int>(edit->selectedText().size());
        const int cursor = edit->cursorPosition();
        edit->setText(edit->text());
        edit->setModified(modified);
        if (length > 0)
            edit->setSelection(cursor == start ? start + length : start, cursor == start ? -length : length);
        else
            edit->setCursorPosition(cursor);
        return;
    }
    case EM_SETREADONLY:
        edit->setReadOnly(Message.WParam != 0);
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
    case EM_SCROLLCARET: edit->update(); return;
    case EM_CHARFROMPOS: {
        const TPoint at = Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
        Message.Result = edit->cursorPositionAt(edit->mapFromGlobal(ToQPoint(ClientToScreen(at))));
        return;
    }
    default: return;
    }
}

void TCustomEdit::ApplyTextMargins()
{
    const TRect client = ClientRect();
    const TRect format = FFormatRect.IsEmpty() ? client : FFormatRect;
    Editor()->setTextMargins(std::max(format.Left, 0) + FLeftMargin, std::max(format.Top, 0),
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
    // Enter, Esc, Tab and the other control characters type nothing in a single line.
    if (ch.unicode() < 32 || !MayChangeText())
        return;
    const String typed = ApplyCharCase(String(ch));
    QLineEdit* edit = Editor();
    if (FMaxLength > 0 && edit->text().size() - edit->selectedText().size() >= FMaxLength) {
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
    // The line edit's other keys are editing shortcuts that would bypass the checks.
    default: return;
    }
}

bool TCustomEdit::MayChangeText() { return !FReadOnly && EditCanModify() && !Editor()->isReadOnly(); }

void TCustomEdit::InsertUserText(const String& S)
{
    QLineEdit* edit = Editor();
    String text = ApplyCharCase(FirstLine(S));
    if (FMaxLength > 0) {
        const auto room = FMaxLength - (edit->text().size() - edit->selectedText().size());
        text.truncate(std::max<qsizetype>(room, 0));
    }
    UserEdit([&] { edit->insert(text); });
}

void TCustomEdit::DropText(int Position, const String& S)
{
    if (!MayChangeText())
        return;
    Editor()->setCursorPosition(Position);
    InsertUserText(S);
}

void TCustomEdit::ReplaceText(const String& S, int Start, int Length)
{
    QLineEdit* edit = Editor();
    if (edit->text() != S) {
        edit->selectAll();
        edit->insert(S);
    }
    edit->setSelection(Start, Length);
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
        Editor()->setAlignment(ToQtAlignment(Value));
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
        ApplyEditStyle(Editor());
}

void TCustomEdit::ApplyEditStyle(QLineEdit* Edit)
{
    QStyle* old = Edit->style();
    const bool own = dynamic_cast<TEditStyle*>(old) != nullptr;
    if (FPasswordChar.isNull() && !FCaretHidden) {
        if (own)
            Edit->setStyle(nullptr);
    } else {
        auto* style = new TEditStyle(FPasswordChar, FCaretHidden);
        style->setParent(Edit);
        // A new style makes the line edit read its caret width again.
        Edit->setStyle(style);
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
    const QLineEdit* edit = Editor();
    // The line edit's cursor rectangle is wider than the caret, centred on it.
    const QRect cursor = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const QPoint corner = edit->mapToGlobal(QPoint(cursor.center().x(), cursor.top()));
    return ScreenToClient(FromQPoint(corner));
}
