#pragma once
// Reading back the words a window paints: the window is rendered onto a device that draws nothing
// and keeps every text item with the point it was drawn at, so a test reads the texts a user sees
// without depending on a font's pixels.
#include <QPaintDevice>
#include <QPaintEngine>
#include <QRect>
#include <QStringList>
#include <QTextItem>
#include <QWidget>

#include <vector>

struct TPaintedText {
    QString Text;
    QPointF At;  // the text's baseline origin, in the rendered window's coordinates
};

class TTextRecordingEngine : public QPaintEngine {
public:
    // Every feature claimed, so the painter hands texts over as they are instead of as outlines.
    TTextRecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    Type type() const override { return QPaintEngine::User; }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawImage(const QRectF&, const QImage&, const QRectF&, Qt::ImageConversionFlags) override {}
    void drawPath(const QPainterPath&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawRects(const QRectF*, int) override {}
    void drawLines(const QLineF*, int) override {}
    void drawTextItem(const QPointF& At, const QTextItem& Item) override
    {
        Texts.push_back({Item.text(), state->transform().map(At)});
    }

    std::vector<TPaintedText> Texts;
};

class TTextRecorder : public QPaintDevice {
public:
    explicit TTextRecorder(QSize Size) : FSize(Size) {}
    QPaintEngine* paintEngine() const override { return &FEngine; }
    const std::vector<TPaintedText>& Texts() const { return FEngine.Texts; }

protected:
    int metric(PaintDeviceMetric Metric) const override
    {
        switch (Metric) {
        case PdmWidth: return FSize.width();
        case PdmHeight: return FSize.height();
        case PdmWidthMM: return FSize.width() * 254 / 960;
        case PdmHeightMM: return FSize.height() * 254 / 960;
        case PdmNumColors: return 0x7fffffff;
        case PdmDepth: return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return 96;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return static_cast<int>(devicePixelRatioFScale());
        default: return 0;
        }
    }

private:
    QSize FSize;
    mutable TTextRecordingEngine FEngine;
};

// The texts Window paints whose baseline origin lies in Area (window coordinates), in paint order.
inline QStringList PaintedTextsIn(QWidget* Window, const QRect& Area)
{
    TTextRecorder recorder(Window->size());
    Window->render(&recorder);
    QStringList texts;
    for (const TPaintedText& text : recorder.Texts())
        if (Area.contains(text.At.toPoint()))
            texts << text.Text;
    return texts;
}
