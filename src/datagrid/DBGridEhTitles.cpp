// Column titles: their soft properties, sort markers and the multi-level title tree.
#include "datagrid/DBGridEh.h"
#include "datagrid/DBGridEhFonts.h"

#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"
#include "platform/data/Field.h"

using namespace Qt::StringLiterals;
using enum TColumnEhAssignedValue;

const TFont& SortMarkerFont()
{
    static const std::unique_ptr<TFont> font = [] {
        auto f = std::make_unique<TFont>();
        f->SetName(u"Arial"_s);
        return f;
    }();
    return *font;
}

namespace {

const TColumnTitleDefValuesEh* TitleDefaults(const TColumnEh* Column)
{
    const TCustomDBGridEh* grid = Column->OwningGrid();
    return grid != nullptr ? grid->ColumnDefValues()->Title() : nullptr;
}

} // namespace

TColumnTitleEh::TColumnTitleEh(TColumnEh* Column) : FColumn(Column), FFont(std::make_unique<TFont>())
{
    FollowFont(*FFont, *DefaultFont(), FRefreshingFont);
    FFont->OnChange = [this](TObject*) { FontChanged(); };
}

TColumnTitleEh::~TColumnTitleEh() = default;

bool TColumnTitleEh::Assigned(TColumnEhAssignedValue Value) const { return FColumn->FAssigned.Contains(Value); }

void TColumnTitleEh::MarkAssigned(TColumnEhAssignedValue Value) { FColumn->FAssigned.Include(Value); }

namespace {

template <class T>
void WriteTitleSoft(TColumnEh* Column, bool Assigned, T& Stored, const T& Value, bool Signal)
{
    if (Assigned && Stored == Value)
        return;
    Stored = Value;
    if (Signal)
        Column->SignalChanged(false);
}

} // namespace

TAlignment TColumnTitleEh::Alignment() const
{
    if (Assigned(cavTitleAlignment))
        return FAlignment;
    const TColumnTitleDefValuesEh* defs = TitleDefaults(FColumn);
    return defs != nullptr ? defs->Alignment() : TAlignment::taLeftJustify;
}

void TColumnTitleEh::SetAlignment(TAlignment Value)
{
    const bool was = Assigned(cavTitleAlignment);
    MarkAssigned(cavTitleAlignment);
    WriteTitleSoft(FColumn, was, FAlignment, Value, true);
}

String TColumnTitleEh::DefaultCaption() const
{
    const TField* field = FColumn->Field();
    return field != nullptr ? field->DisplayName() : FColumn->FieldName();
}

String TColumnTitleEh::Caption() const { return Assigned(cavTitleCaption) ? FCaption : DefaultCaption(); }

void TColumnTitleEh::SetCaption(const String& Value)
{
    if (FColumn->IsDefaultColumn()) {
        if (FColumn->LinkActiveWithField())
            FColumn->Field()->SetDisplayLabel(Value);
        return;
    }
    const bool was = Assigned(cavTitleCaption);
    MarkAssigned(cavTitleCaption);
    WriteTitleSoft(FColumn, was, FCaption, Value, true);
}

TColor TColumnTitleEh::Color() const
{
    if (Assigned(cavTitleColor))
        return FColor;
    const TColumnTitleDefValuesEh* defs = TitleDefaults(FColumn);
    return defs != nullptr ? defs->Color() : clBtnFace;
}

void TColumnTitleEh::SetColor(TColor Value)
{
    const bool was = Assigned(cavTitleColor);
    MarkAssigned(cavTitleColor);
    WriteTitleSoft(FColumn, was, FColor, Value, true);
}

bool TColumnTitleEh::EndEllipsis() const
{
    if (Assigned(cavTitleEndEllipsis))
        return FEndEllipsis;
    const TColumnTitleDefValuesEh* defs = TitleDefaults(FColumn);
    return defs != nullptr && defs->EndEllipsis();
}

void TColumnTitleEh::SetEndEllipsis(bool Value)
{
    const bool was = Assigned(cavTitleEndEllipsis);
    MarkAssigned(cavTitleEndEllipsis);
    WriteTitleSoft(FColumn, was, FEndEllipsis, Value, true);
}

