// The grid's glyphs: the record indicator, sort markers, drop-down sign and filter funnel, and
// the two image lists all grids share.
#include "datagrid/DBGridEhDraw.h"

#include "platform/ui/Bitmap.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/ImageList.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string_view>

using namespace Qt::StringLiterals;

namespace {

// --- The glyph bitmaps: one character a pixel ----------------------------------------------------
// '.' the bitmap's transparent colour, 'X' black, 'D' dark grey, 'G' grey, 'L' light grey,
// 'W' white.

struct TGlyphArtEh {
    std::string_view Name;
    TColor Transparent;
    std::array<std::string_view, 11> Rows;  // unused rows are empty
};

constexpr TColor clTealEh = RGB(0, 128, 128);
constexpr TColor clFuchsiaEh = RGB(255, 0, 255);

constexpr TGlyphArtEh GlyphArt[] = {
    {"DBGARROWEH", clWhite,
     {"...........", "...X.......", "...XX......", "...XXX.....", "...XXXX....", "...XXXXX...", "...XXXX....",
      "...XXX.....", "...XX......", "...X.......", "..........."}},
    {"DBEDITEH", clWhite,
     {"...........", "...XXXXX...", ".....X.....", ".....X.....", ".....X.....", ".....X.....", ".....X.....",
      ".....X.....", ".....X.....", "...XXXXX...", "..........."}},
    {"DBINSERTEH", clWhite,
     {"...........", "...........", ".....X.....", "..X..X..X..", "...X.X.X...", "....XXX....", "...X.X.X...",
      "..X..X..X..", ".....X.....", "...........", "..........."}},
    {"DBMULTIDOTEH", clWhite,
     {"...........", "...........", "...........", "....XXX....", "...XXXXX...", "...XXXXX...", "...XXXXX...",
      "....XXX....", "...........", "...........", "..........."}},
    {"DBMULTIARROWEH", clWhite,
     {"...........", ".X.........", ".XX........", ".XXX.......", ".XXXX..XX..", ".XXXXX.XX..", ".XXXX......",
      ".XXX.......", ".XX........", ".X.........", "..........."}},
    {"DBGARROWEHW", clTealEh,
     {"...........", "...X.......", "...XX......", "...XWX.....", "...XWWX....", "...XWWWX...", "...XWWX....",
      "...XWX.....", "...XX......", "...X.......", "..........."}},
    {"DBSMDOWNEH", clFuchsiaEh, {".........", "GGGGGGGGG", ".GGGGGGG.", "..GGGGG..", "...GGG...", "....G...."}},
    {"DBSMUPEH", clFuchsiaEh, {"....G....", "...GGG...", "..GGGGG..", ".GGGGGGG.", "GGGGGGGGG", "........."}},
    {"DROPDOWNEH", clWhite, {".........", ".XXXXXXX.", "..XXXXX..", "...XXX...", "....X....", "........."}},
    {"DBSMDOWNEH_1", clFuchsiaEh, {".........", "DDDDDDDDD", ".DDDDDDD.", "..DDDDD..", "...DDD...", "....D...."}},
    {"DBSMUPEH_1", clFuchsiaEh, {"....D....", "...DDD...", "..DDDDD..", ".DDDDDDD.", "DDDDDDDDD", "........."}},
};

TColor ArtColor(char Pixel, TColor Transparent)
{
    switch (Pixel) {
    case 'X': return clBlack;
    case 'D': return RGB(64, 64, 64);
    case 'G': return RGB(128, 128, 128);
    case 'L': return RGB(192, 192, 192);
    case 'W': return clWhite;
    default: return Transparent;
    }
}

const TGlyphArtEh* FindArt(const String& Name)
{
    for (const TGlyphArtEh& art : GlyphArt)
        if (Name == QLatin1StringView(art.Name.data(), static_cast<qsizetype>(art.Name.size())))
            return &art;
    return nullptr;
}

// --- The shared lists ------------------------------------------------------------------------------

struct TGridGlyphListsEh {
    std::unique_ptr<TImageList> Indicators;
    std::unique_ptr<TImageList> SortMarkers;
    TColor HighlightArrowColor = RGB(255, 255, 0);
    bool Loaded = false;
};

TGridGlyphListsEh& GlyphLists()
{
    static TGridGlyphListsEh lists;
    return lists;
}

void AddGlyph(TImageList* List, const char* Name, TColor Transparent)
{
    TBitmap bitmap;
    LoadGridGlyphBitmap(&bitmap, QString::fromLatin1(Name));
    List->AddMasked(&bitmap, Transparent);
}

// A list sized by the first of its bitmaps.
std::unique_ptr<TImageList> ListSizedBy(const char* Name)
{
    TBitmap bitmap;
    LoadGridGlyphBitmap(&bitmap, QString::fromLatin1(Name));
    auto list = std::make_unique<TImageList>(nullptr);
    list->SetWidth(bitmap.Width());
    list->SetHeight(bitmap.Height());
    return list;
}

// Images 0 to 5 of the indicator list.
void AddIndicatorBaseGlyphs(TImageList* List)
{
    for (const char* name : {"DBGARROWEH", "DBEDITEH", "DBINSERTEH", "DBMULTIDOTEH", "DBMULTIARROWEH"})
        AddGlyph(List, name, clWhite);
    AddGlyph(List, "DBGARROWEHW", clTealEh);
}

void EnsureGlyphsLoaded()
{
    if (!GlyphLists().Loaded)
        LoadGridGlyphs();
}

// Horizontal runs centred on the middle of ARect, one per row: Lengths[i] pixels starting at
// Starts[i] from the glyph's left; the last pixel of each run in Edge.
void PaintRuns(TCanvas* Canvas, const TRect& ARect, int GlyphWidth, std::span<const int> Starts,
               std::span<const int> Lengths, TColor Fill, TColor Edge)
{
    const int left = ARect.Left + (ARect.Width() - GlyphWidth) / 2;
    const int top = ARect.Top + (ARect.Height() - static_cast<int>(Lengths.size())) / 2;
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetStyle(TPenStyle::psSolid);
    for (std::size_t row = 0; row < Lengths.size(); ++row) {
        const int y = top + static_cast<int>(row);
        const int x = left + Starts[row];
        Canvas->Pen()->SetColor(Fill);
        Canvas->MoveTo(x, y);
        Canvas->LineTo(x + Lengths[row] - 1, y);
        Canvas->Pen()->SetColor(Edge);
        Canvas->MoveTo(x + Lengths[row] - 1, y);
        Canvas->LineTo(x + Lengths[row], y);
    }
}

}  // namespace

