// TCanvas: the platform's drawing surface on a QPainter, with pens, brushes, fonts, raster
// modes (XOR on an overlay), clipping regions and saved device states. Text output lives in
// CanvasText.cpp, frames and 3-D edges in CanvasFrames.cpp.
//
// Sections:
//   where drawing lands   the paint target, raster modes and their colours
//   set-up                painting begins and ends, drawing objects, text and background colours
//   lines and shapes      pen position, lines, polygons, rectangles, fills, gradients, pixels
//   pictures              bitmaps drawn, stretched and copied
//   clipping              clip rectangles and regions, saved and restored device states
#include "platform/ui/Canvas.h"

#include "platform/ui/Bitmap.h"
#include "platform/ui/CanvasTarget.h"
#include "platform/ui/QtConvert.h"
#include "platform/ui/XorOverlay.h"

#include <QImage>
#include <QPolygon>

struct TCanvas::TSavedState {
    std::optional<QRegion> Clip;
    TPoint PenPos;
    TColor TextColor;
    TColor BkColor;
    int BkMode;
};

namespace {

QColor Inverted(const QColor& Color)
{
    return QColor(255 - Color.red(), 255 - Color.green(), 255 - Color.blue());
}

QPolygon ToQPolygon(std::span<const TPoint> Points)
{
    QPolygon polygon;
    polygon.reserve(static_cast<qsizetype>(Points.size()));
    for (TPoint point : Points)
        polygon.append(ToQPoint(point));
    return polygon;
}

}  // namespace

// ---- where drawing lands

TCanvas::TTarget::TTarget(TCanvas& Canvas) : FCanvas(Canvas)
{
    if (Canvas.FPaintPainter != nullptr) {
        FPainter = Canvas.FPaintPainter;
    } else if (Canvas.FOverlay != nullptr) {
        if (Canvas.FOverlay->Width() > 0 && Canvas.FOverlay->Height() > 0) {
            FOverlayPainter.emplace(&Canvas.FOverlay->Image());
            FPainter = &*FOverlayPainter;
            Canvas.FClipApplied = false;
        }
    } else if (QImage* image = Canvas.DeviceImage(); image != nullptr && !image->isNull()) {
        if (!Canvas.FDevicePainter) {
            Canvas.FDevicePainter = std::make_unique<QPainter>(image);
            Canvas.FClipApplied = false;
        }
        FPainter = Canvas.FDevicePainter.get();
    }
    if (FPainter != nullptr && !Canvas.FClipApplied) {
        const std::optional<QRegion> clip = Canvas.EffectiveClip();
        if (clip)
            FPainter->setClipRegion(*clip);
        else
            FPainter->setClipping(false);
        Canvas.FClipApplied = true;
    }
}

TCanvas::TTarget::~TTarget()
{
    if (FPainter == nullptr)
        return;
    if (FOverlayPainter) {
        FOverlayPainter->end();
        FCanvas.FOverlay->Changed();
    }
    FCanvas.Changed();
}

bool TCanvas::TTarget::UseMode(TPenMode Mode)
{
    FMode = Mode;
    QPainter::CompositionMode composition = QPainter::CompositionMode_SourceOver;
    if (FOverlayPainter) {
        // The overlay records what XOR does to each pixel; only modes that are an XOR fit.
        if (Mode != TPenMode::pmXor && Mode != TPenMode::pmNot && Mode != TPenMode::pmNotXor)
            return false;
        composition = QPainter::RasterOp_SourceXorDestination;
    } else {
        switch (Mode) {
        case TPenMode::pmNop:
            return false;
        case TPenMode::pmBlack:
        case TPenMode::pmWhite:
        case TPenMode::pmCopy:
        case TPenMode::pmNotCopy:
            break;
        case TPenMode::pmNot:
            composition = QPainter::RasterOp_NotDestination;
            break;
        case TPenMode::pmMergePenNot:
            composition = QPainter::RasterOp_SourceOrNotDestination;
            break;
        case TPenMode::pmMaskPenNot:
            composition = QPainter::RasterOp_SourceAndNotDestination;
            break;
        case TPenMode::pmMergeNotPen:
            composition = QPainter::RasterOp_NotSourceOrDestination;
            break;
        case TPenMode::pmMaskNotPen:
            composition = QPainter::RasterOp_NotSourceAndDestination;
            break;
        case TPenMode::pmMerge:
            composition = QPainter::RasterOp_SourceOrDestination;
            break;
        case TPenMode::pmNotMerge:
            composition = QPainter::RasterOp_NotSourceAndNotDestination;
            break;
        case TPenMode::pmMask:
            composition = QPainter::RasterOp_SourceAndDestination;
            break;
        case TPenMode::pmNotMask:
            composition = QPainter::RasterOp_NotSourceOrNotDestination;
            break;
        case TPenMode::pmXor:
            composition = QPainter::RasterOp_SourceXorDestination;
            break;
        case TPenMode::pmNotXor:
            composition = QPainter::RasterOp_NotSourceXorDestination;
            break;
        }
    }
    FPainter->setCompositionMode(composition);
    return true;
}

