#include "app/sys.h"

TForm3* Form3 = nullptr;

TForm3::TForm3(TComponent* AOwner) : TForm(AOwner)
{
    BeginLoading();
    SetName(QStringLiteral("Form3"));
    SetCaption(QStringLiteral("设置"));
    SetBorderStyle(TFormBorderStyle::bsSingle);
    SetClientWidth(494);
    SetClientHeight(323);
    EndLoading();
}
