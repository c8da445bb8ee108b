#include "framesetz48.h"

#include "dialogs.h"
#include "goodsbaseactions.h"
#include "goodsitemactions.h"
#include "rangecheck.h"
#include "stringgrid.h"
#include "tablerun.h"

#include <QLineEdit>

// The buttons of the tables frame. Writing the open tab to the register (Button3), reading it
// back (Button4), the goods base file (Button1 save, Button2 load), clearing the goods base in
// the register (Button5) each live in their own files.

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

// "Перейти к товару": makes column 1 of the item typed into Edit11 the goods grid's current
// cell, or tells what is wrong with the number and gives Edit11 the focus back.
void TFrameSetZ48::Button6Click()
{
    const TItemNumberCheck check = CheckItemNumberText(Edit11->text(), kGoodsItemCount);
    if (!check.ok) {
        ShowInformation(this, check.message);
        Edit11->setFocus();
        return;
    }
    // Column first, then row, each through the grid's own selection, so the frame's current
    // goods cell follows and the row scrolls into view.
    SGBase->SetCol(1);
    SGBase->SetRow(check.item);
    SGBase->setFocus();
}

void TFrameSetZ48::VerifyClick()
{
    TTableRun(*this, host_, TTableRunKind::Verify).Run();
}

void TFrameSetZ48::WriteChangedClick()
{
    TTableRun(*this, host_, TTableRunKind::WriteChanged).Run();
}