QColor TCanvas::TTarget::ModeColor(TColor Color) const
{
    const QColor color = ToQColor(Color);
    switch (FMode) {
    case TPenMode::pmBlack:
        return Qt::black;
    case TPenMode::pmWhite:
        return Qt::white;
    case TPenMode::pmNotCopy:
        return Inverted(color);
    case TPenMode::pmNot:
        return Qt::white;  // inverting = XOR with white, on an overlay
    case TPenMode::pmNotXor:
        return FOverlayPainter ? Inverted(color) : color;
    default:
        return color;
    }
}

QPen ToQPen(const TPen& Pen, const QColor& Color)
{
    if (Pen.Style() == TPenStyle::psClear)
        return QPen(Qt::NoPen);
    // One-pixel pens are cosmetic with flat caps: a line leaves out its end point, as the
    // platform's lines do. Wider pens are round like the platform's geometric ones.
    const bool thin = Pen.Width() <= 1;
    QPen pen(Color, thin ? 0 : Pen.Width(), Qt::SolidLine, thin ? Qt::FlatCap : Qt::RoundCap,
             thin ? Qt::MiterJoin : Qt::RoundJoin);
    switch (Pen.Style()) {
    case TPenStyle::psDash:
        pen.setDashPattern({18, 6});
        break;
    case TPenStyle::psDot:
        pen.setDashPattern({3, 3});
        break;
    case TPenStyle::psDashDot:
        pen.setDashPattern({9, 6, 3, 6});
        break;
    case TPenStyle::psDashDotDot:
        pen.setDashPattern({9, 3, 3, 3, 3, 3});
        break;
    default:
        break;
    }
    return pen;
}

void FillFrame(QPainter& Painter, const QRect& R, const QColor& Color)
{
    if (R.isEmpty())
        return;
    Painter.fillRect(QRect(R.left(), R.top(), R.width(), 1), Color);
    if (R.height() > 1)
        Painter.fillRect(QRect(R.left(), R.bottom(), R.width(), 1), Color);
    if (R.height() > 2) {
        Painter.fillRect(QRect(R.left(), R.top() + 1, 1, R.height() - 2), Color);
        if (R.width() > 1)
            Painter.fillRect(QRect(R.right(), R.top() + 1, 1, R.height() - 2), Color);
    }
}

// ---- set-up

TCanvas::TCanvas() : FTextColor(FFont.Color()), FBkColor(FBrush.Color())
{
    FFont.OnChange = [this](TObject*) { FontChanged(); };
    FBrush.OnChange = [this](TObject*) { BrushChanged(); };
}

TCanvas::~TCanvas() = default;

void TCanvas::BeginPaint(QPainter* Painter)
{
    Painter->save();
    FPaintPainter = Painter;
    FPaintClip = Painter->hasClipping() ? std::optional(Painter->clipRegion()) : std::nullopt;
    FClipApplied = false;
}

void TCanvas::EndPaint()
{
    if (FPaintPainter == nullptr)
        return;
    FPaintPainter->restore();
    FPaintPainter = nullptr;
    FPaintClip.reset();
    FClipApplied = false;
}

