#pragma once
// TScrollBar: a scroll-bar control on Qt's QScrollBar. The user's actions arrive as OnScroll
// with the platform's scroll codes, which may adjust the new position, then OnChange when the
// position moved; positions set in code fire nothing.
#include "platform/ui/Controls.h"

enum class TScrollBarKind { sbHorizontal, sbVertical };
enum class TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };

using TScrollEvent = std::function<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;

class TScrollBar : public TWinControl {
public:
    explicit TScrollBar(TComponent* AOwner);

    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind Value);
    int Min() const { return FMin; }
    void SetMin(int Value) { SetParams(FPosition, Value, FMax); }
    int Max() const { return FMax; }
    void SetMax(int Value) { SetParams(FPosition, FMin, Value); }
    // With a page, the highest position is Max - PageSize + 1.
    int Position() const { return FPosition; }
    void SetPosition(int Value) { SetParams(Value, FMin, FMax); }
    int PageSize() const { return FPageSize; }
    void SetPageSize(int Value);
    int SmallChange() const { return FSmallChange; }
    void SetSmallChange(int Value);
    int LargeChange() const { return FLargeChange; }
    void SetLargeChange(int Value);
    // Raises EInvalidOperation when Max is below Min.
    void SetParams(int APosition, int AMin, int AMax);

    TNotifyEvent OnChange;
    TScrollEvent OnScroll;

protected:
    virtual void Change();
    virtual void Scroll(TScrollCode ScrollCode, int& ScrollPos);
    QWidget* CreateWindowHandle(const TCreateParams& Params) override;
    void CreateWnd() override;
    const char* ClassName() const override { return "TScrollBar"; }

private:
    int MaxPosition() const;
    void ShowParams();
    // One user action of the Qt bar, as the platform's scroll code and the position it asks for.
    void UserScroll(TScrollCode Code, int Pos);
    void ActionTriggered(int Action);

    TScrollBarKind FKind = TScrollBarKind::sbHorizontal;
    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    int FPageSize = 0;
    int FSmallChange = 1;
    int FLargeChange = 1;
};
