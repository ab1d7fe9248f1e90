#pragma once
// A published data grid on a form, painted offscreen into an image whose pixels the tests read.
#include "SumListTestSupport.h"

#include "datagrid/DBGridEh.h"

#include "platform/data/DataSource.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Forms.h"
#include "platform/ui/PlatformMetrics.h"
#include "platform/ui/QtConvert.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

class TPaintTestGrid : public TDBGridEh {
public:
    using TDBGridEh::TDBGridEh;

    // The client area as the grid paints it now.
    const QImage& PaintScreen()
    {
        FImage = QImage(ClientWidth(), ClientHeight(), QImage::Format_RGB32);
        FImage.fill(Qt::magenta);
        QPainter painter(&FImage);
        Canvas()->BeginPaint(&painter);
        Paint();
        Canvas()->EndPaint();
        return FImage;
    }

    TColor Pixel(int X, int Y) const { return FromQRgb(FImage.pixel(X, Y)); }

    // Pixels of Color inside the cell, its edges left out.
    int CountInCell(int ACol, int ARow, TColor Color) const { return CountInCellIf(ACol, ARow, [&](TColor C) { return C == Color; }); }
    int CountInCellIf(int ACol, int ARow, const std::function<bool(TColor)>& Matches) const
    {
        const TRect r = CellPixelRect(ACol, ARow);
        int n = 0;
        for (int y = r.Top + 1; y < r.Bottom - 1; ++y)
            for (int x = r.Left + 1; x < r.Right - 1; ++x)
                n += Matches(Pixel(x, y)) ? 1 : 0;
        return n;
    }
    // A pixel inside the cell away from its text: near its bottom right corner.
    TColor CellBackground(int ACol, int ARow) const
    {
        const TRect r = CellPixelRect(ACol, ARow);
        return Pixel(r.Right - 3, r.Bottom - 2);
    }

private:
    QImage FImage;
};

// Themes off: the classic colours are the ones read back.
class GridPaintFixtureBase : public ::testing::Test {
protected:
    void SetUp() override { PlatformMetrics().SetThemesActive(false); }
    void TearDown() override { PlatformMetrics().Reset(); }

    void PlaceGrid(TForm& Form)
    {
        Form.SetBounds(0, 0, 500, 400);
        Grid = new TPaintTestGrid(&Form);
        Grid->SetBorderStyle(TBorderStyle::bsNone);
        Grid->SetBounds(0, 0, 420, 260);
        Grid->SetParent(&Form);
        Grid->HandleNeeded();
    }

    TPaintTestGrid* Grid = nullptr;
};

// A painted grid on a form over Count stock records (物品n, quantity n, amount n/2), on the first
// record. The test sets the grid's data source itself, after the columns it adds.
class StockGridPaintFixture : public GridPaintFixtureBase {
protected:
    void OpenStock(int Count)
    {
        Data.reset(NewStockDataSet(nullptr));
        Data->Open();
        for (int n = 1; n <= Count; ++n)
            Data->AppendRecord({Variant(), Variant(QStringLiteral("物品%1").arg(n)), Variant(n), Variant(n * 0.5)});
        Data->First();
        Source = std::make_unique<TDataSource>(nullptr);
        Source->SetDataSet(Data.get());
        Form = std::make_unique<TForm>(nullptr);
        PlaceGrid(*Form);
    }
    void TearDown() override
    {
        Form.reset();
        Source.reset();
        Data.reset();
        GridPaintFixtureBase::TearDown();
    }

    std::unique_ptr<TMemoryDataSet> Data;
    std::unique_ptr<TDataSource> Source;
    std::unique_ptr<TForm> Form;
};