void TCanvas::SetOverlay(TXorOverlay* Overlay)
{
    FOverlay = Overlay;
    FClipApplied = false;
}

bool TCanvas::HandleAllocated() const
{
    return FPaintPainter != nullptr || FOverlay != nullptr || DeviceImage() != nullptr;
}

void TCanvas::ReleaseDevice()
{
    FDevicePainter.reset();
    FClipApplied = false;
}

QPainter* TCanvas::StylePainter()
{
    if (FPaintPainter == nullptr && DeviceImage() == nullptr)
        return nullptr;
    TTarget target(*this);
    if (!target || !target.UseCopy())
        return nullptr;
    return &target.Painter();
}

void TCanvas::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TCanvas::FontChanged()
{
    FTextColor = FFont.Color();
}

void TCanvas::BrushChanged()
{
    FBkColor = FBrush.Color();
    FBkMode = FBrush.Style() == TBrushStyle::bsSolid ? OPAQUE : TRANSPARENT;
}

TColor TCanvas::SetTextColor(TColor Value)
{
    return std::exchange(FTextColor, Value);
}

TColor TCanvas::SetBkColor(TColor Value)
{
    return std::exchange(FBkColor, Value);
}

int TCanvas::SetBkMode(int Value)
{
    return std::exchange(FBkMode, Value);
}

// ---- lines and shapes

void TCanvas::MoveTo(int X, int Y)
{
    FPenPos = {X, Y};
}

void TCanvas::LineTo(int X, int Y)
{
    if (TTarget target(*this); target && target.UseMode(FPen.Mode())) {
        target.Painter().setPen(ToQPen(FPen, target.ModeColor(FPen.Color())));
        target.Painter().drawLine(ToQPoint(FPenPos), QPoint(X, Y));
    }
    FPenPos = {X, Y};
}

void TCanvas::Polyline(std::span<const TPoint> Points)
{
    TTarget target(*this);
    if (!target || Points.size() < 2 || !target.UseMode(FPen.Mode()))
        return;
    target.Painter().setPen(ToQPen(FPen, target.ModeColor(FPen.Color())));
    target.Painter().drawPolyline(ToQPolygon(Points));
}

void TCanvas::PolyPolyline(std::span<const TPoint> Points, std::span<const int> Counts)
{
    TTarget target(*this);
    if (!target || !target.UseMode(FPen.Mode()))
        return;
    target.Painter().setPen(ToQPen(FPen, target.ModeColor(FPen.Color())));
    std::size_t first = 0;
    for (int count : Counts) {
        const auto size = static_cast<std::size_t>(std::max(count, 0));
        if (first + size > Points.size())
            break;
        if (size >= 2)
            target.Painter().drawPolyline(ToQPolygon(Points.subspan(first, size)));
        first += size;
    }
}

void TCanvas::Polygon(std::span<const TPoint> Points)
{
    TTarget target(*this);
    if (!target || Points.size() < 2 || !target.UseMode(FPen.Mode()))
        return;
    QPainter& painter = target.Painter();
    painter.setPen(ToQPen(FPen, target.ModeColor(FPen.Color())));
    if (FBrush.Style() == TBrushStyle::bsSolid)
        painter.setBrush(target.ModeColor(FBrush.Color()));
    else
        painter.setBrush(Qt::NoBrush);
    painter.drawPolygon(ToQPolygon(Points), Qt::OddEvenFill);
}

void TCanvas::Rectangle(const TRect& R)
{
    TTarget target(*this);
    if (!target || R.IsEmpty() || !target.UseMode(FPen.Mode()))
        return;
    QPainter& painter = target.Painter();
    const bool outlined = FPen.Style() != TPenStyle::psClear;
    if (FBrush.Style() == TBrushStyle::bsSolid) {
        // Without a pen the platform fills one pixel less to the right and bottom.
        const QRect inside = outlined ? ToQRect(R).adjusted(1, 1, -1, -1) : ToQRect(R).adjusted(0, 0, -1, -1);
        painter.fillRect(inside, target.ModeColor(FBrush.Color()));
    }
    if (!outlined)
        return;
    const QColor penColor = target.ModeColor(FPen.Color());
    if (FPen.Width() <= 1 && FPen.Style() == TPenStyle::psSolid) {
        FillFrame(painter, ToQRect(R), penColor);
    } else {
        painter.setPen(ToQPen(FPen, penColor));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(ToQRect(R).adjusted(0, 0, -1, -1));
    }
}

