// The five exporters: text, Unicode text and CSV rows, RTF tables, and VCLDBIF values.
#include "datagrid/DBGridEhImpExp.h"

#include "platform/data/DataSet.h"
#include "platform/data/Field.h"
#include "platform/core/StringList.h"

#include <cmath>

// --- Text ---------------------------------------------------------------------------------------

TDBGridEhExportAsText::TDBGridEhExportAsText(TTextEncodingEh Encoding, Char Separator, bool Quoted)
    : FEncoding(Encoding), FSeparator(Separator), FQuoted(Quoted)
{
}

void TDBGridEhExportAsText::EmitPrefix() { FWriter = std::make_unique<TTextRowsWriterEh>(Stream(), FEncoding, FSeparator, FQuoted); }

void TDBGridEhExportAsText::EmitSuffix() { FWriter->Flush(); }

void TDBGridEhExportAsText::EmitTitleRow(const TColumnsEhList& Columns)
{
    FWriter->BeginRow();
    for (int i = 0; i < Columns.Count(); ++i)
        FWriter->WriteCell(Columns.ColumnAt(i)->Title()->Caption());
}

void TDBGridEhExportAsText::EmitRecordRow(const TColumnsEhList& Columns)
{
    FWriter->BeginRow();
    TDBGridEhExport::EmitRecordRow(Columns);
}

void TDBGridEhExportAsText::EmitDataCell(TColumnEh*, const TExportCellEh& Cell) { FWriter->WriteCell(Cell.Text); }

void TDBGridEhExportAsText::EmitFooterRow(const TColumnsEhList& Columns, int FooterNo)
{
    FWriter->BeginRow();
    TDBGridEhExport::EmitFooterRow(Columns, FooterNo);
}

void TDBGridEhExportAsText::EmitFooterCell(int, int, const TExportCellEh& Cell, TColumnEh*) { FWriter->WriteCell(Cell.Text); }

// --- RTF ----------------------------------------------------------------------------------------

int TDBGridEhExportAsRTF::PixelsPerInch() const { return Grid()->Font()->PixelsPerInch(); }

int TDBGridEhExportAsRTF::CellSpacing() const { return Grid()->Flat() ? 12 : 24; }

int TDBGridEhExportAsRTF::TitleSpacing() const
{
    return static_cast<int>(std::trunc(Grid()->VTitleMargin() / 2.0 / PixelsPerInch() * 1440.0 - 20.0));
}

void TDBGridEhExportAsRTF::EmitPrefix()
{
    FRtf = std::make_unique<TRtfWriterEh>(Stream(), PixelsPerInch());
    // A column without a stored width measures its font on every call: once per export here.
    FWidths.clear();
    for (int i = 0; i < Columns().Count(); ++i)
        FWidths.push_back(Columns().ColumnAt(i)->Width());
}

void TDBGridEhExportAsRTF::EmitSuffix() { FRtf->SaveDocument(); }

void TDBGridEhExportAsRTF::AddPending(const TExportCellEh& Cell)
{
    // Title, record and footer rows hand their cells in the order of Columns().
    const int width = FWidths[FPending.size()];
    FPending.push_back({TRtfTextStyleEh::Of(*Cell.Font), Cell.Background, Cell.Alignment, Cell.Text, width});
}

void TDBGridEhExportAsRTF::EmitPendingRow()
{
    FFrames.resize(0);
    for (const TPendingCell& cell : FPending)
        FFrames.push_back({TRtfBordersEh(), cell.Background, cell.Width});
    FRtf->RowDefinition(FFrames);
    FRtf->BeginRowContent();
    for (const TPendingCell& cell : FPending)
        FRtf->Cell(cell.Alignment, CellSpacing(), cell.Style, cell.Background, cell.Text);
    FRtf->EndRow();
    FPending.resize(0);
}

void TDBGridEhExportAsRTF::EmitTitleRow(const TColumnsEhList& Columns)
{
    if (Grid()->UseMultiTitle()) {
        EmitTitleLevels(Columns);
        return;
    }
    for (int i = 0; i < Columns.Count(); ++i) {
        TColumnTitleEh* title = Columns.ColumnAt(i)->Title();
        TExportCellEh cell;
        cell.Font = title->Font();
        cell.Background = title->Color();
        cell.Alignment = title->Alignment();
        cell.Text = title->Caption();
        AddPending(cell);
    }
    EmitPendingRow();
}

void TDBGridEhExportAsRTF::EmitRecordRow(const TColumnsEhList& Columns)
{
    TDBGridEhExport::EmitRecordRow(Columns);
    EmitPendingRow();
}

void TDBGridEhExportAsRTF::EmitDataCell(TColumnEh*, const TExportCellEh& Cell) { AddPending(Cell); }

void TDBGridEhExportAsRTF::EmitFooterRow(const TColumnsEhList& Columns, int FooterNo)
{
    TDBGridEhExport::EmitFooterRow(Columns, FooterNo);
    EmitPendingRow();
}

void TDBGridEhExportAsRTF::EmitFooterCell(int, int, const TExportCellEh& Cell, TColumnEh*) { AddPending(Cell); }

