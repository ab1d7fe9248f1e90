#pragma once
// TColorBox: a drop-down list of named colours with their swatches. Items holds the names with
// the colour values as their objects; the optional custom entry comes first and asks the user
// for a colour when chosen. OnChange reports the user's choices only.
#include "platform/core/StringList.h"
#include "platform/ui/Controls.h"

#include <cstdint>
#include <memory>

class QComboBox;

using TColorBoxStyle = TSmallSet<struct TColorBoxStyleTag>;
constexpr TColorBoxStyle cbStandardColors{0x01};
constexpr TColorBoxStyle cbExtendedColors{0x02};
constexpr TColorBoxStyle cbSystemColors{0x04};
constexpr TColorBoxStyle cbIncludeNone{0x08};
constexpr TColorBoxStyle cbIncludeDefault{0x10};
constexpr TColorBoxStyle cbCustomColor{0x20};
constexpr TColorBoxStyle cbPrettyNames{0x40};

// A colour stored as a list item's object, as the platform stores it.
inline TObject* ColorToObject(TColor Color) { return reinterpret_cast<TObject*>(static_cast<std::intptr_t>(Color)); }
inline TColor ObjectToColor(const TObject* Object) { return static_cast<TColor>(reinterpret_cast<std::intptr_t>(Object)); }

class TColorBox : public TWinControl {
public:
    explicit TColorBox(TComponent* AOwner);
    ~TColorBox() override;

    // Setting the style fills Items with the colours it names.
    TColorBoxStyle Style() const { return FStyle; }
    void SetStyle(TColorBoxStyle Value);
    TStringList* Items() const { return FItems.get(); }
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    // The colour of the chosen entry. Setting one no entry has puts it in the custom entry.
    TColor Selected() const;
    void SetSelected(TColor Value);
    // The colour of entry Index.
    TColor Colors(int Index) const { return ObjectToColor(FItems->Objects(Index)); }

    // Asks the user for a colour, starting from Color; false when cancelled. Tests replace it;
    // empty, the system's colour dialog asks.
    static inline std::function<bool(TColor& Color)> CustomColorDialog;

    TNotifyEvent OnChange;

protected:
    virtual void Change();
    // The custom entry was chosen: asks for its colour; false when the user cancelled.
    virtual bool PickCustomColor();
    QWidget* CreateWindowHandle(const TCreateParams& Params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;
    const char* ClassName() const override { return "TColorBox"; }

private:
    QComboBox* Combo();
    void PopulateList();
    // Shows the items, their swatches and the chosen one in the combo.
    void ShowItems();
    void UserChose(int Index);

    std::unique_ptr<TStringList> FItems;
    TColorBoxStyle FStyle = cbStandardColors | cbExtendedColors | cbSystemColors;
    int FItemIndex = -1;
};
