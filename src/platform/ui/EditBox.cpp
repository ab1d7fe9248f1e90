// The text operations of the edit window: the line edit's own, or the same on a text edit with
// its line feeds counted as CR LF.
#include "platform/ui/EditBox.h"

#include <QLineEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>

#include <algorithm>

namespace {

// The document's text: a line feed for every CR LF, CR or LF.
String ToDocumentText(const String& S)
{
    return String(S).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
}

}  // namespace

void TEditLinesWidget::SetLines(const String& S)
{
    setPlainText(ToDocumentText(S));
    // A new text brings a new document layout.
    ApplyLayout();
}

void TEditLinesWidget::SetTextMargins(const QMargins& Margins)
{
    FMargins = Margins;
    ApplyLayout();
}

void TEditLinesWidget::SetTextAlignment(Qt::Alignment Alignment)
{
    FAlignment = Alignment;
    ApplyLayout();
}

void TEditLinesWidget::ApplyLayout()
{
    QTextDocument* doc = document();
    doc->setDocumentMargin(0);
    QTextFrameFormat frame = doc->rootFrame()->frameFormat();
    frame.setLeftMargin(FMargins.left());
    frame.setTopMargin(FMargins.top());
    frame.setRightMargin(FMargins.right());
    frame.setBottomMargin(FMargins.bottom());
    doc->rootFrame()->setFrameFormat(frame);
    QTextOption option = doc->defaultTextOption();
    option.setAlignment(FAlignment);
    doc->setDefaultTextOption(option);
}

TEditBox::TEditBox(QWidget* Widget)
    : FLine(dynamic_cast<QLineEdit*>(Widget)), FLines(dynamic_cast<TEditLinesWidget*>(Widget))
{
}

QWidget* TEditBox::Surface() const { return FLines != nullptr ? FLines->viewport() : FLine; }

bool TEditBox::Secret() const { return FLine != nullptr && FLine->echoMode() != QLineEdit::Normal; }

int TEditBox::ToText(int DocPosition) const
{
    return DocPosition + static_cast<int>(FLines->toPlainText().left(DocPosition).count(u'\n'));
}

int TEditBox::ToDocument(int TextPosition) const
{
    const String text = Text();
    const String before = text.left(TextPosition);
    // A position between CR and LF stands before the line break.
    const int split = before.endsWith(u'\r') && TextPosition < text.size() && text[TextPosition] == u'\n' ? 1 : 0;
    return TextPosition - static_cast<int>(before.count(QStringLiteral("\r\n"))) - split;
}

String TEditBox::Text() const
{
    return FLines != nullptr ? FLines->toPlainText().replace(u'\n', QStringLiteral("\r\n")) : FLine->text();
}

void TEditBox::SetText(const String& S)
{
    if (FLines != nullptr)
        FLines->SetLines(S);
    else
        FLine->setText(S);
}

int TEditBox::CursorPosition() const
{
    return FLines != nullptr ? ToText(FLines->textCursor().position()) : FLine->cursorPosition();
}

void TEditBox::SetCursorPosition(int Position)
{
    if (FLine != nullptr) {
        FLine->setCursorPosition(Position);
        return;
    }
    QTextCursor cursor = FLines->textCursor();
    cursor.setPosition(ToDocument(Position));
    FLines->setTextCursor(cursor);
}

bool TEditBox::HasSelectedText() const
{
    return FLines != nullptr ? FLines->textCursor().hasSelection() : FLine->hasSelectedText();
}

String TEditBox::SelectedText() const
{
    if (FLine != nullptr)
        return FLine->selectedText();
    const int start = SelectionStart();
    return Text().mid(start, SelectionEnd() - start);
}

int TEditBox::SelectionStart() const
{
    return FLines != nullptr ? ToText(FLines->textCursor().selectionStart()) : FLine->selectionStart();
}

int TEditBox::SelectionEnd() const
{
    return FLines != nullptr ? ToText(FLines->textCursor().selectionEnd()) : FLine->selectionEnd();
}

void TEditBox::SetSelection(int Start, int Length)
{
    if (FLine != nullptr) {
        FLine->setSelection(Start, Length);
        return;
    }
    QTextCursor cursor = FLines->textCursor();
    cursor.setPosition(ToDocument(Start));
    cursor.setPosition(ToDocument(Start + Length), QTextCursor::KeepAnchor);
    FLines->setTextCursor(cursor);
}

