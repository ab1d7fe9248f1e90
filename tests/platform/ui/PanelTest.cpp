// Panels and group boxes: their frames keep aligned children inside, and they paint their bevels.
#include "platform/ui/GroupBox.h"
#include "platform/ui/Panel.h"
#include "platform/ui/Forms.h"

#include <QApplication>
#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

QRgb Pixel(TColor Color)
{
    const TColor rgb = ColorToRGB(Color);
    return qRgb(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

class PanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form.SetBounds(0, 0, 300, 200);
        Form.Show();
    }

    TForm Form{nullptr};
};

TEST_F(PanelTest, ClientAlignedPanelFillsTheFormAndItsChildrenKeepInsideTheBevels)
{
    auto* panel = new TPanel(&Form);
    panel->SetAlign(TAlign::alClient);
    panel->SetBevelInner(TPanelBevel::bvLowered);
    panel->SetBorderWidth(3);
    panel->SetParent(&Form);
    EXPECT_EQ(panel->BoundsRect(), Form.ClientRect());
    auto* inner = new TPanel(&Form);
    inner->SetAlign(TAlign::alClient);
    inner->SetParent(panel);
    EXPECT_EQ(inner->BoundsRect(), Rect(5, 5, panel->Width() - 5, panel->Height() - 5));
    panel->SetBevelWidth(2);
    EXPECT_EQ(inner->Left(), 7);
}

TEST_F(PanelTest, RaisedBevelIsLightAtTheTopLeftAndDarkAtTheBottomRight)
{
    auto* panel = new TPanel(&Form);
    panel->SetBounds(10, 10, 100, 50);
    panel->SetParent(&Form);
    const QImage image = panel->Handle()->grab().toImage();
    EXPECT_EQ(image.pixel(0, 0), Pixel(clBtnHighlight));
    EXPECT_EQ(image.pixel(99, 49), Pixel(clBtnShadow));
    EXPECT_EQ(image.pixel(50, 5), Pixel(clBtnFace));
}

TEST_F(PanelTest, GroupBoxChildrenStartBelowTheCaption)
{
    auto* group = new TGroupBox(&Form);
    group->SetBounds(10, 10, 200, 120);
    group->SetCaption(QStringLiteral("参数设置"));
    group->SetParent(&Form);
    auto* inside = new TPanel(&Form);
    inside->SetAlign(TAlign::alClient);
    inside->SetParent(group);
    TCanvas measure;
    measure.Font()->Assign(group->Font());
    EXPECT_EQ(inside->Top(), measure.TextHeight(QStringLiteral("0")));
    EXPECT_EQ(inside->Left(), 2);
    EXPECT_EQ(inside->Width(), 196);
}

}  // namespace