TTextOrientationEh TColumnTitleEh::Orientation() const
{
    if (Assigned(cavTitleOrientation))
        return FOrientation;
    const TColumnTitleDefValuesEh* defs = TitleDefaults(FColumn);
    return defs != nullptr ? defs->Orientation() : TTextOrientationEh::tohHorizontal;
}

void TColumnTitleEh::SetOrientation(TTextOrientationEh Value)
{
    const bool was = Assigned(cavTitleOrientation);
    MarkAssigned(cavTitleOrientation);
    WriteTitleSoft(FColumn, was, FOrientation, Value, true);
}

bool TColumnTitleEh::TitleButton() const
{
    if (Assigned(cavTitleButton))
        return FTitleButton;
    const TColumnTitleDefValuesEh* defs = TitleDefaults(FColumn);
    return defs != nullptr && defs->TitleButton();
}

void TColumnTitleEh::SetTitleButton(bool Value)
{
    const bool was = Assigned(cavTitleButton);
    MarkAssigned(cavTitleButton);
    WriteTitleSoft(FColumn, was, FTitleButton, Value, true);
}

bool TColumnTitleEh::ToolTips() const
{
    if (Assigned(cavTitleToolTips))
        return FToolTips;
    const TColumnTitleDefValuesEh* defs = TitleDefaults(FColumn);
    return defs != nullptr && defs->ToolTips();
}

void TColumnTitleEh::SetToolTips(bool Value)
{
    const bool was = Assigned(cavTitleToolTips);
    MarkAssigned(cavTitleToolTips);
    WriteTitleSoft(FColumn, was, FToolTips, Value, false);
}

bool TColumnTitleEh::IsStored(TColumnEhAssignedValue Value) const
{
    if (!Assigned(Value))
        return false;
    const TColumnTitleDefValuesEh* defs = TitleDefaults(FColumn);
    switch (Value) {
    case cavTitleFont: return true;
    case cavTitleCaption: return FCaption != DefaultCaption();
    case cavTitleColor: return FColor != (defs != nullptr ? defs->Color() : clBtnFace);
    case cavTitleAlignment: return FAlignment != (defs != nullptr ? defs->Alignment() : TAlignment::taLeftJustify);
    case cavTitleButton: return FTitleButton != (defs != nullptr && defs->TitleButton());
    case cavTitleEndEllipsis: return FEndEllipsis != (defs != nullptr && defs->EndEllipsis());
    case cavTitleToolTips: return FToolTips != (defs != nullptr && defs->ToolTips());
    case cavTitleOrientation:
        return FOrientation != (defs != nullptr ? defs->Orientation() : TTextOrientationEh::tohHorizontal);
    default: return false;
    }
}

TFont* TColumnTitleEh::DefaultFont() const
{
    const TCustomDBGridEh* grid = FColumn->OwningGrid();
    return grid != nullptr ? grid->TitleFont() : FColumn->Font();
}

TFont* TColumnTitleEh::Font() const
{
    if (!Assigned(cavTitleFont))
        FollowFont(*FFont, *DefaultFont(), FRefreshingFont);
    return FFont.get();
}

void TColumnTitleEh::SetFont(TFont* Value) { FFont->Assign(Value); }

void TColumnTitleEh::FontChanged()
{
    if (FRefreshingFont)
        return;
    MarkAssigned(cavTitleFont);
    FColumn->SignalChanged(true);
}

void TColumnTitleEh::RefreshDefaultFont() const
{
    if (!Assigned(cavTitleFont))
        FollowFont(*FFont, *DefaultFont(), FRefreshingFont, true);
}

void TColumnTitleEh::SetImageIndex(int Value)
{
    FImageIndex = Value;
    if (TCustomDBGridEh* grid = FColumn->OwningGrid())
        grid->NotifyLayoutChanged();
}

void TColumnTitleEh::ResetToDefaults()
{
    const bool hadFont = Assigned(cavTitleFont);
    for (TColumnEhAssignedValue bit : {cavTitleColor, cavTitleCaption, cavTitleAlignment, cavTitleFont, cavTitleButton,
                                       cavTitleEndEllipsis, cavTitleToolTips, cavTitleOrientation})
        FColumn->FAssigned.Exclude(bit);
    FCaption.clear();
    RefreshDefaultFont();
    FColumn->SignalChanged(hadFont);
}

