#pragma once
// The edit window's text operations, on a single-line QLineEdit or a multi-line QPlainTextEdit.
// Positions and texts are the control's: a line break is CR LF, two characters, as the
// platform's multi-line edit counts it.
#include "platform/core/Alignment.h"
#include "platform/core/String.h"

#include <QMargins>
#include <QPlainTextEdit>
#include <QPoint>
#include <QRect>

class QLineEdit;

// The multi-line edit window. Its text margins lie inside the viewport, so the control paints
// its marks beside the text on the same surface; a new text keeps the margins and alignment.
class TEditLinesWidget : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;
    void SetLines(const String& S);
    void SetTextMargins(const QMargins& Margins);
    void SetTextAlignment(Qt::Alignment Alignment);

private:
    void ApplyLayout();

    QMargins FMargins;
    Qt::Alignment FAlignment = Qt::AlignLeft;
};

class TEditBox {
public:
    explicit TEditBox(QWidget* Widget);

    // The widget that shows the text: the line edit itself, or the text edit's viewport.
    QWidget* Surface() const;
    bool Secret() const;

    String Text() const;
    void SetText(const String& S);
    int CursorPosition() const;
    void SetCursorPosition(int Position);
    bool HasSelectedText() const;
    String SelectedText() const;
    int SelectionStart() const;
    int SelectionEnd() const;
    // Selects Length characters from Start (a negative Length selects backwards); the caret goes
    // to the end named second.
    void SetSelection(int Start, int Length);
    void Deselect();
    void SelectAll();
    void Insert(const String& S);
    // The selection, or without one the character after the caret.
    void Delete();
    void Undo();
    bool IsUndoAvailable() const;
    bool IsModified() const;
    void SetModified(bool Value);
    bool IsReadOnly() const;
    void SetReadOnly(bool Value);
    void SetAlignment(TAlignment Alignment);
    void SetTextMargins(int Left, int Top, int Right, int Bottom);
    void ScrollCaret();
    // The text position nearest the point, in surface coordinates.
    int PositionAt(QPoint At) const;
    // The caret's rectangle in surface coordinates.
    QRect CursorRect() const;
    // The lines as shown, wrapped lines counted apart, and the one holding a text position.
    int LineCount() const;
    int LineAt(int Position) const;

private:
    int ToText(int DocPosition) const;
    int ToDocument(int TextPosition) const;

    QLineEdit* FLine = nullptr;
    TEditLinesWidget* FLines = nullptr;
};
