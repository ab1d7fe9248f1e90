// TColorBox on a non-editable QComboBox; each entry shows a swatch of its colour drawn here.
#include "platform/ui/ColorBox.h"

#include "platform/ui/QtConvert.h"
#include "platform/ui/WindowHost.h"

#include <QColorDialog>
#include <QComboBox>
#include <QPainter>
#include <QPixmap>

namespace {

struct TNamedColor {
    TColor Color;
    const char* Name;
};

constexpr TNamedColor StandardColors[] = {
    {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"},     {clOlive, "clOlive"},
    {clNavy, "clNavy"},   {clPurple, "clPurple"}, {clTeal, "clTeal"},       {clGray, "clGray"},
    {clSilver, "clSilver"}, {clRed, "clRed"},     {clLime, "clLime"},       {clYellow, "clYellow"},
    {clBlue, "clBlue"},   {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"},     {clWhite, "clWhite"},
};

constexpr TNamedColor ExtendedColors[] = {
    {clMoneyGreen, "clMoneyGreen"}, {clSkyBlue, "clSkyBlue"}, {clCream, "clCream"}, {clMedGray, "clMedGray"},
};

constexpr TNamedColor SystemColors[] = {
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
};

// "clMoneyGreen" becomes "Money Green" with pretty names.
String ColorName(const char* Name, bool Pretty)
{
    const String name = String::fromLatin1(Name);
    if (!Pretty)
        return name;
    String pretty;
    for (qsizetype i = 2; i < name.size(); ++i) {
        if (i > 2 && name[i].isUpper())
            pretty += u' ';
        pretty += name[i];
    }
    return pretty;
}

QIcon Swatch(TColor Color, QSize Size)
{
    QPixmap pixmap(Size);
    pixmap.fill(ToQColor(Color));
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, Size.width() - 1, Size.height() - 1);
    return QIcon(pixmap);
}

}  // namespace

TColorBox::TColorBox(TComponent* AOwner) : TWinControl(AOwner), FItems(std::make_unique<TStringList>())
{
    SetTabStop(true);
    SetBounds(0, 0, 145, 22);
    FItems->OnChange = [this](TObject*) { ShowItems(); };
    PopulateList();
}

TColorBox::~TColorBox() = default;

QComboBox* TColorBox::Combo() { return HandleAllocated() ? static_cast<QComboBox*>(Handle()) : nullptr; }

QWidget* TColorBox::CreateWindowHandle(const TCreateParams& Params)
{
    auto* combo = new QComboBox(Params.WndParent != nullptr ? Params.WndParent->Handle() : nullptr);
    combo->setEditable(false);
    QObject::connect(combo, &QComboBox::activated, combo,
                     [this](int Index) { CallGuarded(this, [this, Index] { UserChose(Index); }); });
    return combo;
}

void TColorBox::CreateWnd()
{
    TWinControl::CreateWnd();
    ShowItems();
}

void TColorBox::SetStyle(TColorBoxStyle Value)
{
    if (Value == FStyle)
        return;
    FStyle = Value;
    PopulateList();
}

void TColorBox::PopulateList()
{
    const TColor selected = Selected();
    const bool pretty = FStyle.Contains(cbPrettyNames);
    FItems->BeginUpdate();
    FItems->Clear();
    if (FStyle.Contains(cbCustomColor))
        FItems->AddObject(QStringLiteral("Custom..."), ColorToObject(clBlack));
    auto addAll = [this, pretty](const auto& Colors) {
        for (const TNamedColor& named : Colors)
            FItems->AddObject(ColorName(named.Name, pretty), ColorToObject(named.Color));
    };
    if (FStyle.Contains(cbStandardColors))
        addAll(StandardColors);
    if (FStyle.Contains(cbExtendedColors))
        addAll(ExtendedColors);
    if (FStyle.Contains(cbSystemColors))
        addAll(SystemColors);
    if (FStyle.Contains(cbIncludeNone))
        FItems->AddObject(pretty ? QStringLiteral("None") : QStringLiteral("clNone"), ColorToObject(clNone));
    if (FStyle.Contains(cbIncludeDefault))
        FItems->AddObject(pretty ? QStringLiteral("Default") : QStringLiteral("clDefault"), ColorToObject(clDefault));
    FItems->EndUpdate();
    FItemIndex = -1;
    SetSelected(selected);
}

void TColorBox::ShowItems()
{
    if (FItemIndex >= FItems->Count())
        FItemIndex = -1;
    QComboBox* combo = Combo();
    if (combo == nullptr)
        return;
    const QSignalBlocker quiet(combo);
    const QSize swatch(combo->iconSize());
    combo->clear();
    for (int i = 0; i < FItems->Count(); ++i)
        combo->addItem(Swatch(Colors(i), swatch), FItems->Strings(i));
    combo->setCurrentIndex(FItemIndex);
}

void TColorBox::SetItemIndex(int Value)
{
    if (Value < -1 || Value >= FItems->Count() || Value == FItemIndex)
        return;
    FItemIndex = Value;
    if (QComboBox* combo = Combo()) {
        const QSignalBlocker quiet(combo);
        combo->setCurrentIndex(Value);
    }
}

TColor TColorBox::Selected() const { return FItemIndex >= 0 ? Colors(FItemIndex) : clBlack; }

void TColorBox::SetSelected(TColor Value)
{
    const int custom = FStyle.Contains(cbCustomColor) ? 0 : -1;
    for (int i = custom + 1; i < FItems->Count(); ++i)
        if (Colors(i) == Value) {
            SetItemIndex(i);
            return;
        }
    if (custom < 0)
        return;
    FItems->SetObjects(custom, ColorToObject(Value));
    FItemIndex = custom;
    ShowItems();
}

bool TColorBox::PickCustomColor()
{
    TColor color = Colors(0);
    if (CustomColorDialog) {
        if (!CustomColorDialog(color))
            return false;
    } else {
        const QColor chosen = QColorDialog::getColor(ToQColor(color), Handle());
        if (!chosen.isValid())
            return false;
        color = FromQColor(chosen);
    }
    FItems->SetObjects(0, ColorToObject(color));
    ShowItems();
    return true;
}

void TColorBox::UserChose(int Index)
{
    const TColor before = Selected();
    const int beforeIndex = FItemIndex;
    FItemIndex = Index;
    if (Index == 0 && FStyle.Contains(cbCustomColor))
        PickCustomColor();
    if (Selected() != before || FItemIndex != beforeIndex)
        Change();
}

void TColorBox::Change()
{
    if (OnChange)
        OnChange(this);
}

void TColorBox::Dispatch(TMessage& Message)
{
    if (Message.Msg == WM_GETDLGCODE) {
        Message.Result = DLGC_WANTARROWS;
        return;
    }
    TWinControl::Dispatch(Message);
}