void TColumnTitleEh::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TColumnTitleEh*>(Source);
    if (source == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    if (source->Assigned(cavTitleAlignment))
        SetAlignment(source->Alignment());
    if (source->Assigned(cavTitleColor))
        SetColor(source->Color());
    if (source->Assigned(cavTitleCaption))
        SetCaption(source->Caption());
    if (source->Assigned(cavTitleFont))
        SetFont(source->Font());
    SetHint(source->Hint());
    SetImageIndex(source->ImageIndex());
    SetOrientation(source->Orientation());
    SetSortIndex(source->SortIndex());
    SetSortMarker(source->SortMarker());
    SetTitleButton(source->TitleButton());
    SetEndEllipsis(source->EndEllipsis());
    SetToolTips(source->ToolTips());
}

// --- Sorting ------------------------------------------------------------------------------------

TColumnsEhList* TColumnTitleEh::SortedColumns() const
{
    const TCustomDBGridEh* grid = FColumn->OwningGrid();
    return grid != nullptr ? grid->SortedColumns() : nullptr;
}

bool TColumnTitleEh::MultiSort() const
{
    const TCustomDBGridEh* grid = FColumn->OwningGrid();
    return grid != nullptr && grid->OptionsEh().Contains(dghMultiSortMarking);
}

bool TColumnTitleEh::CollectionUpdating() const
{
    const TCollection* columns = FColumn->Collection();
    return columns != nullptr && columns->UpdateCount() > 0;
}

void TColumnTitleEh::SetSortMarker(TSortMarkerEh Value)
{
    if (FSortMarker == Value)
        return;
    FSortMarker = Value;
    TColumnsEhList* sorted = SortedColumns();
    const TDBGridColumnsEh* columns = FColumn->Columns();
    if (sorted == nullptr || columns == nullptr || CollectionUpdating())
        return;
    const bool marking = Value != TSortMarkerEh::smNoneEh;
    if (MultiSort()) {
        if (marking && FSortIndex == 0) {
            FSortIndex = sorted->Count() + 1;
            sorted->Add(FColumn);
        } else if (!marking && FSortIndex > 0) {
            for (int i = 0; i < columns->Count(); ++i) {
                TColumnTitleEh* other = columns->ColumnAt(i)->Title();
                if (other->FSortIndex > FSortIndex)
                    --other->FSortIndex;
            }
            sorted->Remove(FColumn);
            FSortIndex = 0;
        }
    } else if (marking) {
        for (int i = 0; i < columns->Count(); ++i)
            if (columns->ColumnAt(i) != FColumn)
                columns->ColumnAt(i)->Title()->SetSortMarker(TSortMarkerEh::smNoneEh);
        FSortIndex = 1;
        sorted->Clear();
        sorted->Add(FColumn);
    } else {
        FSortIndex = 0;
        sorted->Clear();
    }
    FColumn->SignalChanged(false);
}

void TColumnTitleEh::StepSortMarker(bool KeepOthers)
{
    if (!KeepOthers)
        if (const TDBGridColumnsEh* columns = FColumn->Columns())
            for (int i = 0; i < columns->Count(); ++i)
                if (columns->ColumnAt(i) != FColumn)
                    columns->ColumnAt(i)->Title()->SetSortMarker(TSortMarkerEh::smNoneEh);
    switch (FSortMarker) {
    case TSortMarkerEh::smNoneEh: SetSortMarker(TSortMarkerEh::smDownEh); break;
    case TSortMarkerEh::smDownEh: SetSortMarker(TSortMarkerEh::smUpEh); break;
    case TSortMarkerEh::smUpEh: SetSortMarker(KeepOthers ? TSortMarkerEh::smNoneEh : TSortMarkerEh::smDownEh); break;
    }
}

void TColumnTitleEh::SetSortIndex(int Value)
{
    Value = std::max(0, Value);
    if (FSortIndex == Value)
        return;
    TColumnsEhList* sorted = SortedColumns();
    const TDBGridColumnsEh* columns = FColumn->Columns();
    if (sorted == nullptr || columns == nullptr || CollectionUpdating()) {
        FSortIndex = Value;
        return;
    }
    if (FSortMarker == TSortMarkerEh::smNoneEh)
        return;
    for (int i = 0; i < columns->Count(); ++i) {
        TColumnEh* other = columns->ColumnAt(i);
        if (other == FColumn || other->Title()->FSortIndex != Value)
            continue;
        other->Title()->FSortIndex = FSortIndex;
        FSortIndex = Value;
        const int mine = sorted->IndexOf(FColumn);
        const int theirs = sorted->IndexOf(other);
        if (mine >= 0 && theirs >= 0) {
            sorted->SetItems(mine, other);
            sorted->SetItems(theirs, FColumn);
        }
        FColumn->SignalChanged(false);
        return;
    }
}

