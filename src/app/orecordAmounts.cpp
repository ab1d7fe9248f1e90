// The stock-in page's numbers: the amount that follows quantity and price, and the key
// filters of the quantity, price and amount fields of the gift and stock-in pages.
#include "app/orecord.h"

#include "platform/core/StringLiterals.h"
#include "platform/core/SysUtils.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Edit.h"

void TMF1::ComboBox15KeyPress(TObject* Sender, Char& Key) { ComboBox7KeyPress(Sender, Key); }

void TMF1::ComboBox29KeyPress(TObject* Sender, Char& Key) { ComboBox7KeyPress(Sender, Key); }

// Quantity × price; a text that is no number (a lone ".", a quantity with a blank) leaves the
// amount as it is rather than raising an error at every keystroke.
void TMF1::ShowAmount()
{
    int quantity = 0;
    double price = 0;
    if (TryStrToInt(ComboBox29->Text(), quantity) && TryStrToFloat(Edit1->Text(), price))
        Edit2->SetText(FloatToStr(quantity * price));
}

void TMF1::Edit1Change(TObject* Sender)
{
    if (ComboBox29->Text().isEmpty())
        return;
    if (Edit1->Text().isEmpty())
        Edit2->SetText(u"0"_s);
    else
        ShowAmount();
}

void TMF1::ComboBox29Change(TObject* Sender)
{
    if (!ComboBox29->Text().isEmpty() && !Edit1->Text().isEmpty())
        ShowAmount();
}

// At most one point and two decimals after it, typed; the caret before the point takes digits.
// A key replaces the selection, so the text it is weighed against is the one left without it.
void TMF1::Edit1KeyPress(TObject* Sender, Char& Key)
{
    if (Key == u'\r') {
        Key = Char();
        RegisterEntry(Page(TPageKind::StockIn));
        return;
    }
    if (Key == u'\b')
        return;
    if (Key != u'.' && !(Key >= u'0' && Key <= u'9')) {
        Key = Char();
        return;
    }
    const auto* edit = static_cast<TEdit*>(Sender);
    const String kept = String(edit->Text()).remove(edit->SelStart(), edit->SelLength());
    const auto point = kept.indexOf(u'.');
    if (point < 0)
        return;
    if (Key == u'.' || (edit->SelStart() > point && kept.size() - point - 1 >= 2))
        Key = Char();
}