void TEditBox::Deselect()
{
    if (FLine != nullptr) {
        FLine->deselect();
        return;
    }
    QTextCursor cursor = FLines->textCursor();
    cursor.clearSelection();
    FLines->setTextCursor(cursor);
}

void TEditBox::SelectAll()
{
    if (FLines != nullptr)
        FLines->selectAll();
    else
        FLine->selectAll();
}

void TEditBox::Insert(const String& S)
{
    if (FLines != nullptr)
        FLines->insertPlainText(ToDocumentText(S));
    else
        FLine->insert(S);
}

void TEditBox::Delete()
{
    if (FLine != nullptr) {
        FLine->del();
        return;
    }
    QTextCursor cursor = FLines->textCursor();
    if (cursor.hasSelection())
        cursor.removeSelectedText();
    else
        cursor.deleteChar();
    FLines->setTextCursor(cursor);
}

void TEditBox::Undo()
{
    if (FLines != nullptr)
        FLines->undo();
    else
        FLine->undo();
}

bool TEditBox::IsUndoAvailable() const
{
    return FLines != nullptr ? FLines->document()->isUndoAvailable() : FLine->isUndoAvailable();
}

bool TEditBox::IsModified() const
{
    return FLines != nullptr ? FLines->document()->isModified() : FLine->isModified();
}

void TEditBox::SetModified(bool Value)
{
    if (FLines != nullptr)
        FLines->document()->setModified(Value);
    else
        FLine->setModified(Value);
}

bool TEditBox::IsReadOnly() const { return FLines != nullptr ? FLines->isReadOnly() : FLine->isReadOnly(); }

void TEditBox::SetReadOnly(bool Value)
{
    if (FLines != nullptr)
        FLines->setReadOnly(Value);
    else
        FLine->setReadOnly(Value);
}

void TEditBox::SetAlignment(TAlignment Alignment)
{
    const Qt::Alignment horizontal = Alignment == TAlignment::taRightJustify ? Qt::AlignRight
                                     : Alignment == TAlignment::taCenter    ? Qt::AlignHCenter
                                                                             : Qt::AlignLeft;
    if (FLines != nullptr)
        FLines->SetTextAlignment(horizontal);
    else
        FLine->setAlignment(horizontal | Qt::AlignVCenter);
}

void TEditBox::SetTextMargins(int Left, int Top, int Right, int Bottom)
{
    if (FLines != nullptr)
        FLines->SetTextMargins(QMargins(Left, Top, Right, Bottom));
    else
        FLine->setTextMargins(Left, Top, Right, Bottom);
}

void TEditBox::ScrollCaret()
{
    if (FLines != nullptr)
        FLines->ensureCursorVisible();
    else
        FLine->update();
}

int TEditBox::PositionAt(QPoint At) const
{
    return FLines != nullptr ? ToText(FLines->cursorForPosition(At).position()) : FLine->cursorPositionAt(At);
}

QRect TEditBox::CursorRect() const
{
    if (FLines != nullptr)
        return FLines->cursorRect();
    // The line edit's cursor rectangle is wider than the caret, centred on it.
    const QRect cursor = FLine->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    return QRect(cursor.center().x(), cursor.top(), 1, cursor.height());
}

int TEditBox::LineCount() const
{
    if (FLine != nullptr)
        return 1;
    int count = 0;
    for (QTextBlock block = FLines->document()->begin(); block.isValid(); block = block.next())
        count += std::max(block.lineCount(), 1);
    return count;
}

int TEditBox::LineAt(int Position) const
{
    if (FLine != nullptr)
        return 0;
    const int at = ToDocument(Position);
    const QTextBlock holder = FLines->document()->findBlock(at);
    int line = 0;
    for (QTextBlock block = FLines->document()->begin(); block.isValid() && block != holder; block = block.next())
        line += std::max(block.lineCount(), 1);
    const QTextLayout* layout = holder.layout();
    const QTextLine within = layout != nullptr ? layout->lineForTextPosition(at - holder.position()) : QTextLine();
    return line + (within.isValid() ? within.lineNumber() : 0);
}
