#include "framesetz48.h"

#include "goodsbaseactions.h"
#include "goodsitemactions.h"
#include "tablerun.h"

// The buttons of the tables frame. Writing the open tab to the register (Button3), reading it
// back (Button4), the goods base file (Button1 save, Button2 load), clearing the goods base in
// the register (Button5) and going to an item (Button6) each live in their own files.

void TFrameSetZ48::Button1Click()
{
    SaveGoodsBase(*this);
}

void TFrameSetZ48::Button2Click()
{
    LoadGoodsBase(*this);
}

void TFrameSetZ48::Button3Click()
{
    TTableRun(*this, host_, TTableRunKind::Write).Run();
}

void TFrameSetZ48::Button4Click()
{
    TTableRun(*this, host_, TTableRunKind::Read).Run();
}

void TFrameSetZ48::Button5Click()
{
    ClearGoodsBase(*this, host_);
}

void TFrameSetZ48::Button6Click()
{
    GoToGoodsItem(*this);
}

void TFrameSetZ48::VerifyClick()
{
    TTableRun(*this, host_, TTableRunKind::Verify).Run();
}

void TFrameSetZ48::WriteChangedClick()
{
    TTableRun(*this, host_, TTableRunKind::WriteChanged).Run();
}