void LoadGridGlyphBitmap(TBitmap* Bitmap, const String& Name)
{
    const TGlyphArtEh* art = FindArt(Name);
    if (art == nullptr)
        throw EResNotFound(u"Resource "_s + Name + u" not found"_s);
    int height = 0;
    while (height < static_cast<int>(art->Rows.size()) && !art->Rows[static_cast<std::size_t>(height)].empty())
        ++height;
    const int width = static_cast<int>(art->Rows[0].size());
    Bitmap->SetSize(width, height);
    TCanvas* canvas = Bitmap->Canvas();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            canvas->SetPixels(x, y, ArtColor(art->Rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)],
                                             art->Transparent));
}

void LoadGridGlyphs()
{
    TGridGlyphListsEh& lists = GlyphLists();
    lists.Loaded = true;
    lists.Indicators = ListSizedBy("DBGARROWEH");
    AddIndicatorBaseGlyphs(lists.Indicators.get());
    RenderHighlightArrowGlyph();
    lists.SortMarkers = ListSizedBy("DBSMDOWNEH");
    AddGlyph(lists.SortMarkers.get(), "DBSMDOWNEH", clFuchsiaEh);
    AddGlyph(lists.SortMarkers.get(), "DBSMUPEH", clFuchsiaEh);
    AddGlyph(lists.SortMarkers.get(), "DROPDOWNEH", clWhite);
    AddGlyph(lists.SortMarkers.get(), "DBSMDOWNEH_1", clFuchsiaEh);
    AddGlyph(lists.SortMarkers.get(), "DBSMUPEH_1", clFuchsiaEh);
}