void TDBGridEhExportAsRTF::EmitTitleLevels(const TColumnsEhList& Columns)
{
    const int count = Columns.Count();
    if (count == 0)
        return;
    // Per column its leaf title node; then, level by level upwards, the columns whose stack is
    // lowest climb to their node's parent, until none has a parent below the root left.
    std::vector<THeadTreeNode*> current(static_cast<std::size_t>(count));
    std::vector<int> height(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        THeadTreeNode* leaf = Grid()->LeafOfColumn(Columns.ColumnAt(i)->Index());
        current[static_cast<std::size_t>(i)] = leaf;
        height[static_cast<std::size_t>(i)] = leaf != nullptr ? leaf->Height : 0;
    }
    const auto canClimb = [](const THeadTreeNode* Node) {
        return Node != nullptr && Node->ParentNode != nullptr && Node->ParentNode->ParentNode != nullptr;
    };
    std::vector<std::vector<THeadTreeNode*>> levels{current};
    for (;;) {
        int lowest = -1;
        for (int i = 0; i < count; ++i)
            if (canClimb(current[static_cast<std::size_t>(i)]) && (lowest < 0 || height[static_cast<std::size_t>(i)] < lowest))
                lowest = height[static_cast<std::size_t>(i)];
        if (lowest < 0)
            break;
        for (int i = 0; i < count; ++i) {
            THeadTreeNode*& node = current[static_cast<std::size_t>(i)];
            if (canClimb(node) && height[static_cast<std::size_t>(i)] == lowest) {
                node = node->ParentNode;
                height[static_cast<std::size_t>(i)] += node->Height;
            }
        }
        levels.push_back(current);
    }
    std::reverse(levels.begin(), levels.end());

    const int levelCount = static_cast<int>(levels.size());
    const auto at = [&levels](int Level, int Col) { return levels[static_cast<std::size_t>(Level)][static_cast<std::size_t>(Col)]; };
    TFont* titleFont = Grid()->TitleFont();
    for (int level = 0; level < levelCount; ++level) {
        // A node repeated to the right or below is one merged cell, drawn at its first column and
        // top level; no border runs inside it.
        FRtf->BeginRowDefinition();
        for (int i = 0; i < count; ++i) {
            THeadTreeNode* node = at(level, i);
            TRtfBordersEh borders;
            borders.Left = i == 0 || at(level, i - 1) != node;
            borders.Right = i == count - 1 || at(level, i + 1) != node;
            borders.Top = level == 0 || at(level - 1, i) != node;
            borders.Bottom = level == levelCount - 1 || at(level + 1, i) != node;
            const bool leaf = node == levels.back()[static_cast<std::size_t>(i)] && level == levelCount - 1;
            const TColor background = leaf ? Columns.ColumnAt(i)->Title()->Color() : Grid()->FixedColor();
            FRtf->CellDefinition(borders, background, Columns.ColumnAt(i)->Width());
        }
        FRtf->BeginRowContent();
        for (int i = 0; i < count; ++i) {
            THeadTreeNode* node = at(level, i);
            const bool merged = (i > 0 && at(level, i - 1) == node) || (level > 0 && at(level - 1, i) == node);
            if (merged || node == nullptr) {
                FRtf->EmptyCell();
                continue;
            }
            // The cell of a column's own leaf, shown on the levels it spans from its top.
            const bool leaf = node == levels.back()[static_cast<std::size_t>(i)];
            TColumnTitleEh* title = Columns.ColumnAt(i)->Title();
            FRtf->Cell(TAlignment::taCenter, TitleSpacing(), TRtfTextStyleEh::Of(leaf ? *title->Font() : *titleFont),
                       leaf ? title->Color() : Grid()->FixedColor(), node->Caption);
        }
        FRtf->EndRow();
    }
}

// --- VCLDBIF ------------------------------------------------------------------------------------

namespace {

// A lookup column's value: its key fields' values as comma text.
String LookupKeyText(const TField* Field)
{
    TStringList keys;
    for (const String& name : SplitFieldNames(Field->KeyFields()))
        if (const TField* key = Field->DataSet()->FindField(name))
            keys.Add(key->AsString());
    return keys.CommaText();
}

}  // namespace

void TDBGridEhExportAsVCLDBIF::EmitPrefix()
{
    FWriter = std::make_unique<TVCLDBIFWriterEh>(Stream());
    std::vector<bool> visible;
    for (int i = 0; i < Columns().Count(); ++i)
        visible.push_back(Columns().ColumnAt(i)->Visible());
    FWriter->WriteHeader(visible);
}

void TDBGridEhExportAsVCLDBIF::EmitRecordRow(const TColumnsEhList& Columns)
{
    for (int i = 0; i < Columns.Count(); ++i) {
        const TField* field = Columns.ColumnAt(i)->Field();
        if (field != nullptr && field->Lookup() && !field->KeyFields().isEmpty())
            FWriter->WriteWideString(LookupKeyText(field));
        else
            FWriter->WriteField(field);
    }
}

void TDBGridEhExportAsVCLDBIF::EmitSuffix() { FWriter->WriteEnd(); }
