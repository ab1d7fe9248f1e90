#include "app/backup.h"

TForm4* Form4 = nullptr;

TForm4::TForm4(TComponent* AOwner) : TForm(AOwner)
{
    BeginLoading();
    SetName(QStringLiteral("Form4"));
    SetCaption(QStringLiteral("数据库备份/还原"));
    SetBorderStyle(TFormBorderStyle::bsSingle);
    SetClientWidth(416);
    SetClientHeight(203);
    EndLoading();
}