void RenderHighlightArrowGlyph()
{
    TImageList* indicators = GlyphLists().Indicators.get();
    if (indicators == nullptr)
        return;
    TBitmap arrow;
    LoadGridGlyphBitmap(&arrow, u"DBGARROWEHW"_s);
    // The arrow's white body takes the highlight colour; its teal surround stays transparent. A
    // highlight colour that is teal itself would vanish with it: a slightly darker teal stands in.
    TColor background = ColorToRGB(GlyphLists().HighlightArrowColor);
    if (background == clTealEh)
        background = RGB(0, 127, 127);
    TImageList one(nullptr);
    one.SetWidth(arrow.Width());
    one.SetHeight(arrow.Height());
    one.SetBkColor(background);
    one.AddMasked(&arrow, clWhite);
    TBitmap rendered(arrow.Width(), arrow.Height());
    one.Draw(rendered.Canvas(), 0, 0, 0);
    // The rendered arrow is the seventh image, replacing an earlier rendering.
    if (indicators->Count() > iiHighlightArrowEh) {
        indicators->Clear();
        AddIndicatorBaseGlyphs(indicators);
    }
    indicators->AddMasked(&rendered, clTealEh);
}

TColor GridHighlightArrowColor() { return GlyphLists().HighlightArrowColor; }

void SetGridHighlightArrowColor(TColor Value)
{
    GlyphLists().HighlightArrowColor = Value;
    RenderHighlightArrowGlyph();
}

TImageList* GridIndicatorImages()
{
    EnsureGlyphsLoaded();
    return GlyphLists().Indicators.get();
}

TImageList* GridSortMarkerImages()
{
    EnsureGlyphsLoaded();
    return GlyphLists().SortMarkers.get();
}

void PaintIndicatorGlyph(TCanvas* Canvas, const TRect& ARect, int Kind, bool Themed, TColor IncSearchColor)
{
    if (Kind < igkCurrentEh || Kind > igkIncSearchEh)
        return;
    const bool arrow = Kind == igkCurrentEh || Kind == igkCurrentSelectedEh || Kind == igkIncSearchEh;
    if (!Themed || !arrow) {
        // The images in the order of the kinds; a search shows the arrow on the highlight colour.
        static constexpr int images[] = {iiArrowEh, iiMultiArrowEh, iiEditEh, iiInsertEh, iiHighlightArrowEh};
        DrawGraphicClipped(GridIndicatorImages(), Canvas, TAlignment::taCenter, 0, images[Kind], ARect);
        return;
    }
    const TColor fill = Kind == igkCurrentEh          ? BlendColors(cl3DDkShadow, clBlack, 30)
                        : Kind == igkCurrentSelectedEh ? BlendColors(clWhite, clBlack, 7)
                                                       : IncSearchColor;
    // Rows of 1, 2 .. 6 .. 2, 1 pixels: a 6 x 11 arrow pointing right.
    static constexpr int starts[11] = {};
    static constexpr int lengths[11] = {1, 2, 3, 4, 5, 6, 5, 4, 3, 2, 1};
    PaintRuns(Canvas, ARect, 6, starts, lengths, fill, BlendColors(fill, clWhite, 50));
}

void PaintDropDownSign(TCanvas* Canvas, const TRect& ARect, TColor Color, bool Highlighted, bool Themed)
{
    if (!Themed) {
        DrawGraphicClipped(GridSortMarkerImages(), Canvas, TAlignment::taCenter, 0, 2, ARect);
        return;
    }
    static constexpr int starts[4] = {0, 1, 2, 3};
    static constexpr int lengths[4] = {8, 6, 4, 2};
    PaintRuns(Canvas, ARect, 8, starts, lengths, BlendColors(Color, clBlack, Highlighted ? 7 : 30), clWhite);
}

void PaintTitleFilterGlyph(TCanvas* Canvas, const TRect& ARect, TColor Color)
{
    static constexpr int starts[6] = {0, 1, 2, 2, 2, 2};
    static constexpr int lengths[6] = {6, 4, 2, 2, 2, 2};
    PaintRuns(Canvas, ARect, 6, starts, lengths, Color, Color);
}