void TCanvas::Ellipse(const TRect& R)
{
    TTarget target(*this);
    if (!target || R.IsEmpty() || !target.UseMode(FPen.Mode()))
        return;
    QPainter& painter = target.Painter();
    painter.setPen(ToQPen(FPen, target.ModeColor(FPen.Color())));
    if (FBrush.Style() == TBrushStyle::bsSolid)
        painter.setBrush(target.ModeColor(FBrush.Color()));
    else
        painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(ToQRect(R).adjusted(0, 0, -1, -1));
}

void TCanvas::FillRect(const TRect& R)
{
    TTarget target(*this);
    if (target && FBrush.Style() == TBrushStyle::bsSolid && target.UseCopy())
        target.Painter().fillRect(ToQRect(R), ToQColor(FBrush.Color()));
}

void TCanvas::FrameRect(const TRect& R)
{
    TTarget target(*this);
    if (target && FBrush.Style() == TBrushStyle::bsSolid && target.UseCopy())
        FillFrame(target.Painter(), ToQRect(R), ToQColor(FBrush.Color()));
}

void TCanvas::DrawFocusRect(const TRect& R)
{
    TTarget target(*this);
    if (!target || R.IsEmpty() || !target.UseMode(TPenMode::pmNot))
        return;
    // The pixels of the outline where X + Y is even, each once.
    QPolygon dots;
    const auto dot = [&dots](int x, int y) {
        if ((x + y) % 2 == 0)
            dots.append(QPoint(x, y));
    };
    for (int x = R.Left; x < R.Right; ++x) {
        dot(x, R.Top);
        if (R.Bottom - 1 > R.Top)
            dot(x, R.Bottom - 1);
    }
    for (int y = R.Top + 1; y < R.Bottom - 1; ++y) {
        dot(R.Left, y);
        if (R.Right - 1 > R.Left)
            dot(R.Right - 1, y);
    }
    target.Painter().setPen(QPen(target.ModeColor(clWhite), 0));
    target.Painter().drawPoints(dots);
}

void TCanvas::GradientFill(const TRect& R, TColor StartColor, TColor EndColor, unsigned Mode)
{
    TTarget target(*this);
    if (!target || R.IsEmpty() || !target.UseCopy())
        return;
    const bool vertical = Mode == GRADIENT_FILL_RECT_V;
    const int steps = vertical ? R.Height() : R.Width();
    const TColor start = ColorToRGB(StartColor);
    const TColor end = ColorToRGB(EndColor);
    const auto channel = [steps](int from, int to, int step) { return from + (to - from) * step / steps; };
    for (int step = 0; step < steps; ++step) {
        const QColor color(channel(GetRValue(start), GetRValue(end), step), channel(GetGValue(start), GetGValue(end), step),
                           channel(GetBValue(start), GetBValue(end), step));
        const QRect line = vertical ? QRect(R.Left, R.Top + step, R.Width(), 1) : QRect(R.Left + step, R.Top, 1, R.Height());
        target.Painter().fillRect(line, color);
    }
}

TColor TCanvas::Pixels(int X, int Y) const
{
    const QImage* image = DeviceImage();
    if (image == nullptr || !image->valid(X, Y))
        return CLR_INVALID;
    return FromQRgb(image->pixel(X, Y));
}

void TCanvas::SetPixels(int X, int Y, TColor Value)
{
    TTarget target(*this);
    if (target && target.UseCopy())
        target.Painter().fillRect(QRect(X, Y, 1, 1), ToQColor(Value));
}

// ---- pictures

void TCanvas::Draw(int X, int Y, TBitmap* Graphic)
{
    TTarget target(*this);
    if (target && Graphic != nullptr && !Graphic->Empty() && target.UseCopy())
        target.Painter().drawImage(X, Y, Graphic->Transparent() ? Graphic->MaskedImage() : Graphic->Image());
}