int TColumnTitleEh::SortMarkerAreaWidth() const
{
    if (FSortIndex == 0)
        return 0;
    int w = 16;
    const TColumnsEhList* sorted = SortedColumns();
    if (sorted != nullptr && sorted->Count() >= 2)
        w += SortMarkerFont().FontMetrics().horizontalAdvance(IntToStr(FSortIndex));
    const int room = FColumn->Width() - 4;
    if (room >= w)
        return w;
    if (room >= w - 14)
        return w - 14;
    return 0;
}

// --- Tokens -------------------------------------------------------------------------------------

String NthTokenWithPos(int N, const String& Text, const String& Separators, int& Pos)
{
    int count = 0;
    int i = 0;
    const int length = static_cast<int>(Text.size());
    while (i < length) {
        while (i < length && Separators.contains(Text[i]))
            ++i;
        if (i >= length)
            break;
        const int start = i;
        while (i < length && !Separators.contains(Text[i]))
            ++i;
        if (++count == N) {
            Pos = start + 1;
            return Text.mid(start, i - start);
        }
    }
    Pos = 0;
    return String();
}

int NthTokenStart(int N, const String& Text, const String& Separators)
{
    int pos = 0;
    NthTokenWithPos(N, Text, Separators, pos);
    return pos;
}

String NthToken(int N, const String& Text, const String& Separators)
{
    int pos = 0;
    return NthTokenWithPos(N, Text, Separators, pos);
}

// --- The title tree -----------------------------------------------------------------------------

THeadTreeNode::THeadTreeNode() = default;

THeadTreeNode::THeadTreeNode(const String& ACaption, int AWidth, int AHeight) : Caption(ACaption), Width(AWidth), Height(AHeight) {}

THeadTreeNode::~THeadTreeNode()
{
    if (ParentNode == nullptr)
        FreeChildren();
}

std::vector<THeadTreeNode*> THeadTreeNode::Children() const
{
    std::vector<THeadTreeNode*> children;
    if (FirstChild == nullptr)
        return children;
    THeadTreeNode* node = FirstChild;
    do {
        children.push_back(node);
        node = node->NextSibling;
    } while (node != FirstChild);
    return children;
}

void THeadTreeNode::FreeChildren()
{
    for (THeadTreeNode* child : Children()) {
        child->FreeChildren();
        delete child;
    }
    FirstChild = nullptr;
}

bool THeadTreeNode::ContainsNode(const THeadTreeNode* Node) const
{
    const THeadTreeNode* sibling = this;
    do {
        if (sibling == Node)
            return true;
        if (sibling->FirstChild != nullptr && sibling->FirstChild->ContainsNode(Node))
            return true;
        sibling = sibling->NextSibling;
    } while (sibling != this);
    return false;
}

THeadTreeNode* THeadTreeNode::AddAfter(THeadTreeNode* After, const String& ACaption, int AWidth, int AHeight)
{
    // The root has no siblings: a node beside it would belong to no tree.
    if (!ContainsNode(After) || After->ParentNode == nullptr)
        throw Exception(u"Node not in Tree"_s);
    auto* node = new THeadTreeNode(ACaption, AWidth, AHeight);
    node->ParentNode = After->ParentNode;
    node->NextSibling = After->NextSibling;
    After->NextSibling = node;
    return node;
}

THeadTreeNode* THeadTreeNode::AppendChild(THeadTreeNode* Node, const String& ACaption, int AWidth, int AHeight)
{
    if (!ContainsNode(Node))
        throw Exception(u"Node not in Tree"_s);
    auto* child = new THeadTreeNode(ACaption, AWidth, AHeight);
    child->ParentNode = Node;
    if (Node->FirstChild == nullptr) {
        Node->FirstChild = child;
        return child;
    }
    THeadTreeNode* last = Node->FirstChild;
    while (last->NextSibling != Node->FirstChild)
        last = last->NextSibling;
    last->NextSibling = child;
    child->NextSibling = Node->FirstChild;
    return child;
}

