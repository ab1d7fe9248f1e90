#pragma once
// TProgressBar on Qt's QProgressBar: a position between Min and Max, moved in steps.
#include "platform/ui/Controls.h"

enum class TProgressBarOrientation { pbHorizontal, pbVertical };

class TProgressBar : public TWinControl {
public:
    explicit TProgressBar(TComponent* AOwner);

    int Min() const { return FMin; }
    void SetMin(int Value);
    int Max() const { return FMax; }
    void SetMax(int Value);
    // Kept between Min and Max.
    int Position() const { return FPosition; }
    void SetPosition(int Value);
    int Step() const { return FStep; }
    void SetStep(int Value) { FStep = Value; }
    // Advances by Step; past Max the bar starts again from Min.
    void StepIt();
    // Advances by Delta, stopping at Min or Max.
    void StepBy(int Delta) { SetPosition(FPosition + Delta); }
    // A continuous bar rather than blocks; Qt's styles draw one look for both.
    bool Smooth() const { return FSmooth; }
    void SetSmooth(bool Value) { FSmooth = Value; }
    TProgressBarOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TProgressBarOrientation Value);

protected:
    QWidget* CreateWindowHandle(const TCreateParams& Params) override;
    const char* ClassName() const override { return "TProgressBar"; }

private:
    void ShowPosition();

    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    int FStep = 10;
    bool FSmooth = false;
    TProgressBarOrientation FOrientation = TProgressBarOrientation::pbHorizontal;
};