void TCanvas::StretchDraw(const TRect& R, TBitmap* Graphic)
{
    TTarget target(*this);
    if (target && Graphic != nullptr && !Graphic->Empty() && target.UseCopy())
        target.Painter().drawImage(ToQRect(R), Graphic->Transparent() ? Graphic->MaskedImage() : Graphic->Image());
}

void TCanvas::CopyRect(const TRect& Dest, const TCanvas* Source, const TRect& SourceRect)
{
    const QImage* source = Source != nullptr ? Source->DeviceImage() : nullptr;
    if (source == nullptr)
        return;
    // A copy first: the source may be this canvas's own image.
    const QImage pixels = source->copy(ToQRect(SourceRect));
    TTarget target(*this);
    if (target && target.UseCopy())
        target.Painter().drawImage(ToQRect(Dest), pixels);
}

// ---- clipping

TRect TCanvas::DeviceRect() const
{
    if (FPaintPainter != nullptr) {
        const QPaintDevice* device = FPaintPainter->device();
        return FromQRect(FPaintPainter->transform().inverted().mapRect(QRect(0, 0, device->width(), device->height())));
    }
    if (FOverlay != nullptr)
        return Rect(0, 0, FOverlay->Width(), FOverlay->Height());
    if (const QImage* image = DeviceImage())
        return Rect(0, 0, image->width(), image->height());
    return {};
}

std::optional<QRegion> TCanvas::EffectiveClip() const
{
    if (FClip && FPaintClip)
        return FClip->intersected(*FPaintClip);
    return FClip ? FClip : FPaintClip;
}

void TCanvas::ClipChanged()
{
    FClipApplied = false;
}

TRect TCanvas::ClipRect() const
{
    const TRect device = DeviceRect();
    const std::optional<QRegion> clip = EffectiveClip();
    return clip ? FromQRect(clip->boundingRect()).Intersected(device) : device;
}

bool TCanvas::RectVisible(const TRect& R) const
{
    const TRect visible = R.Intersected(DeviceRect());
    if (visible.IsEmpty())
        return false;
    const std::optional<QRegion> clip = EffectiveClip();
    return !clip || clip->intersects(ToQRect(visible));
}

int TCanvas::IntersectClipRect(const TRect& R)
{
    const QRegion rect(ToQRect(R));
    FClip = FClip ? FClip->intersected(rect) : rect;
    ClipChanged();
    return TRegion(*FClip).Kind();
}

int TCanvas::SelectClipRgn(const TRegion* Region)
{
    return ExtSelectClipRgn(Region, RGN_COPY);
}

int TCanvas::ExtSelectClipRgn(const TRegion* Region, int Mode)
{
    if (Region == nullptr) {
        if (Mode != RGN_COPY)
            return RGN_ERROR;
        FClip.reset();
    } else {
        const TRegion current(FClip ? *FClip : QRegion(ToQRect(DeviceRect())));
        FClip = current.Combined(*Region, Mode).Handle();
    }
    ClipChanged();
    return FClip ? TRegion(*FClip).Kind() : SIMPLEREGION;
}

int TCanvas::GetClipRgn(TRegion& Region) const
{
    if (!FClip)
        return 0;
    Region = TRegion(*FClip);
    return 1;
}

int TCanvas::SaveDC()
{
    FSaved.push_back({FClip, FPenPos, FTextColor, FBkColor, FBkMode});
    return static_cast<int>(FSaved.size());
}

bool TCanvas::RestoreDC(int SavedDC)
{
    const int level = SavedDC < 0 ? static_cast<int>(FSaved.size()) + 1 + SavedDC : SavedDC;
    if (level < 1 || level > static_cast<int>(FSaved.size()))
        return false;
    const TSavedState state = FSaved[static_cast<std::size_t>(level - 1)];
    FSaved.resize(static_cast<std::size_t>(level - 1));
    FClip = state.Clip;
    FPenPos = state.PenPos;
    FTextColor = state.TextColor;
    FBkColor = state.BkColor;
    FBkMode = state.BkMode;
    ClipChanged();
    return true;
}