int THeadTreeNode::Level() const
{
    int level = 0;
    for (const THeadTreeNode* node = ParentNode; node != nullptr; node = node->ParentNode)
        ++level;
    return level;
}

THeadTreeNode* THeadTreeNode::MergeUnder(THeadTreeNode* From, THeadTreeNode* To, int AHeight, const String& ACaption)
{
    if (!ContainsNode(From) || From->ParentNode == nullptr)
        throw Exception(u"Node not in Tree"_s);
    THeadTreeNode* parent = From->ParentNode;
    for (THeadTreeNode* node = From; node != To;) {
        node = node->NextSibling;
        if (node == parent->FirstChild || node == From)
            throw Exception(u"ATo not in level"_s);
    }
    auto* merged = new THeadTreeNode(ACaption, 0, AHeight);
    merged->ParentNode = parent;
    merged->LineWidth = To->LineWidth;
    THeadTreeNode* before = From;
    while (before->NextSibling != From)
        before = before->NextSibling;
    THeadTreeNode* after = To->NextSibling;
    if (after == From) {
        merged->NextSibling = merged;
    } else {
        before->NextSibling = merged;
        merged->NextSibling = after;
    }
    if (parent->FirstChild == From)
        parent->FirstChild = merged;
    merged->FirstChild = From;
    To->NextSibling = From;
    int sum = 0;
    THeadTreeNode* node = From;
    do {
        node->Height -= AHeight;
        node->ParentNode = merged;
        sum += node->Width + merged->LineWidth;
        node = node->NextSibling;
    } while (node != From);
    merged->Width = merged->LineWidth >= 1 ? sum - merged->LineWidth : sum;
    return merged;
}

void THeadTreeNode::BuildFromColumns(TCustomDBGridEh* Grid, std::vector<THeadTreeNode*>& Leaves)
{
    static const String separators = u"|"_s;
    FreeChildren();
    const TDBGridColumnsEh* columns = Grid->Columns();
    const int count = columns->Count();
    const bool colLines = Grid->Options().Contains(dgColLines);
    const int titleHeight = Grid->RowCount() > 0 ? Grid->RowHeightAt(0) : Grid->DefaultRowHeight();
    Leaves.assign(static_cast<std::size_t>(count), nullptr);
    for (int i = 0; i < count; ++i) {
        TColumnEh* column = columns->ColumnAt(i);
        const int width = column->Visible() ? column->WidthWithIndent() : (colLines ? -1 : 0);
        THeadTreeNode* leaf = AppendChild(this, column->Title()->Caption(), width, titleHeight);
        leaf->Column = column;
        leaf->SortMarkIndent = column->Title()->SortMarker() != TSortMarkerEh::smNoneEh ? 16 : 0;
        leaf->LineWidth = colLines ? 1 : 0;
        Leaves[static_cast<std::size_t>(i)] = leaf;
    }
    // Each pass makes one header cell over a run of adjacent sibling leaves sharing a first
    // token; a run never crosses into another header, so no caption loses its head.
    for (bool merged = true; merged;) {
        merged = false;
        for (int i = 0; i < count && !merged; ++i) {
            THeadTreeNode* first = Leaves[static_cast<std::size_t>(i)];
            if (NthTokenStart(2, first->Caption, separators) == 0)
                continue;
            const String head = NthToken(1, first->Caption, separators);
            int j = i;
            while (j + 1 < count) {
                const THeadTreeNode* next = Leaves[static_cast<std::size_t>(j + 1)];
                if (next->ParentNode != first->ParentNode || NthToken(1, next->Caption, separators) != head)
                    break;
                ++j;
            }
            for (int k = i; k <= j; ++k) {
                THeadTreeNode* leaf = Leaves[static_cast<std::size_t>(k)];
                const int rest = NthTokenStart(2, leaf->Caption, separators);
                leaf->Caption = rest == 0 ? String() : leaf->Caption.mid(rest - 1);
            }
            MergeUnder(first, Leaves[static_cast<std::size_t>(j)], 20, head);
            merged = true;
        }
    }
}
